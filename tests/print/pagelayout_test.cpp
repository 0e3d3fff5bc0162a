// The page-layout component: what callers rely on (pages, recording, measuring at 1440 dpi) and
// that the one paint routine puts shapes where the twips say, on an image and in a PDF.

#include "print/fonts.h"
#include "print/pagelayout.h"

#include <QColor>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include "qstringprint.h"

#include <gtest/gtest.h>
#include <cmath>
#include <limits>
#include <numbers>

namespace tovanel {
namespace {

constexpr double kPi = std::numbers::pi;

TEST(PageLayout, NewDocumentDiscardsEarlierPagesAndPagesCountFromOne)
{
    PageLayout pl;
    EXPECT_EQ(pl.pageCount(), 0);
    pl.startDoc();
    pl.text("old");
    pl.newPage();
    pl.newPage();
    EXPECT_EQ(pl.pageCount(), 3);
    pl.startDoc();
    ASSERT_EQ(pl.pageCount(), 1);
    EXPECT_TRUE(pl.page(1)->empty());
    EXPECT_EQ(pl.page(0), nullptr);
    EXPECT_EQ(pl.page(2), nullptr);
    pl.endDoc();
    pl.setPreviewPage(5);
    EXPECT_EQ(pl.previewPage(), 1);
}

TEST(PageLayout, RecordsTextAtCurrentPositionInCurrentFontAndShapesWithPen)
{
    PageLayout pl;
    pl.startDoc();
    pl.setFontName(kMinchoFont);
    pl.setFontSize(11);
    pl.setCurrentX(1417.5);
    pl.setCurrentY(850.5);
    pl.text("BC 12");
    pl.newPage();
    pl.setPenWidth(15);
    pl.line(1, 2, 3.5, 4.5);
    pl.setDrawStyle(1);
    pl.arc(10, 20, 30, 0.5, 1.5);
    ASSERT_EQ(pl.pageCount(), 2);
    const PageItem& t = pl.page(1)->at(0);
    EXPECT_EQ(t.kind, PageItemKind::Text);
    EXPECT_EQ(t.text, "BC 12");
    EXPECT_EQ(t.font, kMinchoFont);
    EXPECT_EQ(t.fontSize, 11);
    EXPECT_EQ(t.x, 1417.5);
    EXPECT_EQ(t.y, 850.5);
    const Page& p2 = *pl.page(2);
    ASSERT_EQ(p2.size(), 2u);
    EXPECT_EQ(p2[0].kind, PageItemKind::Line);
    EXPECT_EQ(p2[0].penWidth, 15);
    EXPECT_EQ(p2[0].x2, 3.5);
    EXPECT_EQ(p2[1].kind, PageItemKind::Arc);
    EXPECT_EQ(p2[1].drawStyle, 1);
    EXPECT_EQ(p2[1].end, 1.5);
}

TEST(PageLayout, MeasuresTextAtTwentyTwipsPerPointWithTheSheetFont)
{
    if (!SheetFontAvailable()) GTEST_SKIP() << "IPAMincho is not installed";
    PageLayout pl;
    pl.setFontName(kMinchoFont);
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
    for (const auto& c : cases) {
        pl.setFontSize(c.points);
        EXPECT_NEAR(pl.textWidth(QString::fromUtf16(c.text)), c.twips, 0.01)
            << QString::fromUtf16(c.text).toStdString() << " at " << c.points;
    }
}

TEST(PageLayout, PaperCodesAndLandscapeSize)
{
    const struct {
        int code;
        double w, h;  // landscape, twips
        int back;
    } cases[] = {
        {kPaperA4, 297, 210, kPaperA4},
        {kPaperA3, 420, 297, kPaperA3},
        {kPaperB4, 364, 257, kPaperB4},
        {kPaperB5, 257, 182, kPaperB5},
        {1, 297, 210, kPaperA4},  // unknown codes fall back to A4
    };
    for (const auto& c : cases) {
        PageLayout pl;
        pl.setPaperSize(c.code);
        pl.setOrientation(kLandscape);
        EXPECT_EQ(pl.paperSize(), c.back);
        EXPECT_NEAR(pl.pageSizeTwips().width(), c.w * 1440 / 25.4, 1) << c.code;
        EXPECT_NEAR(pl.pageSizeTwips().height(), c.h * 1440 / 25.4, 1) << c.code;
    }
    PageLayout pl;
    pl.setPageSize(QPageSize(QPageSize::Letter));
    EXPECT_EQ(pl.paperSize(), kPaperOther);
}

bool Dark(const QImage& img, double xTwips, double yTwips, double dpi)
{
    const int x = qRound(xTwips * dpi / 1440), y = qRound(yTwips * dpi / 1440);
    return QColor(img.pixel(x, y)).lightness() < 128;
}

TEST(PageLayout, ArcRunsCounterClockwiseFromStartToEndWhateverTurnsTheAnglesCarry)
{
    // Quarter arcs around (4000, 4000), radius 2000: each row names the quarter that must be inked
    // (its middle point) and the opposite one that must stay white.
    const struct {
        const char* name;
        double start, end;
        double inkX, inkY;
        double blankX, blankY;
    } cases[] = {
        {"90 to 180", kPi / 2, kPi, 4000 - 1414, 4000 - 1414, 4000 + 1414, 4000 + 1414},
        {"start a full turn up", 2.5 * kPi, 3 * kPi, 4000 - 1414, 4000 - 1414, 4000 + 1414,
         4000 + 1414},
        {"negative start", -kPi / 2, 0, 4000 + 1414, 4000 + 1414, 4000 - 1414, 4000 - 1414},
        {"end below start wraps", 1.5 * kPi, 0, 4000 + 1414, 4000 + 1414, 4000 - 1414,
         4000 - 1414},
    };
    const double dpi = 144;
    for (const auto& c : cases) {
        PageLayout pl;
        pl.setOrientation(kLandscape);
        pl.startDoc();
        pl.setPenWidth(40);
        pl.setDrawStyle(1);
        pl.arc(4000, 4000, 2000, c.start, c.end);
        const QImage img = pl.renderImage(1, dpi);
        EXPECT_TRUE(Dark(img, c.inkX, c.inkY, dpi)) << c.name;
        EXPECT_FALSE(Dark(img, c.blankX, c.blankY, dpi)) << c.name;
        EXPECT_FALSE(Dark(img, 4000, 4000, dpi)) << c.name << ": an arc is no pie";
    }
}

TEST(PageLayout, RendersShapesAndSkipsWhatCannotBePlaced)
{
    PageLayout pl;
    pl.setOrientation(kLandscape);
    pl.startDoc();
    pl.setFontName(kMinchoFont);
    pl.setFontSize(11);
    pl.setPenWidth(30);
    pl.line(1000, 1000, 5000, 1000);
    pl.circle(3000, 3000, 100);  // drawing style 0: a filled dot
    const double inf = std::numeric_limits<double>::infinity();
    pl.line(1e300, 0, 0, 0);
    pl.circle(std::nan(""), 10, 10);
    pl.arc(5000, 5000, inf, 0, 1);
    pl.setCurrentX(-1e30);
    pl.text("far away");
    const double dpi = 144;
    const QImage img = pl.renderImage(1, dpi);
    EXPECT_TRUE(Dark(img, 3000, 1000, dpi));
    EXPECT_TRUE(Dark(img, 3000, 3000, dpi));
    EXPECT_FALSE(Dark(img, 3000, 2000, dpi));
}

TEST(PageLayout, PdfHoldsRealTextInTheMinchoFont)
{
    if (!SheetFontAvailable()) GTEST_SKIP() << "IPAMincho is not installed";
    const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
    const QString pdffonts = QStandardPaths::findExecutable("pdffonts");
    if (pdftotext.isEmpty() || pdffonts.isEmpty()) GTEST_SKIP() << "poppler-utils not installed";
    QTemporaryDir dir;
    const QString path = dir.filePath("t.pdf");
    PageLayout pl;
    pl.setOrientation(kLandscape);
    pl.startDoc();
    pl.setFontName(kMinchoFont);
    pl.setFontSize(11);
    pl.setCurrentX(1440);
    pl.setCurrentY(1440);
    pl.text("街 区 点 曲 線 計 算 書");
    pl.newPage();
    pl.text("12C 3");
    ASSERT_EQ(pl.writePdf(path), "");

    QProcess p;
    p.start(pdftotext, {"-f", "2", "-l", "2", path, "-"});
    ASSERT_TRUE(p.waitForFinished());
    EXPECT_EQ(QString::fromUtf8(p.readAllStandardOutput()).trimmed(), "12C 3");
    p.start(pdftotext, {"-f", "1", "-l", "1", path, "-"});
    ASSERT_TRUE(p.waitForFinished());
    EXPECT_TRUE(QString::fromUtf8(p.readAllStandardOutput()).contains("街 区 点 曲 線 計 算 書"));
    p.start(pdffonts, {path});
    ASSERT_TRUE(p.waitForFinished());
    EXPECT_TRUE(QString::fromUtf8(p.readAllStandardOutput()).contains("IPAMincho"));

    EXPECT_NE(pl.writePdf(dir.filePath("no/such/dir/t.pdf")), "");
}

}  // namespace
}  // namespace tovanel
