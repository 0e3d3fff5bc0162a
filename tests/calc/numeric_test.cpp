// SPDX-License-Identifier: GPL-3.0-or-later
// Numeric, angle and text routines: each family checked on a table whose first rows are the
// worked examples of the field routines.

#include "calc/calcstate.h"
#include "calc/numeric.h"

#include <gtest/gtest.h>
#include <cmath>
#include <limits>

namespace tovanel {
namespace {

TEST(RoundDig, ModesAndSigns)
{
    const struct { double v; int n, mode; double want; } cases[] = {
        {2.345, 2, 1, 2.35}, {-2.345, 2, 1, -2.35}, {2.3449999999999, 2, 0, 2.34}, {2.311, 1, 2, 2.4},
        {-2.311, 1, 2, -2.4}, {2.3999999999999, 1, 0, 2.4},  // a shortfall below 1e-10 unit still counts
        {2.39, 1, 3, 2.3},   {19.63495, 4, 1, 19.635}, {-0.5, 0, 1, -1},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(RoundDig(c.v, c.n, c.mode), c.want, 1e-12) << c.v << " n=" << c.n << " mode=" << c.mode;
    EXPECT_TRUE(std::isnan(RoundDig(std::nan(""), 4, 1)));
}

TEST(Azimuth, GuardsAndQuadrantsAndTheExactRoutineWithout)
{
    const struct { double dx, dy, want, tol, exact; } cases[] = {
        {0, 0, 90, 0, 90},             {100, 0, 0.000579, 1e-6, 0},   {-100, 0, 179.999421, 1e-6, 180},
        {0, 100, 90, 0, 90},           {0, -100, 270, 0, 270},        {5, -1e-10, 180, 0, 359.9999999989},
        {-5, -1e-10, 180, 0, 180.0000000011}, {100, 100, 45.0000000029, 1e-9, 45},
        {100, -100, 314.9999999971, 1e-9, 315}, {-100, -100, 225.0000000029, 1e-9, 225},
        {1, -1e-300, 0.0009923920391, 1e-12, 0},  // a hair west of north: north, not a full turn
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(Azimuth(c.dx, c.dy), c.want, c.tol) << c.dx << "," << c.dy;
        EXPECT_NEAR(AzimuthExact(c.dx, c.dy), c.exact, 1e-9) << c.dx << "," << c.dy;
        EXPECT_LT(AzimuthExact(c.dx, c.dy), 360);
    }
    // A degree or more off the axes both print the same angle text (whole seconds, far from a
    // rounding edge).
    CalcState s;
    for (const double seconds : {3601.0, 111042.0, 320400.0, 644340.0, 720030.0, 1288799.0})
        for (const double length : {0.5, 80000.0}) {
            const double a = seconds / 3600 * DegToRadValue(), dx = length * std::cos(a), dy = length * std::sin(a);
            EXPECT_EQ(AngleText(s, AzimuthExact(dx, dy)), AngleText(s, Azimuth(dx, dy))) << seconds << "\" " << length;
        }
}

TEST(Norm360, OneStepEachWayAndDegDmsPacks)
{
    double a[] = {360, 720.5, -10, 370};
    for (double& v : a) Norm360(v);
    EXPECT_EQ(std::vector<double>(a, a + 4), std::vector<double>({360, 360.5, 350, 10}));
    for (auto [in, want] : {std::pair{45.5125, 45.3045}, {0.5, 0.3}, {-12.25, -12.15}, {90.0, 90.0}})
        EXPECT_NEAR(DegDms(in), want, 1e-12) << in;
}

TEST(DmsFormat, TextsCarriesAndSigns)
{
    const struct { double packed; const char* text; } cases[] = {
        {45.3045, "  45ﾟ30'45.00\""},    {5.0505, "   5ﾟ 5' 5.00\""},
        {-0.3, "  -0ﾟ30' 0.00\""},       {-12.15, " -12ﾟ15' 0.00\""},
        {10.595999999, "  11ﾟ 0' 0.00\""}, {179.5959999, " 180ﾟ 0' 0.00\""},
        {12345.1, "2345ﾟ10' 0.00\""},      // degrees keep only their last four characters
        {-10.595999999, " -11ﾟ 0' 0.00\""},  // a negative carry moves away from zero
    };
    for (const auto& c : cases) EXPECT_EQ(DmsFormat(c.packed).text, QString::fromUtf8(c.text)) << c.packed;
}

TEST(LeadingNumber, TheInputBoxRule)
{
    const double inf = std::numeric_limits<double>::infinity();
    const struct { const char* text; double want; } cases[] = {
        {"12.5", 12.5}, {"  12.5", 12.5}, {"12abc", 12}, {"abc", 0}, {"", 0}, {"-.5", -0.5},
        {"+3", 3},      {"1e3", 1000},    {"1e", 1},     {"2.5.1", 2.5}, {".", 0}, {"-", 0},
        {"1,000", 1},   {"１２．５", 12.5}, {"\t7", 7},  {"1e999", inf}, {"0x10", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(LeadingNumber(QString::fromUtf8(c.text)), c.want) << c.text;
}

TEST(NumberText, FifteenDigitsAndTheSignBlank)
{
    const struct { double v; const char* number; const char* signedText; } cases[] = {
        {12.5, "12.5", " 12.5"}, {100, "100", " 100"}, {-2, "-2", "-2"}, {-0.0, "0", " 0"},
        {1.0 / 3, "0.333333333333333", " 0.333333333333333"},
        {-41.4213562352091, "-41.4213562352091", "-41.4213562352091"},
        {123456.789012345678, "123456.789012346", " 123456.789012346"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NumberText(c.v), c.number) << c.v;
        EXPECT_EQ(SignedNumberText(c.v), c.signedText) << c.v;
    }
}

// The value as shown (15 significant digits) is rounded half away from zero, whatever binary
// fraction lies behind it: 3.60715 is 3.6071499999999998… in binary and still prints 3.6072.
TEST(FixedText, RoundsTheShownDecimalHalfAwayFromZero)
{
    const struct { double v; int decimals; const char* text; } cases[] = {
        {3.60715, 4, "3.6072"}, {-3.60715, 4, "-3.6072"}, {2.675, 2, "2.68"}, {0.0125, 3, "0.013"},
        {-0.00005, 4, "-0.0001"}, {0.000049999, 4, "0.0000"}, {-0.00001, 4, "0.0000"}, {9.99995, 4, "10.0000"},
        {-12.5, 0, "-13"}, {-0.0, 3, "0.000"}, {2.0 / 3, 4, "0.6667"}, {1e-20, 4, "0.0000"},
        {0.49999999999999994, 0, "1"},                       // shown as 0.500000000000000
        {123456789012345678.0, 2, "123456789012346000.00"},  // digits beyond the 15th are zeros
        {std::numeric_limits<double>::infinity(), 4, "inf"},
    };
    for (const auto& c : cases) EXPECT_EQ(FixedText(c.v, c.decimals), c.text) << c.v << " to " << c.decimals;
    EXPECT_EQ(FixedText(std::nan(""), 4), "nan");
    EXPECT_EQ(RightAlign("123456789012", 10), "3456789012");
}

}  // namespace
}  // namespace tovanel
