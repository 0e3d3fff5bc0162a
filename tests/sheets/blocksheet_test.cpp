// The block-point sheet for the four calculation types, both turn directions and the page breaks,
// read from the recorded pages and the export list.

#include "sheetfixture.h"
#include "sheets/blocksheet.h"

#include "../print/qstringprint.h"

#include <gtest/gtest.h>
#include <map>

namespace tovanel::test {
namespace {

const QString kCentre = QStringLiteral("中心点"), kInner = QStringLiteral("内周点"),
              kOuter = QStringLiteral("外周点");

// The rows of one kind, page after page, each as its texts left to right.
std::vector<QStringList> KindRows(const Doc& d, const QString& kind)
{
    std::vector<QStringList> rows;
    const double pitch = 7 * d.s.PaperScale;
    for (int p = 2; p <= d.pl.pageCount(); ++p) {
        const QStringList head = Texts(Line(d, p, 0));
        if (head.isEmpty() || !head.last().contains(kind)) continue;
        for (double y = 2 * pitch; y <= 170 + 1e-9; y += pitch) {
            const QStringList t = Texts(Line(d, p, y));
            if (!t.isEmpty()) rows.push_back(t);
        }
    }
    return rows;
}

// Export entries of one kind: the block points follow the four of the elements sheet, centre,
// inner, outer, each counted by its rows.
struct Entry {
    QString name;
    double x, y;
};
std::vector<Entry> Exported(const Doc& d, int first, int count)
{
    std::vector<Entry> out;
    for (int k = first; k < first + count; ++k)
        out.push_back({d.s.ExpNames[k], d.s.ExpCoords[k][1], d.s.ExpCoords[k][2]});
    return out;
}

double FromCentre(const Doc& d, const Entry& e) { return Dist(e.x - d.s.CenX, e.y - d.s.CenY); }

struct Turn {
    const char* name;
    Corner corner;
};
const Turn kTurns[] = {
    {"right", {.bx = 0, .by = 0, .ix = 80, .iy = 30, .ex = 50, .ey = 120, .r = 40, .wi = 4, .wo = 5}},
    {"left", {.bx = 50, .by = 120, .ix = 80, .iy = 30, .ex = 0, .ey = 0, .r = 40, .wi = 4, .wo = 5}},
};

TEST(BlockSheet, EveryKindRunsFromBcToEcAndClosesOnTheForwardTangent)
{
    for (const Turn& turn : kTurns) {
        for (int type = 0; type <= 3; ++type) {
            for (double n : {1.0, 2.0, 4.0, 7.0}) {
                Corner c = turn.corner;
                c.type = type;
                c.n = n;
                Doc d;
                Compose(d, c);
                ASSERT_EQ(d.refusal, "");
                const std::string where = std::string(turn.name) + " type " +
                                          std::to_string(type) + " N " + std::to_string(int(n));
                const double sgn = d.s.TurnSign;
                const QString forward = AngleText(d.s, d.s.AzOut);
                const QString prefixes[3] = {"C", sgn > 0 ? "I" : "O", sgn > 0 ? "O" : "I"};
                const double rho[3] = {40, 36, 45};
                int next = 5;
                int k = 0;
                for (const QString& kind : {kCentre, kInner, kOuter}) {
                    const bool polygon = type == 2 || (type != 0 && kind == kOuter);
                    const bool halves = type == 3 && kind != kOuter;
                    const int rows = int(n) + (polygon || halves ? 3 : 2);
                    const auto printed = KindRows(d, kind);
                    ASSERT_EQ(int(printed.size()), rows) << where << " " << kind.toStdString();
                    const QString label = "12" + prefixes[k];
                    EXPECT_EQ(printed.front().first(), label + "BC") << where;
                    EXPECT_EQ(printed[rows - 2].first(), label + "EC") << where;
                    ASSERT_EQ(printed.back().size(), 2) << where << ": angles only";
                    EXPECT_EQ(printed.back()[1], forward) << where << " " << kind.toStdString();

                    const int exported = rows - (polygon || halves ? 0 : 1);
                    const auto pts = Exported(d, next, exported);
                    next += exported;
                    EXPECT_EQ(pts.front().name, label + "BC") << where;
                    EXPECT_EQ(pts.back().name, label + "EC") << where;
                    EXPECT_NEAR(FromCentre(d, pts.front()), rho[k], 1e-9) << where;
                    EXPECT_NEAR(FromCentre(d, pts.back()), rho[k], 1e-9) << where;
                    // Kind by kind EC lies where EC of the centre curve points from the centre.
                    const double azEc = Azimuth(d.s.EcX - d.s.CenX, d.s.EcY - d.s.CenY);
                    const double azPt = Azimuth(pts.back().x - d.s.CenX, pts.back().y - d.s.CenY);
                    EXPECT_NEAR(azPt, azEc, 1e-6) << where;
                    for (size_t i = 1; i + 1 < pts.size(); ++i) {
                        if (pts[i].name == label + "EC") continue;
                        const double want =
                            polygon ? rho[k] / std::cos(d.s.IaHalfDiv * d.s.DegToRad) : rho[k];
                        EXPECT_NEAR(FromCentre(d, pts[i]), want, 1e-9) << where << " row " << i;
                    }
                    ++k;
                }
                EXPECT_EQ(next, d.s.ExpCount + 1) << where;
            }
        }
    }
}

TEST(BlockSheet, ParallelChordsWithFourDivisions)
{
    Doc d;
    Compose(d, {.type = 0, .n = 4});
    ASSERT_EQ(d.refusal, "");
    const double ia = d.s.IA;
    const QString eighth = AngleText(d.s, ia / 8), quarter = AngleText(d.s, ia / 4);
    const struct {
        const QString& kind;
        double rho;
        QString prefix;
    } kinds[] = {{kCentre, 100, "C"}, {kInner, 97, "I"}, {kOuter, 103, "O"}};
    for (const auto& k : kinds) {
        const auto rows = KindRows(d, k.kind);
        ASSERT_EQ(rows.size(), 6u);
        ASSERT_EQ(rows[0].size(), 5) << "row 0: names, direction and coordinates";
        EXPECT_EQ(rows[0][0], "12" + k.prefix + "BC");
        EXPECT_EQ(rows[0][1], AngleText(d.s, d.s.AzIn));
        const QString chord = FixedText(RoundDig(2 * k.rho * std::sin(ia / 8 * d.s.DegToRad), 5, 1), 4);
        const QString arc = FixedText(RoundDig(k.rho * ia * d.s.DegToRad / 4, 5, 1), 4);
        const QString deflections[] = {eighth, quarter, quarter, quarter};
        for (int i = 1; i <= 4; ++i) {
            ASSERT_EQ(rows[i].size(), 8) << i;
            EXPECT_EQ(rows[i][1], deflections[i - 1]) << i;
            EXPECT_EQ(rows[i][3], chord) << i;
            EXPECT_EQ(rows[i][4], arc) << i;
            EXPECT_EQ(rows[i][0], rows[i][7]) << "both name columns";
        }
        EXPECT_EQ(rows[3][0], "12" + k.prefix + " 3");
        EXPECT_EQ(rows[5][0], eighth);
        EXPECT_EQ(rows[1][2], AngleText(d.s, d.s.AzIn + ia / 8));
    }
}

TEST(BlockSheet, PolygonCornersHalfSidesAndStraightDeflections)
{
    Doc d;
    Compose(d, {.type = 2, .n = 4});
    ASSERT_EQ(d.refusal, "");
    const double a = d.s.IaHalfDiv * d.s.DegToRad;
    const auto rows = KindRows(d, kOuter);
    ASSERT_EQ(rows.size(), 7u);
    const QString straight = AngleText(d.s, 180);
    EXPECT_EQ(straight, " 180ﾟ 0' 0.00\"");
    EXPECT_EQ(rows[1][1], straight);
    EXPECT_EQ(rows[6][0], straight);
    EXPECT_EQ(rows[2][1], AngleText(d.s, d.s.IaPerDiv));
    const double t = 103 * std::tan(a);
    EXPECT_EQ(rows[1][3], FixedText(RoundDig(t, 5, 1), 4));
    EXPECT_EQ(rows[2][3], FixedText(RoundDig(2 * t, 5, 1), 4));
    EXPECT_EQ(rows[5][3], FixedText(RoundDig(t, 5, 1), 4));
    const double arc = 103 * d.s.IA * d.s.DegToRad / 4;
    EXPECT_EQ(rows[1][4], FixedText(RoundDig(arc / 2, 5, 1), 4));
    EXPECT_EQ(rows[3][4], FixedText(RoundDig(arc, 5, 1), 4));
    // The repeated EC is exported twice in a row and written once.
    const ExportText text = BuildExportText(d.s);
    EXPECT_EQ(d.s.ExpCount, 4 + 3 * 7);
    EXPECT_EQ(text.count, d.s.ExpCount - 3);
    EXPECT_EQ(text.text.count("\t12OEC\t"), 1);
}

TEST(BlockSheet, HalfDivisionsPrintHalfChordsAtBothEnds)
{
    Doc d;
    Compose(d, {.type = 3, .n = 4});
    ASSERT_EQ(d.refusal, "");
    const auto rows = KindRows(d, kInner);
    ASSERT_EQ(rows.size(), 7u);
    const QString half = FixedText(RoundDig(2 * 97 * std::sin(d.s.IA / 16 * d.s.DegToRad), 5, 1), 4);
    const QString full = FixedText(RoundDig(2 * 97 * std::sin(d.s.IA / 8 * d.s.DegToRad), 5, 1), 4);
    EXPECT_EQ(rows[1][3], half);
    EXPECT_EQ(rows[2][3], full);
    EXPECT_EQ(rows[5][3], half);
    EXPECT_EQ(rows[5][0], "12IEC");
    EXPECT_EQ(rows[1][1], AngleText(d.s, d.s.IA / 16));
    EXPECT_EQ(rows[2][1], AngleText(d.s, 3 * d.s.IA / 16));
    EXPECT_EQ(rows[5][1], AngleText(d.s, 3 * d.s.IA / 16));
    EXPECT_EQ(rows[6][0], AngleText(d.s, d.s.IA / 16));
}

TEST(BlockSheet, LeftHandCurveSwapsPrefixesAndTurnsNegative)
{
    Doc d;
    Compose(d, kTurns[1].corner);
    ASSERT_EQ(d.refusal, "");
    ASSERT_EQ(d.s.TurnSign, -1);
    const auto inner = KindRows(d, kInner);
    ASSERT_GE(inner.size(), 3u);
    EXPECT_TRUE(inner[1][0].startsWith("12O")) << inner[1][0].toStdString();
    EXPECT_TRUE(KindRows(d, kOuter)[1][0].startsWith("12I"));
    EXPECT_EQ(inner[1][1], AngleText(d.s, -d.s.IaHalfDiv));
    EXPECT_TRUE(inner[1][1].contains('-'));
}

TEST(BlockSheet, PageBreakBeyond170)
{
    const struct {
        double lineY;
        bool breaks;
    } cases[] = {{0, true}, {170, false}, {170.1, true}, {169.9, false}};
    for (const auto& c : cases) {
        Doc d;
        InitConstants(d.s);
        d.s.PaperScale = 1;
        d.s.MmUnit = 56.7f;
        d.pl.startDoc();
        SheetContext ctx{d.s, d.pl, {}, {}};
        d.s.LineY = c.lineY;
        Kai_PG(ctx);
        EXPECT_EQ(d.pl.pageCount(), c.breaks ? 2 : 1) << c.lineY;
        EXPECT_EQ(d.s.LineY, c.breaks ? 14 : c.lineY) << c.lineY;
    }
}

TEST(BlockSheet, LongListsContinueAndAFullLastPageLeavesAHeadingOnlyPage)
{
    // 30 divisions: 32 rows, 23 on the first page, 9 on a second with the same heading.
    Doc d;
    Compose(d, {.type = 0, .n = 30});
    ASSERT_EQ(d.refusal, "");
    EXPECT_EQ(d.pl.pageCount(), 1 + 3 * 2);
    EXPECT_EQ(Texts(Line(d, 2, 0)), Texts(Line(d, 3, 0)));
    EXPECT_EQ(Line(d, 2, 168).size(), 8u);
    EXPECT_EQ(KindRows(d, kCentre).size(), 32u);

    // 21 divisions: 23 rows fill the page exactly; the break after the last row leaves a page
    // with only the heading, and the next kind still starts on a page of its own.
    Doc full;
    Compose(full, {.type = 0, .n = 21});
    ASSERT_EQ(full.refusal, "");
    ASSERT_EQ(full.pl.pageCount(), 7);
    for (int p : {3, 5, 7}) {
        EXPECT_EQ(full.pl.page(p)->size(), Line(full, p, 0).size() + Line(full, p, 7).size()) << p;
        EXPECT_EQ(Line(full, p, 7).size(), 8u) << p;
    }
    EXPECT_EQ(Texts(Line(full, 2, 0)).first(), "[ 型 平行方式 ]");
    EXPECT_EQ(Texts(Line(full, 2, 0)).last(), "( IP 12  中心点 )");
    EXPECT_EQ(Texts(Line(full, 4, 0)).last(), "( IP 12  内周点 )");
}

}  // namespace
}  // namespace tovanel::test
