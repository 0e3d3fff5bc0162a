// SPDX-License-Identifier: GPL-3.0-or-later
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
    s.CurveIn[kBP] = {0, 0, bx, by};
    s.CurveIn[kIP] = {0, 0, ix, iy, 0, 0, r};
    s.CurveIn[kEP] = {0, 0, ex, ey};
    s.LimitM = limitM;
    s.LimitLP = limitLP;
    s.DivCount = count;
    return s;
}

TEST(CurveElements, RightAndLeftTurnsOfTheWorkedExample)
{
    CalcState r = Corner(0, 0, 100, 100, 0, 200, 100);
    CalcState l = Corner(0, 200, 100, 100, 0, 0, -100);  // reversed, radius typed negative
    ASSERT_EQ(LoadIn(r), "");
    ASSERT_EQ(LoadIn(l), "");
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

struct CountCase { const char* name; CalcState state; double want; };

TEST(CurveElements, DivisionCountChosenOrKept)
{
    const double m8 = 100 * (1 / std::cos(45.0 / 8 * M_PI / 180) - 1);  // ordinate test at n = 8
    const CountCase cases[] = {
        {"ordinate limit", Corner(0, 0, 100, 100, 0, 200, 100, 0.5, 20), 8},
        {"LP limit raises it", Corner(0, 0, 100, 100, 0, 200, 100, 0.5, 15), 11},
        {"given count kept", Corner(0, 0, 100, 100, 0, 200, 100, 0.5, 15, 3), 3},
        {"fraction kept", Corner(0, 0, 100, 100, 0, 200, 100, 0.5, 15, 2.5), 2.5},
        {"value equal to limit", Corner(0, 0, 100, 100, 0, 200, 100, m8 + 1e-9, 1000), 8},
        {"zero radius", Corner(0, 0, 100, 100, 0, 200, 0), 1},
        {"coincident points", Corner(5, 5, 5, 5, 5, 5, 10), 1},
        {"due north tangent", Corner(0, 0, 100, 0, 100, 100, 10, 100, 1000), 1},
    };
    for (const auto& c : cases) {
        CalcState s = c.state;
        ASSERT_EQ(LoadIn(s), "") << c.name;
        EXPECT_EQ(s.DivCount, c.want) << c.name;
    }
    CalcState north = cases[7].state;
    ASSERT_EQ(LoadIn(north), "");
    EXPECT_NEAR(north.IA, 89.999421, 1e-6) << "AzIn carries the guard, 0.000579";
}

TEST(CurveElements, RefusesWhatCannotBeComputed)
{
    const double nan = std::nan(""), inf = std::numeric_limits<double>::infinity();
    const CountCase cases[] = {
        {"zero ordinate limit", Corner(0, 0, 100, 100, 0, 200, 100, 0, 20), 0},
        {"negative LP limit", Corner(0, 0, 100, 100, 0, 200, 100, 0.5, -1), 0},
        {"NaN limit", Corner(0, 0, 100, 100, 0, 200, 100, nan, 20), 0},
        {"negative count", Corner(0, 0, 100, 100, 0, 200, 100, 0.5, 20, -2), -2},
        {"count above the maximum", Corner(0, 0, 100, 100, 0, 200, 100, 0.5, 20, kMaxDivCount + 1), kMaxDivCount + 1},
        {"NaN coordinate", Corner(nan, 0, 100, 100, 0, 200, 100), 0},
        {"infinite radius", Corner(0, 0, 100, 100, 0, 200, inf), 0},
        // the limits would need ~1e151 divisions: refused instead of counting for ever
        {"huge radius, open count", Corner(0, 0, 100, 100, 0, 200, 1e300), 0},
        {"differences overflow", Corner(-1e308, 0, 1e308, 0, 1e308, 1e308, 10), 0},
        {"squares overflow", Corner(1e200, 0, 1e200 + 1e190, 0, 1e200, 1e190, 10, 0.5, 20, 8), 8},
    };
    for (const auto& c : cases) {
        CalcState s = c.state;
        EXPECT_FALSE(LoadIn(s).isEmpty()) << c.name;
        EXPECT_EQ(s.DivCount, c.want) << c.name << ": the count is not fixed";
    }
    CalcState huge = Corner(0, 0, 100, 100, 0, 200, 1e300, 0.5, 20, 8);
    EXPECT_EQ(LoadIn(huge), "") << "a given count computes huge radii";
    CalcState reverse = Corner(0, 0, 100, 0, 0, 0, 10, 0.5, 20, 8);
    ASSERT_EQ(LoadIn(reverse), "");
    EXPECT_NEAR(reverse.IA, 180, 0.01);
    EXPECT_TRUE(std::isfinite(reverse.TL));
}

}  // namespace
}  // namespace tovanel
