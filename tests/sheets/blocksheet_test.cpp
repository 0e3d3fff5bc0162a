// The block-point sheet for the four calculation types, both turn directions and the page
// breaks, read from the recorded pages and the export list.

#include "sheetfixture.h"
#include "sheets/blocksheet.h"

#include <gtest/gtest.h>
#include <numbers>

namespace tovanel::test {
namespace {

const QString kKinds[] = {"中心点", "内周点", "外周点"};

// The rows of one kind, page after page, each as its texts left to right.
std::vector<QStringList> KindRows(const Doc& d, int kind)
{
    std::vector<QStringList> rows;
    for (int p = 2; p <= d.pl.pageCount(); ++p) {
        if (!Texts(Line(d, p, 0)).last().contains(kKinds[kind])) continue;
        for (double y = 14; y <= 170; y += 7)
            if (QStringList t = Texts(Line(d, p, y)); !t.isEmpty()) rows.push_back(t);
    }
    return rows;
}

double FromCentre(const Doc& d, int k)
{
    return Dist(d.s.ExpCoords[k][1] - d.s.CenX, d.s.ExpCoords[k][2] - d.s.CenY);
}

TEST(BlockSheet, EveryKindRunsFromBcToEcAndClosesOnTheForwardTangent)
{
    const Corner right{.bx = 0, .by = 0, .ix = 80, .iy = 30, .ex = 50, .ey = 120, .r = 40, .wi = 4, .wo = 5};
    Corner left = right;
    std::swap(left.bx, left.ex);
    std::swap(left.by, left.ey);
    for (const Corner& turn : {right, left})
        for (int type = 0; type <= 3; ++type)
            for (double n : {1.0, 2.0, 4.0, 7.0}) {
                Corner c = turn;
                c.type = type;
                c.n = n;
                Doc d;
                Compose(d, c);
                ASSERT_EQ(d.refusal, "");
                const bool r = d.s.TurnSign > 0;
                const std::string where = (r ? "right" : "left") + std::string(" type ") +
                                          std::to_string(type) + " N " + std::to_string(int(n));
                const QString labels[] = {"12C", r ? "12I" : "12O", r ? "12O" : "12I"};
                const double rho[] = {40, 36, 45};
                int entry = 5;  // after the four of the elements sheet
                for (int k = 0; k < 3; ++k) {
                    const bool polygon = type == 2 || (type != 0 && k == 2);
                    const bool halves = type == 3 && k != 2;
                    const int rows = int(n) + (polygon || halves ? 3 : 2);
                    const auto printed = KindRows(d, k);
                    ASSERT_EQ(int(printed.size()), rows) << where << " kind " << k;
                    EXPECT_EQ(printed.front().first(), labels[k] + "BC") << where;
                    EXPECT_EQ(printed[rows - 2].first(), labels[k] + "EC") << where;
                    ASSERT_EQ(printed.back().size(), 2) << where << ": angles only";
                    EXPECT_EQ(printed.back()[1], AngleText(d.s, d.s.AzOut)) << where << " kind " << k;

                    const int last = entry + rows - (polygon || halves ? 1 : 2);
                    EXPECT_EQ(d.s.ExpNames[entry], labels[k] + "BC") << where;
                    EXPECT_EQ(d.s.ExpNames[last], labels[k] + "EC") << where;
                    const double corner = rho[k] / std::cos(d.s.IaHalfDiv * d.s.DegToRad);
                    for (int e = entry; e <= last; ++e) {
                        const bool onCurve = !polygon || e == entry || d.s.ExpNames[e].endsWith("EC");
                        EXPECT_NEAR(FromCentre(d, e), onCurve ? rho[k] : corner, 1e-9) << where << " " << e;
                    }
                    const double azEc = Azimuth(d.s.EcX - d.s.CenX, d.s.EcY - d.s.CenY);
                    const auto& ec = d.s.ExpCoords[last];
                    EXPECT_NEAR(Azimuth(ec[1] - d.s.CenX, ec[2] - d.s.CenY), azEc, 1e-6) << where;
                    entry = last + 1;
                }
                EXPECT_EQ(entry, d.s.ExpCount + 1) << where;
            }
}

TEST(BlockSheet, DeflectionsChordsAndArcsOfEachScheme)
{
    // Right-hand corner with R 100 and widths 3, N 4 (IA 90): each row names a printed cell.
    struct Cell {
        const char* name;
        int type, kind, row, column;
        QString (*expected)(CalcState& s);
    };
    constexpr double d2r = std::numbers::pi / 180;
    const Cell cells[] = {
        {"parallel: first deflection IA/8", 0, 0, 1, 1, [](CalcState& s) { return AngleText(s, s.IA / 8); }},
        {"parallel: then IA/4", 0, 1, 3, 1, [](CalcState& s) { return AngleText(s, s.IA / 4); }},
        {"parallel: closing IA/8", 0, 2, 5, 0, [](CalcState& s) { return AngleText(s, s.IA / 8); }},
        {"parallel: outer chord 2ρ sin(IA/8)", 0, 2, 2, 3,
         [](CalcState& s) { return FixedText(RoundDig(2 * 103 * std::sin(s.IA / 8 * d2r), 5, 1), 4); }},
        {"parallel: outer arc ρ IA/4", 0, 2, 4, 4,
         [](CalcState& s) { return FixedText(RoundDig(103 * s.IA * d2r / 4, 5, 1), 4); }},
        {"parallel: name 12C 3 in both columns", 0, 0, 3, 7, [](CalcState&) { return QString("12C 3"); }},
        {"parallel: row 0 direction is AzIn", 0, 0, 0, 1, [](CalcState& s) { return AngleText(s, s.AzIn); }},
        {"polygon: straight on row 1", 2, 0, 1, 1, [](CalcState&) { return QString(" 180ﾟ 0' 0.00\""); }},
        {"polygon: straight closing", 2, 0, 6, 0, [](CalcState&) { return QString(" 180ﾟ 0' 0.00\""); }},
        {"polygon: half side first", 2, 2, 1, 3,
         [](CalcState& s) { return FixedText(RoundDig(103 * std::tan(s.IA / 8 * d2r), 5, 1), 4); }},
        {"polygon: full side", 2, 2, 2, 3,
         [](CalcState& s) { return FixedText(RoundDig(2 * 103 * std::tan(s.IA / 8 * d2r), 5, 1), 4); }},
        {"polygon: half arc last", 2, 2, 5, 4,
         [](CalcState& s) { return FixedText(RoundDig(103 * s.IA * d2r / 8, 5, 1), 4); }},
        {"halves: half chord first", 3, 1, 1, 3,
         [](CalcState& s) { return FixedText(RoundDig(2 * 97 * std::sin(s.IA / 16 * d2r), 5, 1), 4); }},
        {"halves: half chord at EC", 3, 1, 5, 3,
         [](CalcState& s) { return FixedText(RoundDig(2 * 97 * std::sin(s.IA / 16 * d2r), 5, 1), 4); }},
        {"halves: IA/4N first", 3, 0, 1, 1, [](CalcState& s) { return AngleText(s, s.IA / 16); }},
        {"halves: 3 IA/4N on row 2", 3, 0, 2, 1, [](CalcState& s) { return AngleText(s, 3 * s.IA / 16); }},
        {"halves: 3 IA/4N at EC", 3, 0, 5, 1, [](CalcState& s) { return AngleText(s, 3 * s.IA / 16); }},
    };
    for (const Cell& c : cells) {
        Doc d;
        Compose(d, {.type = c.type, .n = 4});
        ASSERT_EQ(d.refusal, "");
        const auto rows = KindRows(d, c.kind);
        ASSERT_LT(c.column, rows.at(c.row).size()) << c.name;
        EXPECT_EQ(rows[c.row][c.column], c.expected(d.s)) << c.name;
    }

    Doc left;  // left-hand: deflections print negative
    Compose(left, {.bx = 0, .by = 200, .ex = 0, .ey = 0});
    EXPECT_EQ(KindRows(left, 0)[1][1], AngleText(left.s, -left.s.IA / 8));
    EXPECT_TRUE(KindRows(left, 0)[1][1].contains('-'));
}

TEST(BlockSheet, PageBreaksBeyond170AndTheHeadingOnlyPage)
{
    for (const auto& [lineY, breaks] : {std::pair{0.0, true}, {170.0, false}, {170.1, true}}) {
        Doc d;
        d.pl.startDoc();
        SheetContext ctx{d.s, d.pl, {}, {}};
        d.s.LineY = lineY;
        Kai_PG(ctx);
        EXPECT_EQ(d.pl.pageCount(), breaks ? 2 : 1) << lineY;
        EXPECT_EQ(d.s.LineY, breaks ? 14 : lineY) << lineY;
    }
    // 30 divisions: 32 rows, 23 on a page and 9 on the next under the same heading.
    Doc d;
    Compose(d, {.n = 30});
    ASSERT_EQ(d.pl.pageCount(), 1 + 3 * 2);
    EXPECT_EQ(Texts(Line(d, 2, 0)), Texts(Line(d, 3, 0)));
    EXPECT_EQ(KindRows(d, 0).size(), 32u);
    // 21 divisions: 23 rows fill the page, the break after the last leaves a page with only the
    // heading, and the next kind still starts on a page of its own.
    Doc full;
    Compose(full, {.n = 21});
    ASSERT_EQ(full.pl.pageCount(), 7);
    for (int p : {3, 5, 7}) EXPECT_EQ(full.pl.page(p)->size(), 3 + 8u) << p;
    EXPECT_EQ(Texts(Line(full, 2, 0)),
              QStringList({"[ 型 平行方式 ]", "街 区 点 曲 線 計 算 書", "( IP 12  中心点 )"}));
    EXPECT_EQ(Texts(Line(full, 2, 7)),
              QStringList({"曲線名", "偏　角", "方向角", "弦　長", "弧　長", "Ｘ", "Ｙ", "測点名"}));
}

}  // namespace
}  // namespace tovanel::test
