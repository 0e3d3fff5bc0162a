// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/calcstate.h"
#include "help/guide.h"
#include "help/version.h"
#include "surface/drawsurface.h"

#include <cmath>
#include <gtest/gtest.h>

namespace tovanel {
namespace {

bool Near(double a, double b) { return std::abs(a - b) < 1e-9; }  // in surface units

struct Guide : ::testing::Test {
    Guide() { InitConstants(s), GuideDraw(s, surface); }
    std::vector<SurfaceItem> of(SurfaceItem::Kind kind, int colour = -1) const
    {
        std::vector<SurfaceItem> out;
        std::copy_if(surface.items().begin(), surface.items().end(), std::back_inserter(out),
                     [&](const SurfaceItem& it) { return it.kind == kind && (colour < 0 || it.colour == colour); });
        return out;
    }
    CalcState s;
    DrawSurface surface;
};

TEST_F(Guide, TextsOfFigureOneAndTheCaptions)
{
    const struct { const char* text; double x, y, size; } cases[] = {
        {"O", 245, 410, 18},          {"BP", 37.868, 296.984, 18}, {"IP", 245, 54.852, 18},     {"EP", 462.132, 296.984, 18},
        {"[平行型]", 190, 450, 22},   {"[千鳥型]", 685, 450, 22},  {"[外接型]", 190, 930, 22}, {"[等曲率半径型]", 650, 930, 22}};
    const auto texts = of(SurfaceItem::Text);
    ASSERT_EQ(texts.size(), 4u * 4u + 4u);
    for (const auto& c : cases) {
        const auto it = std::find_if(texts.begin(), texts.end(), [&](const auto& t) { return t.text == QString::fromUtf8(c.text); });
        EXPECT_TRUE(it != texts.end() && Near(it->x, c.x) && Near(it->y, c.y) && it->textSize == c.size &&
                    it->font == QStringLiteral("ＭＳ 明朝")) << c.text;
    }
}

TEST_F(Guide, LinesArcsAndMarkersStartRoundedAndEndExact)
{
    const auto frame = of(SurfaceItem::Line, 0);
    ASSERT_EQ(frame.size(), 16u);  // per figure: two radii, two tangents
    EXPECT_TRUE(frame[2].lineStyle == kLineDashDot && frame[2].x == 28 && frame[2].y == 297);  // BP (27.868, 296.984)
    EXPECT_TRUE(Near(frame[2].x2, 240) && Near(frame[2].y2, 84.852));  // to IP
    const auto red = of(SurfaceItem::Line, 255);  // the division paths
    // 9, 10, 12 and 12 by figure; figure 2's outer path leaves (540, 200) for x 593.59, the next starts there, rounded.
    EXPECT_TRUE(red.size() == 43u && red[15].x == 540 && red[15].y == 200 && Near(red[15].x2, 593.59) && red[16].x == 594);
    EXPECT_TRUE(std::all_of(red.begin(), red.end(), [](const auto& r) { return r.lineWidth == 3 && r.lineStyle == kLineSolid; }));
    const auto green = of(SurfaceItem::Line, 65280);
    EXPECT_TRUE(green.size() == 4u * 5u && std::all_of(green.begin(), green.end(), [](const auto& g) { return g.lineStyle == kLineDot; }));
    const auto arcs = of(SurfaceItem::Arc);
    ASSERT_EQ(arcs.size(), 12u);
    for (size_t i = 0; i < arcs.size(); ++i)
        EXPECT_TRUE(arcs[i].radius == (std::array{223, 283, 163}[i % 3]) && std::abs(arcs[i].startAngle - M_PI / 4) < 1e-12 &&
                    std::abs(arcs[i].endAngle - 3 * M_PI / 4) < 1e-12 && arcs[i].fill == kFillTransparent) << i;
    const auto markers = of(SurfaceItem::Circle);
    EXPECT_TRUE(markers.size() == 16u && markers[2].x == 240 && markers[2].y == 85 && markers[2].fill == kFillSolid);  // IP, rounded
}

TEST(VersionText, TitleTwoBlanksVerAndOneDot)
{
    EXPECT_EQ(VersionText(QStringLiteral("T"), 2, 10, 15), QStringLiteral("T  Ver2.1015"));
}

}  // namespace
}  // namespace tovanel
