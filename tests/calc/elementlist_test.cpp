// SPDX-License-Identifier: GPL-3.0-or-later
// Elements are handed on with 17 significant digits exactly as printf's "%.17g" writes them.

#include "calc/elementlist.h"

#include <gtest/gtest.h>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>

namespace tovanel {
namespace {

std::string Printf(double v)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.17g", v);
    return buffer;
}

TEST(ElementList, SeventeenDigitsAsPrintfWritesThem)
{
    std::vector<double> values = {0.0, -0.0, 1, -1, 8, 100, 0.1, 0.5, 1.0 / 3, 1e-4, 9.9999999999999e-5,
                                  999999999999999.9, 1e15, 1e17, 123456789012345678.0, 45.000000002905296,
                                  359.99942300566931, -41.421356235209132, 5e-324, 1.7976931348623157e308,
                                  INFINITY, NAN};
    std::mt19937_64 random(2024);
    std::uniform_real_distribution<double> exponent(-6, 17), mantissa(1, 10);
    for (int i = 0; i < 50000; ++i) {
        values.push_back((random() & 1 ? -1 : 1) * mantissa(random) * std::pow(10.0, std::floor(exponent(random))));
        // Every bit pattern, and whole numbers and their neighbours, where the last digit is decided.
        std::uint64_t bits = random();
        double any = 0;
        std::memcpy(&any, &bits, sizeof any);
        values.push_back(any);
        const double whole = static_cast<double>(i % 5000);
        values.push_back(std::nextafter(whole, 1e300));
        values.push_back(std::nextafter(whole, -1e300));
    }
    int wrong = 0;
    for (double v : values) {
        std::string ours;
        AppendFullDigits(ours, v);
        if (std::isnan(v)) continue;  // printf and the library spell NaN differently; no element is NaN
        if (ours != Printf(v) && ++wrong <= 5) ADD_FAILURE() << ours << " for " << Printf(v);
    }
    EXPECT_EQ(wrong, 0);
}

}  // namespace
}  // namespace tovanel
