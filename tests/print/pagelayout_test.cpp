// The page-layout component: pages as callers rely on them, text measured at 1440 dpi with the
// real font, and arcs painted counter-clockwise whatever turns their angles carry.

#include "print/fonts.h"
#include "print/pagelayout.h"

#include "qstringprint.h"

#include <QColor>
#include <QImage>
#include <gtest/gtest.h>
#include <numbers>

namespace tovanel {
namespace {

TEST(PageLayout, NewDocumentDiscardsEarlierPagesAndPagesCountFromOne)
{
    PageLayout pl;
    EXPECT_EQ(pl.pageCount(), 0);
    pl.startDoc();
    pl.text("old");
    pl.newPage();
    EXPECT_EQ(pl.pageCount(), 2);
    pl.startDoc();
    ASSERT_EQ(pl.pageCount(), 1);
    EXPECT_TRUE(pl.page(1)->empty());
    EXPECT_EQ(pl.page(0), nullptr);
    pl.setPreviewPage(5);
    EXPECT_EQ(pl.previewPage(), 1);
}

TEST(PageLayout, MeasuresTextAtTwentyTwipsPerPointWithTheSheetFont)
{
    if (!SheetFontAvailable()) GTEST_SKIP() << "IPAMincho is not installed";
    const struct {
        double points;
        const char16_t* text;
        double twips;
    } cases[] = {
        {11, u"0123456789 .-", 13 * 110},  // half-width: 10 twips per point
        {11, u"ＩＰ", 2 * 220},            // full-width: 20 twips per point
        {14, u"   12.3456", 10 * 140},
        {8, u"ﾟ'\"", 3 * 80},
    };
    PageLayout pl;
    pl.setFontName(kMinchoFont);
    for (const auto& c : cases) {
        pl.setFontSize(c.points);
        EXPECT_NEAR(pl.textWidth(QString::fromUtf16(c.text)), c.twips, 0.01) << c.points;
    }
}

TEST(PageLayout, ArcRunsCounterClockwiseFromStartToEnd)
{
    // Quarter arcs around (4000, 4000), radius 2000: the middle of the quarter that must be inked
    // and of the opposite one that must stay white (page y grows downwards).
    constexpr double pi = std::numbers::pi, c = 4000, d = 1414;
    const struct {
        const char* name;
        double start, end;
        double inkX, inkY;
    } cases[] = {
        {"90 to 180", pi / 2, pi, c - d, c - d},
        {"a full turn more", 2.5 * pi, 3 * pi, c - d, c - d},
        {"negative start", -pi / 2, 0, c + d, c + d},
        {"end below start", 1.5 * pi, 0, c + d, c + d},
    };
    const double dpi = 144;
    auto dark = [&](const QImage& img, double x, double y) {
        return QColor(img.pixel(qRound(x * dpi / 1440), qRound(y * dpi / 1440))).lightness() < 128;
    };
    for (const auto& t : cases) {
        PageLayout pl;
        pl.startDoc();
        pl.setPenWidth(40);
        pl.setDrawStyle(1);
        pl.arc(c, c, 2000, t.start, t.end);
        pl.line(1e300, 0, 0, 0);  // unpaintable: skipped
        const QImage img = pl.renderImage(1, dpi);
        EXPECT_TRUE(dark(img, t.inkX, t.inkY)) << t.name;
        EXPECT_FALSE(dark(img, 2 * c - t.inkX, 2 * c - t.inkY)) << t.name;
        EXPECT_FALSE(dark(img, c, c)) << t.name << ": an arc is no pie";
    }
    // The top of a circle far too large to paint whole still shows where it crosses the page.
    PageLayout pl;
    pl.startDoc();
    pl.setPenWidth(40);
    pl.arc(c, c + 1e9, 1e9, pi / 2 - 1e-5, pi / 2 + 1e-5);
    const QImage img = pl.renderImage(1, dpi);
    EXPECT_TRUE(dark(img, c, c));
    EXPECT_FALSE(dark(img, c, c + 400));
}

}  // namespace
}  // namespace tovanel
