// SPDX-License-Identifier: GPL-3.0-or-later
// The page-layout component paints arcs counter-clockwise whatever turns their angles carry.

#include "print/pagelayout.h"

#include <QColor>
#include <QImage>
#include <gtest/gtest.h>
#include <numbers>

namespace tovanel {
namespace {

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
        pl.setDrawStyle(1);
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
