// The trial listing of the worked right-turn corner: texts, positions and the red marks.

#include "calc/calcstate.h"
#include "calc/listing.h"

#include <gtest/gtest.h>

namespace tovanel {
namespace {

CalcState RightTurn(double limitM, double limitLP, double limitL1, double count)
{
    CalcState s;
    InitConstants(s);
    s.IniNum[3] = limitM;
    s.IniNum[4] = limitLP;
    s.IniNum[5] = limitL1;
    s.CurveIn[kIP][kX] = 100;
    s.CurveIn[kIP][kY] = 100;
    s.CurveIn[kEP][kY] = 200;
    s.CurveIn[kIP][kRadius] = 100;
    s.DivCount = count;
    s.IPNo = [] { return QStringLiteral("12"); };
    return s;
}

const ListingText* At(const Listing& l, int x, int y)
{
    for (const auto& t : l.texts)
        if (t.x == x && t.y == y) return &t;
    return nullptr;
}

TEST(Listing, HeaderOfTheWorkedExample)
{
    CalcState s = RightTurn(0.5, 20, 1, 0);
    Listing l;
    ASSERT_EQ(S_CRT(s, l), "");
    EXPECT_EQ(l.caption, QStringLiteral("設定曲線試算"));
    const std::tuple<int, int, const char*> want[] = {
        {20, 10, "** 設定曲線試算 **"},     {50, 80, "IPNO.12"},
        {400, 80, "分割数= 8"},             {250, 150, "X=     100.0000"},
        {600, 150, "Y=     100.0000"},      {250, 190, "    R=   100.000"},
        {250, 230, "   IA=  90ﾟ 0' 0.00\""}, {250, 270, "   TL=  100.0000"},
        {250, 310, "   CL=  157.0796"},     {250, 350, "   SL=   41.4214"},
        {250, 390, "    M=   29.2893"},     {250, 430, " IA/N=  11ﾟ15' 0.00\""},
        {250, 470, "IA/2N=   5ﾟ37'30.00\""},
        {220, 550, "R         CL/N      L        M'    (CL/N)-L"},
    };
    for (const auto& [x, y, text] : want) {
        const ListingText* t = At(l, x, y);
        ASSERT_NE(t, nullptr) << x << "," << y;
        EXPECT_EQ(t->text, QString::fromUtf8(text));
        EXPECT_EQ(t->colour, kBlack);
    }
    EXPECT_EQ(l.texts.size(), 14u + 3 * 6);
    EXPECT_EQ(s.Rad, 100) << "the typed radius replaces the signed one";
}

TEST(Listing, DivisionRows)
{
    CalcState s = RightTurn(0.5, 20, 1, 0);
    Listing l;
    ASSERT_EQ(S_CRT(s, l), "");
    const std::pair<int, std::array<const char*, 6>> rows[] = {
        {600, {"内周", "  100.0000", "   19.6350", "   19.6034", "    0.4815", "    0.0316"}},
        {650, {"中心", "  100.0000", "   19.6350", "   19.6034", "    0.4815", "    0.0316"}},
        {700, {"外周", "  100.0000", "   19.6350", "   19.6983", "    0.4839", "   -0.0633"}},
    };
    const int xs[] = {50, 150, 310, 470, 630, 790};
    for (const auto& [y, texts] : rows)
        for (int i = 0; i < 6; ++i) {
            const ListingText* t = At(l, xs[i], y);
            ASSERT_NE(t, nullptr) << xs[i] << "," << y;
            EXPECT_EQ(t->text, QString::fromUtf8(texts[i])) << xs[i] << "," << y;
        }
}

struct RedCase {
    const char* name;
    double limitM, limitLP, limitL1;
    std::vector<std::pair<int, int>> red;  // (x, y) of the red texts
};

TEST(Listing, RedMarksWithAGivenCountOfEight)
{
    const RedCase cases[] = {
        {"LP 19", 0.5, 19, 1, {{310, 600}, {310, 650}, {310, 700}}},
        {"L1 0.05", 0.5, 20, 0.05, {{790, 700}}},
        {"M 0.482", 0.482, 20, 1, {{630, 700}}},
        {"limits equal to the values", 0.4839, 19.635, 0.0633, {}},
    };
    for (const auto& c : cases) {
        CalcState s = RightTurn(c.limitM, c.limitLP, c.limitL1, 8);
        Listing l;
        ASSERT_EQ(S_CRT(s, l), "") << c.name;
        std::vector<std::pair<int, int>> red;
        for (const auto& t : l.texts)
            if (t.colour == kRed) red.emplace_back(t.x, t.y);
        EXPECT_EQ(red, c.red) << c.name;
    }
}

TEST(Listing, NegativeRadiusListedAsTyped)
{
    CalcState s = RightTurn(0.5, 20, 1, 0);
    s.CurveIn[kIP][kRadius] = -100;
    Listing l;
    ASSERT_EQ(S_CRT(s, l), "");
    EXPECT_EQ(At(l, 250, 190)->text, "    R=  -100.000");
    EXPECT_EQ(At(l, 250, 270)->text, "   TL=  100.0000");
}

TEST(Listing, RefusalDrawsNothing)
{
    CalcState s = RightTurn(0, 20, 1, 0);
    Listing l;
    EXPECT_FALSE(S_CRT(s, l).isEmpty());
    EXPECT_TRUE(l.texts.empty());
    EXPECT_EQ(s.DivCount, 0);
}

}  // namespace
}  // namespace tovanel
