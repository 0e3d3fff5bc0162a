// SPDX-License-Identifier: GPL-3.0-or-later
// The sheets as recorded: elements and stake sketch, block-point sheets, refusals, corners at the
// bounds; the stake points computed without a page as the composed ones.

#include "sheetfixture.h"
#include "calc/numeric.h"
#include "sheets/sheetcontext.h"
#include "sheets/stakepoints.h"
#include "sheets/stakesketch.h"

#include <QImage>
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
    // On A3 every advance scales by the paper's factor, and the rows stay on the paper.
    for (double lineY : {154.0, 161.0, 168.0}) EXPECT_EQ(Texts(a3, 1, lineY), Texts(n4, 1, lineY)) << lineY;

    // "-12345678.1234" would lose its minus in the 13-column field: refused before any sheet.
    const Doc wide(Corner{.bx = -12345778.1234, .ix = -12345678.1234, .ex = -12345778.1234});
    EXPECT_TRUE(wide.refusal.startsWith(QStringLiteral("BPの座標が大きすぎて扱えません"))) << wide.refusal.toStdString();
    EXPECT_EQ(wide.pl.pageCount(), 0);
}

TEST(StakeSketch, WorkedSketchAtOneTo200)
{
    // IP (0, 0), BP due south, EP due east, R 10: TL 10, tangent points (-15, 0) and (0, 15).
    const Doc d(Corner{.bx = -100, .ix = 0, .iy = 0, .ex = 0, .ey = 100, .r = 10});
    std::vector<const PageItem*> s;  // the lines, circles and arcs of page 1 in the order drawn
    for (const PageItem& it : *d.pl.page(1))
        if (it.kind != PageItemKind::Text) s.push_back(&it);
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
        d.w.OrgX = 25;
        d.w.OrgY = 15;
        d.k.el.TanAX = -range;
        d.k.el.TanBY = range / 3;
        d.pl.startDoc();
        SheetContext ctx{d.k.in, d.k.el, d.st, d.w, d.exports, {}, {}};
        f_overl2(ctx);
        EXPECT_EQ(ctx.sketch.SketchScale, scale) << range;
        EXPECT_EQ(d.pl.page(1)->empty(), scale == 0) << range << ": S = 0 draws nothing";
        EXPECT_EQ(Texts(d, 1, 127), scale != 0 ? QStringList{"役杭略図縮尺 S=1/ " + QString::number(scale)} : QStringList());
    }
}

// The rows of one kind (0 centre, 1 inner, 2 outer), page after page, each as its texts.
std::vector<QStringList> KindRows(const Doc& d, int kind)
{
    std::vector<QStringList> rows;
    for (int p = 2; p <= d.pl.pageCount(); ++p)
        if (Texts(d, p, 0).last().contains(QStringList{"中心点", "内周点", "外周点"}[kind]))
            for (double y = 14; y <= 170; y += 7)
                if (QStringList t = Texts(d, p, y); !t.isEmpty()) rows.push_back(t);
    return rows;
}

QString Length(double metres) { return FixedText(RoundDig(metres, 4, 1), 4); }

// The stake points computed without a page are the composed document's, to the last bit: the
// same computation, not a similar one.
void ExpectStakesAsComposed(const Doc& d)
{
    const ExportList list = StakeList(d.k, d.st);
    ASSERT_EQ(list.count(), d.exports.count());
    for (size_t i = 0; i < list.all().size(); ++i) {
        const ExportPoint &a = list.all()[i], &b = d.exports.all()[i];
        EXPECT_EQ(a.name, b.name) << i;
        EXPECT_EQ(a.x, b.x) << i;
        EXPECT_EQ(a.y, b.y) << i;
    }
    const std::vector<ExportPoint> handed = StakePoints(d.k, d.st), files = ExportPoints(d.exports);
    ASSERT_EQ(handed.size(), files.size());
    for (size_t i = 0; i < handed.size(); ++i) EXPECT_EQ(handed[i].name, files[i].name) << i;
}

