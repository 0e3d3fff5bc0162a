// SPDX-License-Identifier: GPL-3.0-or-later
// The page writer: paper scale and font sizes cut to whole points, the alignments and origins;
// and the page-layout component, which paints arcs counter-clockwise whatever turns their angles carry.

#include "print/fonts.h"
#include "print/pagelayout.h"
#include "print/pagewriter.h"

#include "qstringprint.h"

#include <QColor>
#include <QImage>
#include <gtest/gtest.h>
#include <numbers>

namespace tovanel {
namespace {

TEST(PageSetup, ScaleNameUnitAndFontSizesFromThePaper)
{
    const struct { int code; double scale; const char* name; double fon, points; } cases[] = {
        {kPaperA3, 1.41, "A3", 10, 14}, {kPaperA4, 1, "A4", 10, 10},
        {kPaperB4, 1.19, "B4", 11, 13}, {kPaperB5, 0.8666, "B5", 10, 8},
    };
    for (const auto& c : cases) {
        PageLayout pl;
        PageWriter s(pl);
        pl.setPaperSize(c.code);
        PageSetup(s);
        EXPECT_EQ(s.PaperName, c.name);
        EXPECT_EQ(s.MmUnit, static_cast<float>(c.scale * 56.7)) << c.code;
        pl.startDoc();
        vspri(s, "x", 0, 0, c.fon);
        EXPECT_EQ(pl.page(1)->back().fontSize, c.points) << c.code;
    }
}

TEST(Vspri, LeftCentredAndRightInTheirBoxes)
{
    if (!SheetFontAvailable()) GTEST_SKIP() << "IPAMincho is not installed";
    PageLayout pl;
    PageWriter s(pl);
    PageSetup(s);
    s.OrgX = 25;
    s.OrgY = 15;
    pl.startDoc();
    const double u = s.MmUnit;
    // "  12.3456": 9 half-width characters, 990 twips at 11 points.
    const struct { TextAlign mode; float width; double x, left; } cases[] = {
        {TextAlign::Start, 25, 10, (10 + 25) * u},
        {TextAlign::End, 25, 20, (20 + 25 + 25 - 1) * u - 990},        // ends 1 mm before the box's edge
        {TextAlign::Centre, 140, 0, (0 + 25) * u + (u * 140 - 990) / 2},  // centred in the box
    };
    for (const auto& c : cases) {
        s.AlignMode = c.mode;
        s.AlignWidth = c.width;
        vspri(s, "  12.3456", c.x, 27, 11);
        EXPECT_NEAR(pl.page(1)->back().x, c.left, 0.01) << "mode " << static_cast<int>(c.mode);
        EXPECT_NEAR(pl.page(1)->back().y, (27 + 15) * u, 1e-3) << "Y is the top, after the origin";
    }
}

TEST(PageLayout, ArcRunsCounterClockwiseFromStartToEnd)
{
    // Quarter arcs around (4000, 4000), radius 2000: the middle of the quarter that must be inked
    // and of the opposite one that must stay white (page y grows downwards).
    constexpr double pi = std::numbers::pi, c = 4000, d = 1414;
    const struct { const char* name; double start, end, inkX, inkY; } cases[] = {
        {"90 to 180", pi / 2, pi, c - d, c - d},
        {"a full turn more", 2.5 * pi, 3 * pi, c - d, c - d},
        {"negative start", -pi / 2, 0, c + d, c + d},
        {"end below start", 1.5 * pi, 0, c + d, c + d},
    };
    auto dark = [](const QImage& img, double x, double y) {
        return QColor(img.pixel(qRound(x / 10), qRound(y / 10))).lightness() < 128;  // 144 dpi
    };
    for (const auto& t : cases) {
        PageLayout pl;
        pl.startDoc();
        pl.setPenWidth(40);
        pl.setDrawStyle(DrawStyle::Outline);
        pl.arc(c, c, 2000, t.start, t.end);
        pl.line(1e300, 0, 0, 0);  // unpaintable: skipped
        const QImage img = pl.renderImage(1, 144);
        EXPECT_TRUE(dark(img, t.inkX, t.inkY)) << t.name;
        EXPECT_FALSE(dark(img, 2 * c - t.inkX, 2 * c - t.inkY)) << t.name;
        EXPECT_FALSE(dark(img, c, c)) << t.name << ": an arc is no pie";
    }
}

}  // namespace
}  // namespace tovanel
