#include "calc/calcstate.h"
#include "help/guide.h"
#include "help/version.h"
#include "surface/drawsurface.h"

#include <cmath>
#include <gtest/gtest.h>

namespace tovanel {
namespace {

constexpr double kTol = 1e-9;  // surface units

struct Guide : ::testing::Test {
    Guide()
    {
        InitConstants(s);
        GuideDraw(s, surface);
    }
    std::vector<SurfaceItem> of(SurfaceItem::Kind kind, int colour = -1) const
    {
        std::vector<SurfaceItem> out;
        for (const auto& it : surface.items())
            if (it.kind == kind && (colour < 0 || it.colour == colour))
                out.push_back(it);
        return out;
    }
    CalcState s;
    DrawSurface surface;
};

TEST_F(Guide, TextsOfFigureOneAndTheCaptions)
{
    const struct {
        const char* text;
        double x, y, size;
    } cases[] = {{"O", 245, 410, 18},          {"BP", 37.868, 296.984, 18},  {"IP", 245, 54.852, 18},
                 {"EP", 462.132, 296.984, 18}, {"[平行型]", 190, 450, 22},   {"[千鳥型]", 685, 450, 22},
                 {"[外接型]", 190, 930, 22},   {"[等曲率半径型]", 650, 930, 22}};
    const auto texts = of(SurfaceItem::Text);
    ASSERT_EQ(texts.size(), 4u * 4u + 4u);
    for (const auto& c : cases) {
        const auto it = std::find_if(texts.begin(), texts.end(),
                                     [&](const SurfaceItem& t) { return t.text == QString::fromUtf8(c.text); });
        ASSERT_NE(it, texts.end()) << c.text;
        EXPECT_NEAR(it->x, c.x, kTol) << c.text;
        EXPECT_NEAR(it->y, c.y, kTol) << c.text;
        EXPECT_EQ(it->textSize, c.size) << c.text;
        EXPECT_EQ(it->font, QStringLiteral("ＭＳ 明朝"));
    }
    EXPECT_EQ(texts[12].x, 745);  // "O" of the last figure
    EXPECT_EQ(texts[12].y, 890);
}

TEST_F(Guide, LinesStartRoundedAndEndExact)
{
    const auto frame = of(SurfaceItem::Line, 0);
    ASSERT_EQ(frame.size(), 16u);  // per figure: two radii, two tangents
    const SurfaceItem& bpIp = frame[2];
    EXPECT_EQ(bpIp.lineStyle, kLineDashDot);
    EXPECT_EQ(bpIp.x, 28);   // 27.868
    EXPECT_EQ(bpIp.y, 297);  // 296.984
    EXPECT_NEAR(bpIp.x2, 240, kTol);
    EXPECT_NEAR(bpIp.y2, 84.852, kTol);  // IP
    EXPECT_EQ(frame[3].x, 240);
    EXPECT_EQ(frame[3].y, 85);
    EXPECT_NEAR(frame[3].x2, 452.132, kTol);

    // Figure 2 (origin 740, 400), outer curve outside the curve: rows 1, 20, 21, 22, 3.
    const auto red = of(SurfaceItem::Line, 255);
    ASSERT_EQ(red.size(), 9u + 10u + 12u + 12u);
    EXPECT_EQ(red[15].x, 540);
    EXPECT_EQ(red[15].y, 200);
    EXPECT_NEAR(red[15].x2, 593.59, kTol);
    EXPECT_NEAR(red[15].y2, 146.349, kTol);
    EXPECT_EQ(red[16].x, 594);
    EXPECT_EQ(red[16].y, 146);
    for (const auto& it : red)
        EXPECT_TRUE(it.lineWidth == 3 && it.lineStyle == kLineSolid);
    const auto green = of(SurfaceItem::Line, 65280);
    EXPECT_EQ(green.size(), 4u * 5u);
    EXPECT_TRUE(std::all_of(green.begin(), green.end(), [](const auto& g) { return g.lineStyle == kLineDot; }));
}

TEST_F(Guide, ArcsMarkersAndTheOriginLeftBehind)
{
    const auto arcs = of(SurfaceItem::Arc);
    ASSERT_EQ(arcs.size(), 12u);
    const double radii[] = {223, 283, 163};
    for (size_t i = 0; i < arcs.size(); ++i) {
        EXPECT_EQ(arcs[i].radius, radii[i % 3]);
        EXPECT_NEAR(arcs[i].startAngle, M_PI / 4, 1e-12);
        EXPECT_NEAR(arcs[i].endAngle, 3 * M_PI / 4, 1e-12);
        EXPECT_EQ(arcs[i].fill, kFillTransparent);
    }
    EXPECT_EQ(arcs[9].x, 740);
    EXPECT_EQ(arcs[9].y, 880);
    const auto markers = of(SurfaceItem::Circle);
    ASSERT_EQ(markers.size(), 16u);
    EXPECT_EQ(markers[2].x, 240);  // IP, rounded
    EXPECT_EQ(markers[2].y, 85);
    EXPECT_EQ(markers[2].fill, kFillSolid);
    EXPECT_EQ(s.OrgX, 740.0f);
    EXPECT_EQ(s.OrgY, 880.0f);

    const auto first = surface.items();
    GuideDraw(s, surface);  // the same picture again
    ASSERT_EQ(surface.items().size(), first.size());
    for (size_t i = 0; i < first.size(); ++i)
        EXPECT_TRUE(surface.items()[i].x == first[i].x && surface.items()[i].y2 == first[i].y2) << i;
}

TEST(VersionText, TitleTwoBlanksVerAndOneDot)
{
    EXPECT_EQ(VersionText(QStringLiteral("T"), 1, 2, 3), QStringLiteral("T  Ver1.23"));
    EXPECT_EQ(VersionText(QStringLiteral("T"), 2, 10, 15), QStringLiteral("T  Ver2.1015"));
    EXPECT_TRUE(AppVersionText().startsWith(kAppTitle + QStringLiteral("  Ver")));
}

}  // namespace
}  // namespace tovanel
