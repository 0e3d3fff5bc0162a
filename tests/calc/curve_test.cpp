// Curve elements, main points and the division count on worked corners, plus the inputs the
// computation has to refuse instead of looping or overflowing.

#include "calc/calcstate.h"
#include "calc/curve.h"

#include <gtest/gtest.h>
#include <cmath>
#include <limits>

namespace tovanel {
namespace {

CalcState Corner(double bx, double by, double ix, double iy, double ex, double ey, double r,
                 double limitM = 0.5, double limitLP = 20, double count = 0)
{
    CalcState s;
    InitConstants(s);
    s.CurveIn[kBP][kX] = bx;
    s.CurveIn[kBP][kY] = by;
    s.CurveIn[kIP][kX] = ix;
    s.CurveIn[kIP][kY] = iy;
    s.CurveIn[kEP][kX] = ex;
    s.CurveIn[kEP][kY] = ey;
    s.CurveIn[kIP][kRadius] = r;
    s.LimitM = limitM;
    s.LimitLP = limitLP;
    s.DivCount = count;
    return s;
}

constexpr double kLen = 5e-5;  // printed lengths have four decimals

TEST(CurveElements, RightTurnWorkedExample)
{
    CalcState s = Corner(0, 0, 100, 100, 0, 200, 100);
    ASSERT_EQ(LoadIn(s), "");
    EXPECT_NEAR(s.AzIn, 45, 1e-6);
    EXPECT_NEAR(s.AzOut, 135, 1e-6);
    EXPECT_NEAR(s.IA, 89.9999999942, 1e-9);
    EXPECT_EQ(s.IAWork, s.IA);
    EXPECT_EQ(s.Rad, 100);
    EXPECT_EQ(s.TurnSign, 1);
    EXPECT_NEAR(s.CL, 157.0796, kLen);
    EXPECT_NEAR(s.TL, 100.0000, kLen);
    EXPECT_NEAR(s.SL, 41.4214, kLen);
    EXPECT_NEAR(s.M, 29.2893, kLen);
    EXPECT_NEAR(s.HalfCL, 78.5398, kLen);
    EXPECT_NEAR(s.BcX, 29.2893, kLen);
    EXPECT_NEAR(s.BcY, 29.2893, kLen);
    EXPECT_NEAR(s.CenX, -41.4214, kLen);
    EXPECT_NEAR(s.CenY, 100.0000, kLen);
    EXPECT_NEAR(s.EcX, 29.2893, kLen);
    EXPECT_NEAR(s.EcY, 170.7107, kLen);
    EXPECT_NEAR(s.AzCenIP, 359.999423, 1e-6);
    // The azimuth guards move SP about 0.001 off the exact middle of the arc; that is what prints.
    EXPECT_NEAR(s.SpX, 58.5786, kLen);
    EXPECT_NEAR(s.SpY, 99.9990, kLen);
    EXPECT_NEAR(s.TanAX, -6.0660, kLen);
    EXPECT_NEAR(s.TanAY, -6.0660, kLen);
    EXPECT_NEAR(s.TanBX, -6.0660, kLen);
    EXPECT_NEAR(s.TanBY, 206.0660, kLen);
    EXPECT_EQ(s.DivCount, 8);
}

TEST(CurveElements, LeftTurnMirrorsTheSigns)
{
    CalcState s = Corner(0, 200, 100, 100, 0, 0, 100);
    ASSERT_EQ(LoadIn(s), "");
    EXPECT_NEAR(s.AzIn, 315, 1e-6);
    EXPECT_NEAR(s.AzOut, 225, 1e-6);
    EXPECT_NEAR(s.IA, 89.9999999942, 1e-9);
    EXPECT_EQ(s.Rad, -100);
    EXPECT_EQ(s.RadSigned, -100);
    EXPECT_EQ(s.TurnSign, -1);
    EXPECT_NEAR(s.TL, 100, kLen);
    EXPECT_NEAR(s.CenX, -41.4214, kLen);  // centre on the left of the route
    EXPECT_NEAR(s.CenY, 100, kLen);
}

TEST(CurveElements, DueNorthTangentCarriesTheGuard)
{
    CalcState s = Corner(0, 0, 100, 0, 100, 100, 10);
    ASSERT_EQ(LoadIn(s), "");
    EXPECT_NEAR(s.AzIn, 0.000579, 1e-6);
    EXPECT_NEAR(s.IA, 89.999421, 1e-6);
}

TEST(CurveElements, NegativeRadiusTakesTheTurnsSign)
{
    CalcState s = Corner(0, 0, 100, 100, 0, 200, -100);
    ASSERT_EQ(LoadIn(s), "");
    EXPECT_EQ(s.RadSigned, 100);
    EXPECT_EQ(s.RadAbs, 100);
}

struct CountCase {
    const char* name;
    double limitM, limitLP, given, want;
};

class DivisionCount : public ::testing::TestWithParam<CountCase> {};

TEST_P(DivisionCount, ChosenOrKept)
{
    const CountCase& c = GetParam();
    CalcState s = Corner(0, 0, 100, 100, 0, 200, 100, c.limitM, c.limitLP, c.given);
    ASSERT_EQ(LoadIn(s), "");
    EXPECT_EQ(s.DivCount, c.want);
}

const CountCase kCountCases[] = {
    {"OrdinateLimitGivesEight", 0.5, 20, 0, 8},
    {"LengthLimitRaisesToEleven", 0.5, 15, 0, 11},
    {"GivenCountIsKept", 0.5, 15, 3, 3},
    {"FractionalCountIsKept", 0.5, 15, 2.5, 2.5},
    // 100 (1/cos(45°/8) − 1) = 0.48395…: a limit equal to the value is met
    {"ValueEqualToLimitIsAccepted", 100 * (1 / std::cos(45.0 / 8 * M_PI / 180) - 1) + 1e-9, 1000, 0, 8},
    {"GenerousLimitsGiveOne", 100, 1000, 0, 1},
};

INSTANTIATE_TEST_SUITE_P(Limits, DivisionCount, ::testing::ValuesIn(kCountCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CurveElements, DegenerateCornersStillComplete)
{
    CalcState zero = Corner(0, 0, 100, 100, 0, 200, 0);
    ASSERT_EQ(LoadIn(zero), "");
    EXPECT_EQ(zero.TurnSign, 0);
    EXPECT_EQ(zero.DivCount, 1);
    EXPECT_EQ(zero.TL, 0);

    CalcState same = Corner(5, 5, 5, 5, 5, 5, 10);
    ASSERT_EQ(LoadIn(same), "");
    EXPECT_EQ(same.IA, 0);  // both azimuths of a zero vector are 90
    EXPECT_EQ(same.DivCount, 1);

    CalcState reverse = Corner(0, 0, 100, 0, 0, 0, 10, 0.5, 20, 8);
    ASSERT_EQ(LoadIn(reverse), "");
    EXPECT_NEAR(reverse.IA, 180, 0.01);
    EXPECT_TRUE(std::isfinite(reverse.TL));
}

struct RefusalCase {
    const char* name;
    CalcState state;
};

TEST(CurveElements, RefusesWhatCannotBeComputed)
{
    const double nan = std::nan(""), inf = std::numeric_limits<double>::infinity();
    const RefusalCase cases[] = {
        {"zero ordinate limit", Corner(0, 0, 100, 100, 0, 200, 100, 0, 20)},
        {"negative LP limit", Corner(0, 0, 100, 100, 0, 200, 100, 0.5, -1)},
        {"NaN limit", Corner(0, 0, 100, 100, 0, 200, 100, nan, 20)},
        {"negative count", Corner(0, 0, 100, 100, 0, 200, 100, 0.5, 20, -2)},
        {"count above the maximum", Corner(0, 0, 100, 100, 0, 200, 100, 0.5, 20, kMaxDivCount + 1)},
        {"NaN coordinate", Corner(nan, 0, 100, 100, 0, 200, 100)},
        {"infinite radius", Corner(0, 0, 100, 100, 0, 200, inf)},
        // the limits would need ~1e151 divisions: refused instead of counting for ever
        {"huge radius, open count", Corner(0, 0, 100, 100, 0, 200, 1e300)},
        {"tight LP limit", Corner(0, 0, 100, 100, 0, 200, 100, 0.5, 0.01)},
    };
    for (const auto& c : cases) {
        CalcState s = c.state;
        EXPECT_FALSE(LoadIn(s).isEmpty()) << c.name;
        EXPECT_TRUE(s.DivCount == c.state.DivCount) << c.name << ": the count is not fixed";
    }
}

TEST(CurveElements, HugeInputsWithAGivenCountGiveDefinedValues)
{
    CalcState s = Corner(0, 0, 100, 100, 0, 200, 1e300, 0.5, 20, 8);
    ASSERT_EQ(LoadIn(s), "");
    EXPECT_EQ(s.DivCount, 8);
    CalcState z = Corner(-1e308, 0, 1e308, 0, 1e308, 1e308, 10);  // differences overflow
    EXPECT_NE(LoadIn(z), "");
    EXPECT_EQ(z.DivCount, 0) << "no count for a curve that cannot be computed";
    CalcState far = Corner(1e200, 0, 1e200 + 1e190, 0, 1e200 + 1e190, 1e190, 10, 0.5, 20, 8);
    EXPECT_NE(LoadIn(far), "") << "squares overflow: the distances are not finite";
    EXPECT_EQ(far.DivCount, 8);
}

TEST(DivRowValues, CentreAndOuterRowsOfTheWorkedExample)
{
    CalcState s = Corner(0, 0, 100, 100, 0, 200, 100);
    ASSERT_EQ(LoadIn(s), "");
    const double half = s.IA / s.DivCount / 2 * s.DegToRad;
    s.IARad = s.IA * s.DegToRad;
    s.RowRad = 100;
    s.RowTrig = std::sin(half);
    s.RowOrdFactor = 1 - std::cos(half);
    DivRowValues(s);
    EXPECT_DOUBLE_EQ(s.ArcPerDiv, 19.635);
    EXPECT_DOUBLE_EQ(s.ChordPerDiv, 19.6034);
    EXPECT_DOUBLE_EQ(s.OrdPerDiv, 0.4815);
    EXPECT_DOUBLE_EQ(s.ArcChordDiff, 0.0316);
    s.RowTrig = std::tan(half);
    s.RowOrdFactor = 1 / std::cos(half) - 1;
    DivRowValues(s);
    EXPECT_DOUBLE_EQ(s.ChordPerDiv, 19.6983);
    EXPECT_DOUBLE_EQ(s.OrdPerDiv, 0.4839);
    EXPECT_DOUBLE_EQ(s.ArcChordDiff, -0.0633);
}

}  // namespace
}  // namespace tovanel
