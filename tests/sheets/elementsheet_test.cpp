// SPDX-License-Identifier: GPL-3.0-or-later
// Page 1 as recorded: the curve elements sheet (worked lines, export entries, paper scaling) and
// its stake sketch (scale, centring, frame, caption, tangents, arc and markers).

#include "sheetfixture.h"
#include "sheets/sheetcontext.h"
#include "sheets/stakesketch.h"

#include <gtest/gtest.h>
#include <numbers>

namespace tovanel::test {
namespace {

TEST(ElementSheet, LinesOfTheWorkedCorners)
{
    // R 10, widths 3, IA 90 (within 6e-9 degrees), N 4; the same on A3; and R 100, N 8.
    const Doc n4(Corner{.r = 10, .n = 4}), a3(Corner{.r = 10, .n = 4, .paper = kPaperA3}), n8(Corner{.n = 8});
    const struct { const Doc& d; double lineY; QStringList texts; } lines[] = {
        {n8, 27, {"Ｘ       100.0000", "ＡＺ１    45ﾟ 0' 0.00\""}},
        {n8, 41, {"ＩＡ    90ﾟ 0' 0.00\"", "半径　Ｒ     100.000"}},
        {n8, 62, {"　　ＴＬ  100.0000", "Ｘ       -41.4214"}},
        {n8, 90, {"　　Ｍ．   29.2893", "円弧分割数　Ｎ  8"}},
        {n4, 154, {"BC 12", "92.9289", "92.9289", "内 周", "3.000", "7.000", "2.7489", "2.7313", "0.1345", "0.0176"}},
        {n4, 161, {"SP 12", "95.8579", "99.9999", "中 心", "0.000", "10.000", "3.9270", "3.9018", "0.1921", "0.0252"}},
        {n4, 168, {"EC 12", "92.9289", "107.0711", "外 周", "3.000", "13.000", "5.1051", "5.1717", "0.2547", "-0.0666"}},
    };
    for (const auto& l : lines) EXPECT_EQ(Texts(l.d, 1, l.lineY), l.texts) << l.lineY;
    // On A3 every advance scales by 1.41, and the rows stay on the paper.
    EXPECT_EQ(a3.s.MmUnit, float(1.41 * 56.7));
    for (double lineY : {154.0, 161.0, 168.0}) EXPECT_EQ(Texts(a3, 1, lineY), Texts(n4, 1, lineY)) << lineY;
    EXPECT_EQ(QStringList(n4.s.ExpNames.begin() + 1, n4.s.ExpNames.begin() + 5),
              QStringList({"BC 12", "SP 12", "EC 12", "M 12"})) << "exported in this order";

    // "-12345678.1234" has 14 characters: the 13-column field drops the minus sign.
    const Doc wide(Corner{.bx = -12345778.1234, .ix = -12345678.1234, .ex = -12345778.1234});
    EXPECT_EQ(Texts(wide, 1, 27)[0], "Ｘ  12345678.1234");
}

// The lines, circles and arcs of page 1 in the order drawn.
std::vector<const PageItem*> Shapes(const Doc& d)
{
    std::vector<const PageItem*> out;
    for (const PageItem& it : *d.pl.page(1))
        if (it.kind != PageItemKind::Text) out.push_back(&it);
    return out;
}

TEST(StakeSketch, WorkedSketchAtOneTo200)
{
    // IP (0, 0), BP due south, EP due east, R 10: TL 10, tangent points (-15, 0) and (0, 15).
    const Doc d(Corner{.bx = -100, .ix = 0, .iy = 0, .ex = 0, .ey = 100, .r = 10});
    const auto s = Shapes(d);
    ASSERT_EQ(s.size(), 4 + 2 + 1 + 4u);  // frame, tangents, arc, markers
    // Millimetres right of and above the lower left corner of the drawing square (page 170, 130).
    const struct { const char* name; double x, y, right, up; } points[] = {
        {"frame lower left", s[0]->x, s[0]->y, -10, -10}, {"back tangent point", s[4]->x, s[4]->y, 12.5, 12.5},
        {"IP", s[4]->x2, s[4]->y2, 12.5, 87.5},           {"forward tangent point", s[5]->x, s[5]->y, 87.5, 87.5},
        {"centre", s[6]->x, s[6]->y, 62.5, 37.5},         {"SP marker", s[8]->x, s[8]->y, 62.5 - 35.3553, 37.5 + 35.3553},
        {"BC marker", s[9]->x, s[9]->y, 12.5, 37.5},      {"EC marker", s[10]->x, s[10]->y, 62.5, 87.5},
    };
    for (const auto& p : points) {
        EXPECT_NEAR(p.x / 56.7 - 170, p.right, 0.01) << p.name;
        EXPECT_NEAR(130 - p.y / 56.7, p.up, 0.01) << p.name;
    }
    EXPECT_NEAR(s[6]->radius / 56.7, 50, 0.01);
    EXPECT_NEAR(s[6]->start, std::numbers::pi / 2, 1e-4) << "from EC counter-clockwise";
    EXPECT_NEAR(s[6]->end, std::numbers::pi, 1e-4) << "to BC";
}

TEST(StakeSketch, ScaleIsAMultipleOfHundredThatFitsTheSquare)
{
    for (const auto& [range, scale] : {std::pair{15.0, 200.0}, {120.0, 1200.0}, {120.5, 1200.0}, {121.0, 1300.0},
                                       {5.0, 100.0}, {0.99, 0.0}}) {
        Doc d;  // back tangent point due south of IP (0, 0), the range in metres
        d.s.OrgX = 25;
        d.s.OrgY = 15;
        d.s.TanAX = -range;
        d.s.TanBY = range / 3;
        d.pl.startDoc();
        SheetContext ctx{d.s, d.pl, {}, {}};
        f_overl2(ctx);
        EXPECT_EQ(ctx.sketch.SketchScale, scale) << range;
        EXPECT_EQ(d.pl.page(1)->empty(), scale == 0) << range << ": S = 0 draws nothing";
        EXPECT_EQ(Texts(d, 1, 127), scale ? QStringList{"役杭略図縮尺 S=1/ " + QString::number(scale)} : QStringList());
    }
}

}  // namespace
}  // namespace tovanel::test
