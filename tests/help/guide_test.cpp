#include "calc/calcstate.h"
#include "help/guide.h"
#include "help/version.h"
#include "surface/drawsurface.h"

#include <cmath>
#include <gtest/gtest.h>

namespace tovanel {
namespace {

constexpr double kTol = 1e-9;  // surface units

struct GuideFixture : ::testing::Test {
    GuideFixture()
    {
        InitConstants(s);
        GuideDraw(s, surface);
    }
    const SurfaceItem* text(const QString& t, size_t nth = 0) const
    {
        for (const auto& it : surface.items())
            if (it.kind == SurfaceItem::Text && it.text == t && nth-- == 0)
                return &it;
        return nullptr;
    }
    std::vector<SurfaceItem> lines(int colour) const
    {
        std::vector<SurfaceItem> out;
        for (const auto& it : surface.items())
            if (it.kind == SurfaceItem::Line && it.colour == colour)
                out.push_back(it);
        return out;
    }
    CalcState s;
    DrawSurface surface;
};

TEST_F(GuideFixture, FigureOneLabelsSitBesideTheirPoints)
{
    const struct {
        const char* label;
        double x, y;
    } cases[] = {{"IP", 245, 54.852}, {"O", 245, 410}, {"BP", 37.868, 296.984}, {"EP", 462.132, 296.984}};
    for (const auto& c : cases) {
        const SurfaceItem* it = text(QString::fromUtf8(c.label));
        ASSERT_NE(it, nullptr) << c.label;
        EXPECT_NEAR(it->x, c.x, kTol) << c.label;
        EXPECT_NEAR(it->y, c.y, kTol) << c.label;
        EXPECT_EQ(it->textSize, 18) << c.label;
        EXPECT_EQ(it->font, QStringLiteral("ＭＳ 明朝"));
        EXPECT_EQ(it->colour, 0);
    }
}

TEST_F(GuideFixture, TangentLinesStartRoundedAndEndExact)
{
    // The second dash-dot black line of figure 1 is BP→IP, the third IP→EP.
    std::vector<SurfaceItem> frame;
    for (const auto& it : lines(0))
        if (it.lineStyle == kLineDashDot)
            frame.push_back(it);
    ASSERT_EQ(frame.size(), 16u);  // 4 per figure: two radii, two tangents
    const SurfaceItem& bpIp = frame[2];
    EXPECT_EQ(bpIp.x, 28);   // 27.868
    EXPECT_EQ(bpIp.y, 297);  // 296.984
    EXPECT_NEAR(bpIp.x2, 240, kTol);
    EXPECT_NEAR(bpIp.y2, 84.852, kTol);
    const SurfaceItem& ipEp = frame[3];
    EXPECT_EQ(ipEp.x, 240);
    EXPECT_EQ(ipEp.y, 85);
    EXPECT_NEAR(ipEp.x2, 452.132, kTol);
    EXPECT_NEAR(ipEp.y2, 296.984, kTol);
    EXPECT_EQ(bpIp.lineWidth, 0);
}

TEST_F(GuideFixture, EachFigureHasItsDivisionPathsRaysArcsAndMarkers)
{
    // Red segments: chords 3, polylines outside the curve 4, equal-curvature paths 4.
    const auto red = lines(255);
    EXPECT_EQ(red.size(), 9u + 10u + 12u + 12u);
    for (const auto& it : red) {
        EXPECT_EQ(it.lineWidth, 3);
        EXPECT_EQ(it.lineStyle, kLineSolid);
    }
    const auto green = lines(65280);
    EXPECT_EQ(green.size(), 4u * 5u);
    for (const auto& it : green)
        EXPECT_EQ(it.lineStyle, kLineDot);

    int arcs = 0, markers = 0;
    const double radii[] = {223, 283, 163};
    for (const auto& it : surface.items()) {
        if (it.kind == SurfaceItem::Arc) {
            EXPECT_EQ(it.radius, radii[arcs % 3]);
            EXPECT_NEAR(it.startAngle, M_PI / 4, 1e-12);
            EXPECT_NEAR(it.endAngle, 3 * M_PI / 4, 1e-12);
            EXPECT_EQ(it.fill, kFillTransparent);
            ++arcs;
        } else if (it.kind == SurfaceItem::Circle) {
            EXPECT_EQ(it.radius, 5);
            EXPECT_EQ(it.fill, kFillSolid);
            EXPECT_EQ(it.x, std::nearbyint(it.x));
            ++markers;
        }
    }
    EXPECT_EQ(arcs, 12);
    EXPECT_EQ(markers, 16);
    // The arcs of the last figure are centred on its origin.
    EXPECT_EQ(surface.items().back().kind, SurfaceItem::Text);
}

TEST_F(GuideFixture, RedPathOfTheStaggeredOuterCurveRunsOutsideIt)
{
    // Figure 2 (origin 740, 400): PathOutTan 1, 20, 21, 22, 3 after 3 + 3 chords.
    const auto red = lines(255);
    const SurfaceItem& first = red[9 + 6];
    EXPECT_EQ(first.x, 540);  // row 1 (200, −200)
    EXPECT_EQ(first.y, 200);
    EXPECT_NEAR(first.x2, 740 - 146.41, kTol);  // row 20
    EXPECT_NEAR(first.y2, 400 - 253.651, kTol);
    EXPECT_EQ(red[9 + 6 + 1].x, 594);  // 593.59 rounded
    EXPECT_EQ(red[9 + 6 + 1].y, 146);  // 146.349 rounded
}

TEST_F(GuideFixture, CaptionsAndOriginAfterDrawing)
{
    const struct {
        const char* caption;
        double x, y;
    } cases[] = {{"[平行型]", 190, 450}, {"[千鳥型]", 685, 450}, {"[外接型]", 190, 930}, {"[等曲率半径型]", 650, 930}};
    for (const auto& c : cases) {
        const SurfaceItem* it = text(QString::fromUtf8(c.caption));
        ASSERT_NE(it, nullptr) << c.caption;
        EXPECT_EQ(it->x, c.x);
        EXPECT_EQ(it->y, c.y);
        EXPECT_EQ(it->textSize, 22);
    }
    EXPECT_EQ(s.OrgX, 740.0f);
    EXPECT_EQ(s.OrgY, 880.0f);
    const SurfaceItem* o4 = text(QStringLiteral("O"), 3);
    ASSERT_NE(o4, nullptr);
    EXPECT_EQ(o4->x, 745);
    EXPECT_EQ(o4->y, 890);
}

TEST_F(GuideFixture, DrawingAgainGivesTheSamePicture)
{
    const auto first = surface.items();
    GuideDraw(s, surface);
    ASSERT_EQ(surface.items().size(), first.size());
    for (size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(surface.items()[i].x, first[i].x) << i;
        EXPECT_EQ(surface.items()[i].y2, first[i].y2) << i;
        EXPECT_EQ(surface.items()[i].text, first[i].text) << i;
    }
}

TEST(VersionText, TitleTwoBlanksVerAndOneDot)
{
    const struct {
        int major, minor, revision;
        const char* expected;
    } cases[] = {{1, 2, 3, "T  Ver1.23"}, {1, 0, 0, "T  Ver1.00"}, {2, 10, 15, "T  Ver2.1015"}};
    for (const auto& c : cases)
        EXPECT_EQ(VersionText(QStringLiteral("T"), c.major, c.minor, c.revision), QString::fromUtf8(c.expected));
    EXPECT_TRUE(AppVersionText().startsWith(kAppTitle + QStringLiteral("  Ver")));
}

}  // namespace
}  // namespace tovanel