TEST(BlockSheet, EveryKindOfEachSchemeForBothTurns)
{
    for (const bool right : {true, false})
        for (int type = 0; type <= 3; ++type)
            for (double n : {1.0, 2.0, 7.0}) {
                Corner c{.ix = 80, .iy = 30, .ex = 50, .ey = 120, .r = 40, .wi = 4, .wo = 5, .type = type, .n = n};
                if (!right) std::swap(c.bx, c.ex), std::swap(c.by, c.ey);
                Doc d(c);
                const CornerElements& s = d.k.el;
                SCOPED_TRACE(::testing::Message() << (right ? "right" : "left") << " type " << type << " N " << n);
                ExpectStakesAsComposed(d);
                // The inner side is the centre's side: a left-hand curve swaps the prefixes I and O.
                const QString labels[] = {"12C", right ? "12I" : "12O", right ? "12O" : "12I"};
                const double rho[] = {40, 36, 45}, half = s.IA / (2 * n) * std::numbers::pi / 180;
                int entry = 5;  // after the four of the elements sheet
                for (int k = 0; k < 3; ++k) {
                    const bool polygon = type == 2 || (type != 0 && k == 2), halves = type == 3 && k != 2;
                    const int extra = polygon || halves, rows = int(n) + 2 + extra, last = entry + int(n) + 2 * extra;
                    const auto printed = KindRows(d, k);
                    ASSERT_EQ(int(printed.size()), rows) << "kind " << k;
                    EXPECT_EQ(printed.front().first() + printed[rows - 2].first(), labels[k] + "BC" + labels[k] + "EC");
                    EXPECT_EQ(printed.back(), QStringList({printed.back()[0], AngleText(s.AzOut)})) << "closes";
                    // Deflection, chord and arc of a division; polygon sides; the halves' last half chord.
                    const std::tuple<bool, int, int, QString> cells[] = {
                        {type == 0, 1, 1, AngleText(s.TurnSign * s.IA / (2 * n))},
                        {type == 0 && n > 1, 2, 3, Length(2 * rho[k] * std::sin(half))},
                        {type == 0 && n > 1, 2, 4, Length(rho[k] * 2 * half)},
                        {polygon, 1, 1, " 180ﾟ 0' 0.00\""},
                        {polygon && n > 1, 2, 3, Length(2 * rho[k] * std::tan(half))},
                        {halves, rows - 2, 3, Length(2 * rho[k] * std::sin(half / 2))},
                    };
                    for (const auto& [applies, row, column, text] : cells)
                        EXPECT_EQ(applies ? printed[row].value(column) : text, text) << "row " << row << " column " << column;
                    EXPECT_EQ(d.entry(entry).name + d.entry(last).name, labels[k] + "BC" + labels[k] + "EC");
                    // Exported points on the arc of radius ρ; polygon corners at ρ / cos(IA/2N).
                    for (int e = entry; e <= last; ++e) {
                        const bool onCurve = !polygon || e == entry || d.entry(e).name.endsWith("EC");
                        const double dx = d.entry(e).x - s.CenX, dy = d.entry(e).y - s.CenY;
                        EXPECT_NEAR(Dist(dx, dy), onCurve ? rho[k] : rho[k] / std::cos(half), 1e-9) << e;
                    }
                    const double dx = d.entry(last).x - s.CenX, dy = d.entry(last).y - s.CenY;
                    EXPECT_NEAR(Azimuth(dx, dy), Azimuth(s.EcX - s.CenX, s.EcY - s.CenY), 1e-6) << "EC";
                    entry = last + 1;
                }
            }
}

TEST(BlockSheet, TwentyThreeRowsAPageWithTheHeadingOnEveryPage)
{
    // 23 rows a page; a page filled exactly is followed by the next kind's, never a heading alone.
    const struct { int type; double n; unsigned rows; int pagesPerKind; } cases[] = {
        {0, 30, 32, 2}, {0, 21, 23, 1}, {2, 20, 23, 1}, {3, 44, 47, 3}};
    for (const auto& c : cases) {
        Doc d(Corner{.type = c.type, .n = c.n});
        SCOPED_TRACE(::testing::Message() << "type " << c.type << " N " << c.n);
        ASSERT_EQ(d.pl.pageCount(), 1 + 3 * c.pagesPerKind) << "each kind starts a page of its own";
        EXPECT_EQ(KindRows(d, 0).size(), c.rows);
        for (int p = 2; p <= d.pl.pageCount(); ++p) {
            EXPECT_EQ(Texts(d, p, 7), Texts(d, 2, 7)) << "the column headings on page " << p;
            EXPECT_FALSE(Texts(d, p, 14).isEmpty()) << "a row under the heading of page " << p;
        }
    }
}

