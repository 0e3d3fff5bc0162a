// SPDX-License-Identifier: GPL-3.0-or-later
// The trial listing of the worked right-turn corner: texts, positions and the red marks.

#include "calc/calcstate.h"
#include "calc/listing.h"

#include <gtest/gtest.h>

namespace tovanel {
namespace {

CalcState RightTurn(double limitM, double limitLP, double limitL1, double count, double radius = 100)
{
    CalcState s;
    InitConstants(s);
    s.IniNum = {0, 0, 0, limitM, limitLP, limitL1};
    s.CurveIn[kIP] = {0, 0, 100, 100, 0, 0, radius};
    s.CurveIn[kEP][kY] = 200;
    s.DivCount = count;
    s.IPNo = [] { return QStringLiteral("12"); };
    return s;
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
    CalcState s = RightTurn(0.5, 20, 1, 0);
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
    EXPECT_EQ(s.Rad, 100) << "the typed radius replaces the signed one";

    CalcState negative = RightTurn(0.5, 20, 1, 0, -100);
    ASSERT_EQ(S_CRT(negative, l), "");
    EXPECT_EQ(Lines(l).mid(5, 4).join('|'),
              QString::fromUtf8("250,190,0,    R=  -100.000|250,230,0,   IA=  90ﾟ 0' 0.00\"|"
                                "250,270,0,   TL=  100.0000|250,310,0,   CL=  157.0796"));

    CalcState refused = RightTurn(0, 20, 1, 0);  // a zero limit with an open count
    EXPECT_FALSE(S_CRT(refused, l).isEmpty());
    EXPECT_TRUE(l.texts.empty()) << "a refusal draws nothing";
    EXPECT_EQ(refused.DivCount, 0);
}

TEST(Listing, RedMarksWithAGivenCountOfEight)
{
    const struct { const char* name; double limitM, limitLP, limitL1; QStringList red; } cases[] = {
        {"LP 19", 0.5, 19, 1, {"310,600", "310,650", "310,700"}},
        {"L1 0.05", 0.5, 20, 0.05, {"790,700"}},
        {"M 0.482", 0.482, 20, 1, {"630,700"}},
        {"limits equal to the values", 0.4839, 19.635, 0.0633, {}},
    };
    for (const auto& c : cases) {
        CalcState s = RightTurn(c.limitM, c.limitLP, c.limitL1, 8);
        Listing l;
        ASSERT_EQ(S_CRT(s, l), "") << c.name;
        QStringList red;
        for (const auto& t : l.texts)
            if (t.colour == kRed) red << QStringLiteral("%1,%2").arg(t.x).arg(t.y);
        EXPECT_EQ(red, c.red) << c.name;
    }
}

}  // namespace
}  // namespace tovanel
