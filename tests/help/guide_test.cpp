// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/guide.h"
#include "help/version.h"
#include "surface/drawsurface.h"

#include <cmath>
#include <gtest/gtest.h>

namespace tovanel {
namespace {

constexpr double kTol = 1e-9;  // in surface units

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
    EXPECT_EQ(bp.text, QStringLiteral("BP"));
    EXPECT_NEAR(bp.x, 37.868, kTol);
    EXPECT_NEAR(bp.y, 296.984, kTol);
    EXPECT_EQ(bp.textSize, 18);
    EXPECT_EQ(bp.font, QStringLiteral("ＭＳ 明朝"));
    const auto frame = of(SurfaceItem::Line, 0);
    ASSERT_EQ(frame.size(), 16u);  // per figure: two radii, two tangents
    // From BP (27.868, 296.984), rounded, to IP.
    EXPECT_EQ(frame[2].lineStyle, kLineDashDot);
    EXPECT_EQ(frame[2].x, 28);
    EXPECT_EQ(frame[2].y, 297);
    EXPECT_NEAR(frame[2].x2, 240, kTol);
    EXPECT_NEAR(frame[2].y2, 84.852, kTol);
    const auto red = of(SurfaceItem::Line, 255);  // the division paths
    // 9, 10, 12 and 12 by figure; figure 2's outer path leaves (540, 200) for x 593.59, the next starts there, rounded.
    ASSERT_EQ(red.size(), 43u);
    EXPECT_EQ(red[15].x, 540);
    EXPECT_EQ(red[15].y, 200);
    EXPECT_NEAR(red[15].x2, 593.59, kTol);
    EXPECT_EQ(red[16].x, 594);
    const auto markers = of(SurfaceItem::Circle);
    ASSERT_EQ(markers.size(), 16u);
    EXPECT_EQ(markers[2].x, 240);  // IP, rounded
    EXPECT_EQ(markers[2].y, 85);
    EXPECT_EQ(markers[2].fill, kFillSolid);
}

TEST(VersionText, TitleTwoBlanksVerAndOneDot)
{
    EXPECT_EQ(VersionText(QStringLiteral("T"), 2, 10, 15), QStringLiteral("T  Ver2.1015"));
}

}  // namespace
}  // namespace tovanel