// The centre chord and arc print the same digits on both sheets, on either side of a half.
TEST(BlockSheet, ChordAndArcPrintAsOnTheElementsSheet)
{
    std::vector<Corner> corners = {{.r = 78.084, .n = 34}, {.r = 41.348, .n = 18}};
    for (int k = 0; k < 60; ++k) corners.push_back({.ex = k - 50.0, .r = 20 + 1.37 * k, .n = 5.0 + k % 23});
    for (const Corner& c : corners) {
        const Doc d(c);
        ASSERT_TRUE(d.refusal.isEmpty());
        const QStringList elements = Texts(d, 1, 161), block = KindRows(d, 0)[2];
        EXPECT_EQ(block.value(3), elements.value(7)) << "chord, R " << c.r << " N " << c.n;
        EXPECT_EQ(block.value(4), elements.value(6)) << "arc, R " << c.r << " N " << c.n;
    }
    EXPECT_EQ(KindRows(Doc(corners[0]), 0)[2].value(3), "3.6072");
    EXPECT_EQ(KindRows(Doc(corners[1]), 0)[2].value(3), "3.6071");
}

// A refused composition leaves nothing of the previous corner for the close button to export.
TEST(Composition, RefusalEmptiesTheExportList)
{
    Doc d(Corner{.n = 4});
    ASSERT_TRUE(d.refusal.isEmpty());
    ASSERT_GT(d.exports.count(), 0);
    for (const auto& [name, count, type] : {std::tuple{"fraction", 2.5, 0}, std::tuple{"no type", 4.0, -1}}) {
        d.k.el.DivCount = count;
        d.k.in.CalcType = static_cast<int16_t>(type);
        EXPECT_FALSE(d.compose().isEmpty()) << name;
        EXPECT_EQ(d.exports.count(), 0) << name;
    }
    // Lengths too large to write once rounded: refused, no pages.
    d.k.in.CalcType = 0;
    d.k.el.DivCount = 4;
    d.k.in.Radius = 1e306;
    EXPECT_EQ(d.compose(), TooLargeToPrint());
    EXPECT_EQ(d.pl.pageCount() + d.exports.count(), 0);
}

// Corners at the bounds compose and render every type (those beyond are the trial's refusals),
// their stake points those of the composition.
TEST(Composition, CornersAtTheBoundsComposeAndRender)
{
    const double upper = 100 * std::tan(1.1 * M_PI / 180), lower = 100 * std::tan(M_PI / 5400);  // IA 178.9°, 2′
    const struct { const char* name; Corner c; } cases[] = {
        {"largest count", {.n = kMaxDivCount}},
        {"IA near its upper bound", {.ix = 100, .iy = 0, .ex = 0, .ey = upper, .r = 1, .wi = 0.5, .wo = 0.5, .n = 3}},
        {"IA near its lower bound", {.ix = 100, .iy = 0, .ex = 200, .ey = lower, .r = 1000, .n = 1}},
        {"coordinates near their bound", {.bx = -9999900, .by = 9999000, .ix = -9999800, .iy = 9999100, .ex = -9999900, .ey = 9999200}},
        {"radius at its bound", {.r = 1e4, .wi = 999, .wo = 1000, .n = 8}},
        {"inner width just short of the radius", {.r = 2, .wi = 1.999, .wo = 5, .n = 1}},
    };
    for (const auto& [name, corner] : cases)
        for (int type = 0; type <= 3; ++type) {
            Corner c = corner;
            c.type = type;
            Doc d(c);
            ASSERT_TRUE(d.refusal.isEmpty()) << name << ", type " << type << d.refusal.toStdString();
            ASSERT_TRUE(d.pl.pageCount() >= 4) << name << ", type " << type << d.refusal.toStdString();
            SCOPED_TRACE(::testing::Message() << name << ", type " << type);
            ExpectStakesAsComposed(d);
            for (int p : {1, 2}) EXPECT_FALSE(d.pl.renderImage(p, 20).isNull()) << name;
            for (const Page& page : d.pl.pages())
                for (const PageItem& it : page)
                    EXPECT_FALSE(it.text.contains("inf") || it.text.contains("nan")) << name << ": " << it.text.toStdString();
        }
}

}  // namespace
}  // namespace tovanel::test
