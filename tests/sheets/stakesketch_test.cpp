// The stake sketch: scale, centring, frame, caption, tangents, arc and markers on the page.

#include "sheetfixture.h"
#include "sheets/stakesketch.h"

#include "../print/qstringprint.h"

#include <gtest/gtest.h>
#include <numbers>

namespace tovanel::test {
namespace {

std::vector<const PageItem*> Items(const Doc& d, PageItemKind kind)
{
    std::vector<const PageItem*> out;
    for (const PageItem& it : *d.pl.page(1))
        if (it.kind == kind) out.push_back(&it);
    return out;
}

// Millimetres right of and above the lower left corner of the drawing square (page mm 170, 130).
struct Mm {
    double right, up;
};
Mm FromCorner(double xTwips, double yTwips)
{
    return {xTwips / 56.7 - 170, 130 - yTwips / 56.7};
}

TEST(StakeSketch, WorkedSketchAtOneTo200)
{
    // IP (0, 0), BP due south, EP due east, R 10: TL 10, tangent points (-15, 0) and (0, 15).
    Doc d;
    Compose(d, {.bx = -100, .by = 0, .ix = 0, .iy = 0, .ex = 0, .ey = 100, .r = 10, .n = 4});
    ASSERT_EQ(d.refusal, "");
    constexpr double mm = 0.01;

    const auto lines = Items(d, PageItemKind::Line);
    ASSERT_EQ(lines.size(), 6u);
    for (int k = 0; k < 4; ++k) EXPECT_EQ(lines[k]->penWidth, 15) << "frame side " << k;
    // Frame: 10 mm outside the square on every side.
    const Mm frameLow = FromCorner(lines[0]->x, lines[0]->y);
    EXPECT_NEAR(frameLow.right, -10, mm);
    EXPECT_NEAR(frameLow.up, -10, mm);
    const Mm frameHigh = FromCorner(lines[1]->x2, lines[1]->y2);
    EXPECT_NEAR(frameHigh.right, 110, mm);
    EXPECT_NEAR(frameHigh.up, 110, mm);

    const struct {
        const char* name;
        double x, y;
        Mm expected;
    } points[] = {
        {"back tangent point", lines[4]->x, lines[4]->y, {12.5, 12.5}},
        {"IP", lines[4]->x2, lines[4]->y2, {12.5, 87.5}},
        {"forward tangent point", lines[5]->x, lines[5]->y, {87.5, 87.5}},
    };
    for (const auto& p : points) {
        EXPECT_EQ(lines[4]->penWidth, 4);
        const Mm at = FromCorner(p.x, p.y);
        EXPECT_NEAR(at.right, p.expected.right, mm) << p.name;
        EXPECT_NEAR(at.up, p.expected.up, mm) << p.name;
    }

    const auto arcs = Items(d, PageItemKind::Arc);
    ASSERT_EQ(arcs.size(), 1u);
    const Mm centre = FromCorner(arcs[0]->x, arcs[0]->y);
    EXPECT_NEAR(centre.right, 62.5, mm);
    EXPECT_NEAR(centre.up, 37.5, mm);
    EXPECT_NEAR(arcs[0]->radius / 56.7, 50, mm);
    EXPECT_NEAR(arcs[0]->start, std::numbers::pi / 2, 1e-4);  // EC
    EXPECT_NEAR(arcs[0]->end, std::numbers::pi, 1e-4);        // BC
    EXPECT_EQ(arcs[0]->drawStyle, 1);

    const auto dots = Items(d, PageItemKind::Circle);
    ASSERT_EQ(dots.size(), 4u);
    const Mm marks[] = {{12.5, 87.5}, {62.5 - 50 * 0.7071068, 37.5 + 50 * 0.7071068},
                        {12.5, 37.5}, {62.5, 87.5}};  // IP, SP, BC, EC
    for (int k = 0; k < 4; ++k) {
        const Mm at = FromCorner(dots[k]->x, dots[k]->y);
        EXPECT_NEAR(at.right, marks[k].right, 0.02) << k;
        EXPECT_NEAR(at.up, marks[k].up, 0.02) << k;
        EXPECT_EQ(dots[k]->radius, 28) << "0.5 mm in whole twips";
        EXPECT_EQ(dots[k]->drawStyle, 0);
    }
    // Caption 2 mm under the frame, centred under the square; labels 2 mm right, 1 mm up.
    const auto caption = Line(d, 1, 127);
    ASSERT_EQ(caption.size(), 1u);
    EXPECT_EQ(caption[0]->text, "役杭略図縮尺 S=1/ 200");
    EXPECT_EQ(caption[0]->fontSize, 10);
    const auto ecLabel = Line(d, 1, 130 - 87.5 - 15 - 1);
    ASSERT_FALSE(ecLabel.empty());
    EXPECT_EQ(ecLabel.back()->text, "EC");
    EXPECT_NEAR(ecLabel.back()->x / 56.7, 170 + 62.5 + 2, mm);
}

TEST(StakeSketch, LeftHandArcRunsFromBcToEc)
{
    // Mirror of the worked sketch: BP due south, EP due west.
    Doc d;
    Compose(d, {.bx = -100, .by = 0, .ix = 0, .iy = 0, .ex = 0, .ey = -100, .r = 10, .n = 4});
    ASSERT_EQ(d.refusal, "");
    const auto arcs = Items(d, PageItemKind::Arc);
    ASSERT_EQ(arcs.size(), 1u);
    // AzIn is a hair above 0, so the start is a hair below a full turn: BC, east of the centre.
    EXPECT_NEAR(arcs[0]->start, 2 * std::numbers::pi, 1e-4);
    EXPECT_NEAR(arcs[0]->end, std::numbers::pi / 2, 1e-4);  // EC, north
}

TEST(StakeSketch, ScaleIsAMultipleOfHundredThatFitsTheSquare)
{
    const struct {
        double range;  // metres, the larger of the two
        double scale;
    } cases[] = {{15, 200}, {120, 1200}, {120.5, 1200}, {121, 1300}, {5, 100}, {0.99, 0}, {0, 0}};
    for (const auto& c : cases) {
        CalcState s;
        InitConstants(s);
        s.OrgX = 25;
        s.OrgY = 15;
        s.PaperScale = 1;
        s.MmUnit = 56.7f;
        s.TanAX = -c.range;  // back tangent point due south of IP (0, 0)
        s.TanBY = c.range / 3;
        PageLayout pl;
        pl.startDoc();
        SheetContext ctx{s, pl, {}, {}};
        f_overl2(ctx);
        EXPECT_EQ(ctx.sketch.SketchScale, c.scale) << c.range;
        const Page& page = *pl.page(1);
        if (c.scale == 0) {
            EXPECT_TRUE(page.empty()) << c.range << ": no frame, caption, lines or labels";
            continue;
        }
        bool caption = false;
        for (const PageItem& it : page)
            caption |= it.text == "役杭略図縮尺 S=1/ " + QString::number(c.scale);
        EXPECT_TRUE(caption) << c.range;
        // The back tangent line spans the range at 1:S, centred in the square.
        const PageItem& tangent = page[5];  // after the frame and the caption
        const double length = (tangent.y - tangent.y2) / 56.7;
        EXPECT_NEAR(length, c.range * 1000 / c.scale, 0.02) << c.range;
        EXPECT_NEAR(tangent.y / 56.7, 130 - (100 - length) / 2, 0.02) << c.range;
    }
}

}  // namespace
}  // namespace tovanel::test
