// SPDX-License-Identifier: GPL-3.0-or-later
// Curve elements, the division count and refusals on worked corners; the worked trial listing.

#include "calc/curve.h"
#include "calc/elementlist.h"
#include "calc/listing.h"

#include <gtest/gtest.h>
#include <cmath>
#include <cstring>
#include <limits>

namespace tovanel {
namespace {

// A corner with the settings it is computed under, and what the calculation makes of it.
struct Trial {
    CornerInput in;
    Settings st;
    CornerElements el;
};

Trial Corner(double bx, double by, double ix, double iy, double ex, double ey, double r,
             double limitM = 0.5, double limitLP = 20, double count = 0)
{
    Trial t;
    t.in = {bx, by, ix, iy, ex, ey, r, 0, 0, 0, count, QStringLiteral("12"), {}, {}, {}};
    t.st.setNumber(NumberEntry::LimitM, limitM);
    t.st.setNumber(NumberEntry::LimitLP, limitLP);
    t.st.setNumber(NumberEntry::LimitL1, 1);
    return t;
}

QString LoadIn(Trial& t) { return LoadIn(t.in, t.st, t.el); }
QString S_CRT(Trial& t, Listing& l) { return S_CRT(t.in, t.st, t.el, l); }

TEST(CurveElements, RightAndLeftTurnsOfTheWorkedExample)
{
    Trial tr = Corner(0, 0, 100, 100, 0, 200, 100);
    Trial tl = Corner(0, 200, 100, 100, 0, 0, 100);  // reversed
    ASSERT_EQ(LoadIn(tr), "");
    ASSERT_EQ(LoadIn(tl), "");
    const CornerElements& r = tr.el;
    const CornerElements& l = tl.el;
    // Lengths the listing and the sheets print are checked there digit for digit.
    const struct { const char* name; double got, want, tol; } rows[] = {
        {"AzIn", r.AzIn, 45, 1e-6},            {"AzOut", r.AzOut, 135, 1e-6},
        {"IA", r.IA, 89.9999999942, 1e-9},     {"AzCenIP", r.AzCenIP, 359.999423, 1e-6},
        {"BcX", r.BcX, 29.2893, 5e-5},         {"EcY", r.EcY, 170.7107, 5e-5},
        {"CenX", r.CenX, -41.4214, 5e-5},      {"CenY", r.CenY, 100, 5e-5},
        // the azimuth guards move SP about 0.001 off the middle of the arc; that is what prints
        {"SpX", r.SpX, 58.5786, 5e-5},         {"SpY", r.SpY, 99.9990, 5e-5},
        {"TanAX", r.TanAX, -6.0660, 5e-5},     {"TanBY", r.TanBY, 206.0660, 5e-5},
        {"left AzIn", l.AzIn, 315, 1e-6},      {"left AzOut", l.AzOut, 225, 1e-6},
        {"left IA", l.IA, 89.9999999942, 1e-9}, {"left Rad", l.RadSigned, -100, 0},
        {"left TurnSign", double(l.TurnSign), -1, 0},  {"left CenX", l.CenX, -41.4214, 5e-5},
    };
    for (const auto& row : rows) EXPECT_NEAR(row.got, row.want, row.tol) << row.name;
}

// The count the limits choose or the given one kept; refused instead of looping or overflowing.
TEST(CurveElements, DivisionCountChosenKeptOrRefused)
{
    const double m8 = 100 * (1 / std::cos(45.0 / 8 * M_PI / 180) - 1);  // ordinate test at n = 8
    const double nan = std::nan("");
    const struct { const char* name; Trial state; double want; bool refused = false; } cases[] = {
        {"ordinate limit", Corner(0, 0, 100, 100, 0, 200, 100, 0.5, 20), 8},
        {"LP limit raises it", Corner(0, 0, 100, 100, 0, 200, 100, 0.5, 15), 11},
        {"given count kept", Corner(0, 0, 100, 100, 0, 200, 100, 0.5, 15, 3), 3},
        {"fraction kept", Corner(0, 0, 100, 100, 0, 200, 100, 0.5, 15, 2.5), 2.5},
        {"value equal to limit", Corner(0, 0, 100, 100, 0, 200, 100, m8 + 1e-9, 1000), 8},
        {"due north tangent", Corner(0, 0, 100, 0, 100, 100, 10, 100, 1000), 1},
        {"zero ordinate limit", Corner(0, 0, 100, 100, 0, 200, 100, 0, 20), 0, true},
        {"negative LP limit", Corner(0, 0, 100, 100, 0, 200, 100, 0.5, -1), 0, true},
        {"NaN limit", Corner(0, 0, 100, 100, 0, 200, 100, nan, 20), 0, true},
        {"negative count", Corner(0, 0, 100, 100, 0, 200, 100, 0.5, 20, -2), -2, true},
        {"count above the maximum", Corner(0, 0, 100, 100, 0, 200, 100, 0.5, 20, kMaxDivCount + 1), kMaxDivCount + 1, true},
        // the limits would need ~1e151 divisions: refused instead of counting for ever
        {"huge radius, open count", Corner(0, 0, 100, 100, 0, 200, 1e300), 0, true},
        {"differences overflow", Corner(-1e308, 0, 1e308, 0, 1e308, 1e308, 10), 0, true},
        {"squares overflow", Corner(1e200, 0, 1e200 + 1e190, 0, 1e200, 1e190, 10, 0.5, 20, 8), 8, true},
    };
    for (const auto& c : cases) {
        Trial t = c.state;
        EXPECT_EQ(LoadIn(t).isEmpty(), !c.refused) << c.name;
        EXPECT_EQ(c.refused ? t.in.DivCount : t.el.DivCount, c.want) << c.name << ": a refusal fixes no count";
    }
    Trial north = cases[5].state;
    ASSERT_EQ(LoadIn(north), "");
    EXPECT_NEAR(north.el.IA, 89.999421, 1e-6) << "AzIn carries the guard, 0.000579";
}

// Corners that cannot be staked are refused saying why; corners at the bounds are computed.
TEST(CurveElements, CornersThatCannotBeStakedAreRefused)
{
    const double tenSeconds = 100 * std::tan(10.0 / 3600 * M_PI / 180);
    const double inf = std::numeric_limits<double>::infinity();
    auto withWidths = [](Trial t, double wi, double wo) { return t.in.WidthIn = wi, t.in.WidthOut = wo, t; };
    const struct { const char* name; Trial state; const char* why; } cases[] = {
        {"IP on EP", Corner(0, 0, 10, 10, 10, 10, 10), "IPとEPが同じ座標です"},
        {"BP and IP 0.05 mm apart", Corner(0, 0, 0.00005, 0, 10, 10, 10), "BPとIPが同じ座標です"},
        {"a straight line", Corner(0, 0, 10, 10, 20, 20, 10), "未満です（3点がほぼ一直線"},
        {"a straight line due north", Corner(0, 0, 10, 0, 20, 0, 10), "交角IAが0ﾟ 0' 0.00\"で"},
        {"a turn of 10 seconds", Corner(0, 0, 100, 0, 200, tenSeconds, 10), "未満です"},
        {"a turn of 2 minutes", Corner(0, 0, 100, 0, 200, 100 * std::tan(M_PI / 5400), 1000), ""},
        {"a reversal onto BP", Corner(0, 0, 100, 0, 0, 0, 10, 0.5, 20, 8), "交角IAが180ﾟ 0' 0.00\"で、179ﾟ 0' 0.00\"を超えます"},
        {"a reversal past BP", Corner(0, 0, 100, 0, -50, 1e-9, 10, 0.5, 20, 8), "を超えます（EPがBPの方へ折り返し"},
        {"IA of 178.9 degrees", Corner(0, 0, 100, 0, 0, 100 * std::tan(1.1 * M_PI / 180), 1, 0.5, 20, 8), ""},
        {"all three on one spot", Corner(5, 5, 5, 5, 5, 5, 10), "BPとIPが同じ座標です（BP～IPが0.1 mm未満で、接線が定まりません）。IPとEP"},
        {"zero radius", Corner(0, 0, 100, 100, 0, 200, 0), "半径が0です"},
        {"negative radius", Corner(0, 0, 100, 100, 0, 200, -100), "半径が負の値です"},
        {"radius 1e238", Corner(0, 0, 100, 100, 0, 200, 1e238), "半径が大きすぎて扱えません。半径は 10,000 m 以下"},
        {"radius at its bound", Corner(0, 0, 100, 100, 0, 200, 1e4, 0.5, 20, 800), ""},
        {"inner width equal to the radius", withWidths(Corner(0, 0, 100, 100, 0, 200, 5), 5, 0), "内周の半径が正になりません"},
        {"outer width of minus the radius", withWidths(Corner(0, 0, 100, 100, 0, 200, 5), 0, -5), "外周の半径が正になりません"},
        {"outer width just short of it", withWidths(Corner(0, 0, 100, 100, 0, 200, 5), 0, -4.9), ""},
        {"widths beyond 1 km", withWidths(Corner(0, 0, 100, 100, 0, 200, 5), 0, 1001), "幅員が大きすぎて扱えません"},
        {"a coordinate of 1e7", Corner(0, 0, 1e7, 100, 0, 200, 5), "IPの座標が大きすぎて扱えません。座標は絶対値 10,000,000 m 未満"},
        {"an infinite coordinate", Corner(0, inf, 100, 100, 0, 200, 5), "数値として扱えない"},
        {"a centre beyond its field", Corner(-9999999, 0, -9999950, 0, -9999950, 100, 100, 0.5, 20, 8), "円の中心のX座標（-10000050.0000）が帳票の欄（13文字）に収まりません"},
        {"a TL beyond its field", Corner(0, 0, 100, 0, 0, 100 * std::tan(10 * M_PI / 180), 1e4, 0.5, 20, 8), "接線長TL（1142"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Trial t = c.state;
        const QString why = TrialCalculation(t.in, t.st, t.el);
        if (!*c.why) {
            EXPECT_EQ(why, "");
            EXPECT_GE(t.el.IA, kMinIA);
            EXPECT_LE(t.el.IA, kMaxIA);
        } else {
            EXPECT_TRUE(why.contains(QString::fromUtf8(c.why))) << why.toStdString();
            EXPECT_FALSE(why.contains(QLatin1Char('\n'))) << "one line, as the command line and the batch give it";
            Listing l;
            EXPECT_EQ(S_CRT(t.in, t.st, t.el, l), why) << "the trial window refuses it alike";
            EXPECT_TRUE(l.texts.empty());
        }
    }
}

// A curve past BP or EP is computed and warned of once per end, with TL and the distance as printed.
TEST(CurveElements, WarningsWhenTheCurveRunsPastBpOrEp)
{
    const double root2 = 10 * std::sqrt(2.0);  // BP–IP and IP–EP of the 45° corner below
    const struct { const char* name; Trial state; QStringList want; } cases[] = {
        {"within both tangents", Corner(0, 0, 100, 100, 0, 200, 100), {}},
        {"TL equal to the tangents as printed", Corner(0, 0, 10, 10, 0, 20, root2 + 1e-5), {}},
        {"past both", Corner(0, 0, 10, 10, 0, 20, root2 + 1e-4),
         {"接線長TL（14.1422 m）がBP～IP間の距離（14.1421 m）より長く、BCがBPの外側に出ます。",
          "接線長TL（14.1422 m）がIP～EP間の距離（14.1421 m）より長く、ECがEPの外側に出ます。"}},
        {"past EP only", Corner(-100, 0, 10, 0, 10, 5, 10, 0.5, 20, 8),
         {"接線長TL（9.9999 m）がIP～EP間の距離（5.0000 m）より長く、ECがEPの外側に出ます。"}},
        {"past both, IA near its bound", Corner(0, 0, 10, 0, -5, 1, 6),
         {"接線長TL（180.1701 m）がBP～IP間の距離（10.0000 m）より長く、BCがBPの外側に出ます。",
          "接線長TL（180.1701 m）がIP～EP間の距離（15.0333 m）より長く、ECがEPの外側に出ます。"}},
    };
    for (const auto& c : cases) {
        Trial t = c.state;
        ASSERT_EQ(TrialCalculation(t.in, t.st, t.el), "") << c.name;
        EXPECT_EQ(CornerWarnings(t.in, t.el), c.want) << c.name;
    }
}

// Corners are values: computing others in between changes no bit of one corner's elements.
TEST(CurveElements, CornersSideBySideGiveWhatEachGivesAlone)
{
    Trial a = Corner(0, 0, 100, 100, 0, 200, 100);
    Trial b = Corner(-12345.678, 23456.789, -12300, 23480, -12290.12, 23420.7, 8, 0.05, 10);
    b.st.setText(TextEntry::ExactAzimuth, QStringLiteral("1"));
    Trial c = Corner(0, 0, 10, 0, 10, -10, 5, 0.5, 20, 7);
    std::vector<std::array<NamedValue, kElementCount>> alone;
    for (Trial* t : {&a, &b, &c}) {
        Trial fresh = *t;
        ASSERT_EQ(TrialCalculation(fresh.in, fresh.st, fresh.el), "");
        alone.push_back(ElementList(fresh.el));
    }
    std::vector<CornerElements> together(3);
    const CornerInput* ins[] = {&a.in, &b.in, &c.in};
    const Settings* sts[] = {&a.st, &b.st, &c.st};
    for (int round = 0; round < 2; ++round)
        for (size_t k : {size_t{2}, size_t{0}, size_t{1}}) ASSERT_EQ(TrialCalculation(*ins[k], *sts[k], together[k]), "");
    for (size_t k = 0; k < 3; ++k) {
        const auto got = ElementList(together[k]);
        for (size_t i = 0; i < got.size(); ++i)
            EXPECT_EQ(std::memcmp(&got[i].value, &alone[k][i].value, sizeof(double)), 0) << k << " " << got[i].name;
    }
}

// Every text as "x,y,colour,text", in drawing order.
QStringList Lines(const Listing& l)
{
    QStringList out;
    for (const auto& t : l.texts) out << QStringLiteral("%1,%2,%3,%4").arg(t.x).arg(t.y).arg(t.colour).arg(t.text);
    return out;
}

TEST(Listing, WorkedExampleTextByText)
{
    Trial s = Corner(0, 0, 100, 100, 0, 200, 100);
    Listing l;
    ASSERT_EQ(S_CRT(s, l), "");
    EXPECT_EQ(l.caption, QStringLiteral("設定曲線試算"));
    const QStringList want = QString::fromUtf8(
        "20,10,0,** 設定曲線試算 **|50,80,0,IPNO.12|400,80,0,分割数= 8|250,150,0,X=     100.0000|"
        "600,150,0,Y=     100.0000|250,190,0,    R=   100.000|250,230,0,   IA=  90ﾟ 0' 0.00\"|"
        "250,270,0,   TL=  100.0000|250,310,0,   CL=  157.0796|250,350,0,   SL=   41.4214|"
        "250,390,0,    M=   29.2893|250,430,0, IA/N=  11ﾟ15' 0.00\"|250,470,0,IA/2N=   5ﾟ37'30.00\"|"
        "220,550,0,R         CL/N      L        M'    (CL/N)-L|"
        "50,600,0,内周|150,600,0,  100.0000|310,600,0,   19.6350|470,600,0,   19.6034|630,600,0,    0.4815|790,600,0,    0.0316|"
        "50,650,0,中心|150,650,0,  100.0000|310,650,0,   19.6350|470,650,0,   19.6034|630,650,0,    0.4815|790,650,0,    0.0316|"
        "50,700,0,外周|150,700,0,  100.0000|310,700,0,   19.6350|470,700,0,   19.6983|630,700,0,    0.4839|790,700,0,   -0.0633")
        .split('|');
    EXPECT_EQ(Lines(l), want);
}

// A value beyond its limit is red, one equal to it black (a given count of 8).
TEST(Listing, RedMarksBeyondTheLimits)
{
    const struct { double limitM, limitLP, limitL1; QStringList red; } cases[] = {
        {0.5, 19, 1, {"310,600", "310,650", "310,700"}}, {0.5, 20, 0.05, {"790,700"}},
        {0.482, 20, 1, {"630,700"}}, {0.4839, 19.635, 0.0633, {}},
    };
    for (const auto& c : cases) {
        Trial s = Corner(0, 0, 100, 100, 0, 200, 100, c.limitM, c.limitLP, 8);
        s.st.setNumber(NumberEntry::LimitL1, c.limitL1);
        Listing l;
        ASSERT_EQ(S_CRT(s, l), "");
        QStringList red;
        for (const auto& t : l.texts)
            if (t.colour == kRed) red << QStringLiteral("%1,%2").arg(t.x).arg(t.y);
        EXPECT_EQ(red, c.red) << c.limitM << " " << c.limitLP << " " << c.limitL1;
    }
}

}  // namespace
}  // namespace tovanel
