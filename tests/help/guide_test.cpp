// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/guide.h"
#include "help/version.h"
#include "surface/drawsurface.h"

#include <cmath>
#include <gtest/gtest.h>

namespace tovanel {
namespace {

bool Near(double a, double b) { return std::abs(a - b) < 1e-9; }  // in surface units

// The four figures as the surface records them: labelled points, lines that start on the rounded
// current point and end exact, and the red division paths of each scheme.
TEST(Guide, FiguresLabelTheirPointsAndStartLinesRoundedEndingExact)
{
    DrawSurface surface;
    GuideDraw(surface);
    auto of = [&](SurfaceItem::Kind kind, int colour = -1) {
        std::vector<SurfaceItem> out;
        std::ranges::copy_if(surface.items(), std::back_inserter(out),
                             [&](const SurfaceItem& it) { return it.kind == kind && (colour < 0 || it.colour == colour); });
        return out;
    };
    const auto texts = of(SurfaceItem::Text);
    ASSERT_EQ(texts.size(), 4u * 4u + 4u);  // O, BP, IP and EP of each figure, and the captions
    // Figure one's BP label beside its point, in the size and font set before the surface was cleared.
    const SurfaceItem& bp = texts.at(1);
    EXPECT_TRUE(bp.text == QStringLiteral("BP") && Near(bp.x, 37.868) && Near(bp.y, 296.984) && bp.textSize == 18 && bp.font == QStringLiteral("ＭＳ 明朝"));
    const auto frame = of(SurfaceItem::Line, 0);
    ASSERT_EQ(frame.size(), 16u);  // per figure: two radii, two tangents
    EXPECT_TRUE(frame[2].lineStyle == kLineDashDot && frame[2].x == 28 && frame[2].y == 297);  // BP (27.868, 296.984)
    EXPECT_TRUE(Near(frame[2].x2, 240) && Near(frame[2].y2, 84.852));  // to IP
    const auto red = of(SurfaceItem::Line, 255);  // the division paths
    // 9, 10, 12 and 12 by figure; figure 2's outer path leaves (540, 200) for x 593.59, the next starts there, rounded.
    EXPECT_TRUE(red.size() == 43u && red[15].x == 540 && red[15].y == 200 && Near(red[15].x2, 593.59) && red[16].x == 594);
    const auto markers = of(SurfaceItem::Circle);
    EXPECT_TRUE(markers.size() == 16u && markers[2].x == 240 && markers[2].y == 85 && markers[2].fill == kFillSolid);  // IP, rounded
}

TEST(VersionText, TitleTwoBlanksVerAndOneDot)
{
    EXPECT_EQ(VersionText(QStringLiteral("T"), 2, 10, 15), QStringLiteral("T  Ver2.1015"));
}

}  // namespace
}  // namespace tovanel
