// The stake sketch: scale, centring, frame, caption, tangents, arc and markers on the page.

#include "sheetfixture.h"
#include "sheets/stakesketch.h"

#include <gtest/gtest.h>
#include <numbers>

namespace tovanel::test {
namespace {

constexpr double kPi = std::numbers::pi;

std::vector<const PageItem*> Shapes(const Doc& d)
{
    std::vector<const PageItem*> out;
    for (const PageItem& it : *d.pl.page(1))
        if (it.kind != PageItemKind::Text) out.push_back(&it);
    return out;
}

// Millimetres right of and above the lower left corner of the drawing square (page 170, 130).
std::pair<double, double> FromCorner(double x, double y) { return {x / 56.7 - 170, 130 - y / 56.7}; }

TEST(StakeSketch, WorkedSketchAtOneTo200)
{
    // IP (0, 0), BP due south, EP due east, R 10: TL 10, tangent points (-15, 0) and (0, 15).
    Doc d;
    Compose(d, {.bx = -100, .ix = 0, .iy = 0, .ex = 0, .ey = 100, .r = 10});
    ASSERT_EQ(d.refusal, "");
    const auto shapes = Shapes(d);
    ASSERT_EQ(shapes.size(), 4 + 2 + 1 + 4u);  // frame, tangents, arc, markers
    const double r2 = 50 * std::numbers::sqrt2 / 2;
    const struct {
        const char* name;
        double x, y;
        double right, up;
    } points[] = {
        {"frame lower left", shapes[0]->x, shapes[0]->y, -10, -10},
        {"frame upper right", shapes[1]->x2, shapes[1]->y2, 110, 110},
        {"back tangent point", shapes[4]->x, shapes[4]->y, 12.5, 12.5},
        {"IP", shapes[4]->x2, shapes[4]->y2, 12.5, 87.5},
        {"forward tangent point", shapes[5]->x, shapes[5]->y, 87.5, 87.5},
        {"centre", shapes[6]->x, shapes[6]->y, 62.5, 37.5},
        {"IP marker", shapes[7]->x, shapes[7]->y, 12.5, 87.5},
        {"SP marker", shapes[8]->x, shapes[8]->y, 62.5 - r2, 37.5 + r2},
        {"BC marker", shapes[9]->x, shapes[9]->y, 12.5, 37.5},
        {"EC marker", shapes[10]->x, shapes[10]->y, 62.5, 87.5},
    };
    for (const auto& p : points) {
        const auto [right, up] = FromCorner(p.x, p.y);
        EXPECT_NEAR(right, p.right, 0.01) << p.name;
        EXPECT_NEAR(up, p.up, 0.01) << p.name;
    }
    EXPECT_EQ(shapes[0]->penWidth, 15);
    EXPECT_EQ(shapes[4]->penWidth, 4);
    const PageItem& arc = *shapes[6];
    EXPECT_NEAR(arc.radius / 56.7, 50, 0.01);
    EXPECT_NEAR(arc.start, kPi / 2, 1e-4);  // EC
    EXPECT_NEAR(arc.end, kPi, 1e-4);        // BC
    EXPECT_EQ(arc.drawStyle, 1);
    EXPECT_EQ(shapes[7]->radius, 28) << "0.5 mm in whole twips";
    EXPECT_EQ(shapes[7]->drawStyle, 0);

    EXPECT_EQ(Texts(Line(d, 1, 127)), QStringList{"役杭略図縮尺 S=1/ 200"});
    const auto ec = Line(d, 1, 130 - 87.5 - 15 - 1);  // labels 2 mm right of and 1 mm above
    ASSERT_FALSE(ec.empty());
    EXPECT_EQ(ec.back()->text, "EC");
    EXPECT_NEAR(ec.back()->x / 56.7, 170 + 62.5 + 2, 0.01);

    Doc left;  // the mirror image: a left-hand curve runs from BC (east of the centre) to EC
    Compose(left, {.bx = -100, .ix = 0, .iy = 0, .ex = 0, .ey = -100, .r = 10});
    EXPECT_NEAR(Shapes(left)[6]->start, 2 * kPi, 1e-4);
    EXPECT_NEAR(Shapes(left)[6]->end, kPi / 2, 1e-4);
}

TEST(StakeSketch, ScaleIsAMultipleOfHundredThatFitsTheSquare)
{
    const struct {
        double range;  // metres, the larger of the two
        double scale;
    } cases[] = {{15, 200}, {120, 1200}, {120.5, 1200}, {121, 1300}, {5, 100}, {0.99, 0}, {0, 0}};
    for (const auto& c : cases) {
        Doc d;
        d.s.OrgX = 25;
        d.s.OrgY = 15;
        d.s.TanAX = -c.range;  // back tangent point due south of IP (0, 0)
        d.s.TanBY = c.range / 3;
        d.pl.startDoc();
        SheetContext ctx{d.s, d.pl, {}, {}};
        f_overl2(ctx);
        EXPECT_EQ(ctx.sketch.SketchScale, c.scale) << c.range;
        if (c.scale == 0) {
            EXPECT_TRUE(d.pl.page(1)->empty()) << c.range << ": no frame, caption or lines";
            continue;
        }
        EXPECT_EQ(Texts(Line(d, 1, 127)), QStringList{"役杭略図縮尺 S=1/ " + QString::number(c.scale)});
        // The back tangent spans the range at 1:S, centred in the square.
        const PageItem& tangent = d.pl.page(1)->at(5);
        const double length = (tangent.y - tangent.y2) / 56.7;
        EXPECT_NEAR(length, c.range * 1000 / c.scale, 0.02) << c.range;
        EXPECT_NEAR(tangent.y / 56.7, 130 - (100 - length) / 2, 0.02) << c.range;
    }
}

}  // namespace
}  // namespace tovanel::test
