// SPDX-License-Identifier: GPL-3.0-or-later
// Elements are handed on with 17 significant digits exactly as printf's "%.17g" writes them.

#include "calc/elementlist.h"

#include <gtest/gtest.h>
#include <bit>
#include <cmath>
#include <cstdio>
#include <random>

namespace tovanel {
namespace {

TEST(ElementList, SeventeenDigitsAsPrintfWritesThem)
{
    std::vector<double> values = {-0.0, 0.1, 1.0 / 3, 9.9999999999999e-5, 999999999999999.9, 1e17,
                                  123456789012345678.0, 359.99942300566931, 5e-324, 1.7976931348623157e308, INFINITY};
    std::mt19937_64 random(2024);
    std::uniform_real_distribution<double> exponent(-6, 17), mantissa(1, 10);
    for (int i = 0; i < 50000; ++i) {
        values.push_back((random() & 1 ? -1 : 1) * mantissa(random) * std::pow(10.0, std::floor(exponent(random))));
        // Every bit pattern, and whole numbers and their neighbours, where the last digit is decided.
        values.push_back(std::bit_cast<double>(static_cast<std::uint64_t>(random())));
        values.push_back(std::nextafter(i % 5000, 1e300));
        values.push_back(std::nextafter(i % 5000, -1e300));
    }
    int wrong = 0;
    for (double v : values) {
        std::string ours;
        AppendFullDigits(ours, v);
        if (std::isnan(v)) continue;  // printf and the library spell NaN differently; no element is NaN
        char printf[64];
        std::snprintf(printf, sizeof printf, "%.17g", v);
        if (ours != printf && ++wrong <= 5) ADD_FAILURE() << ours << " for " << printf;
    }
    EXPECT_EQ(wrong, 0);
}

}  // namespace
}  // namespace tovanel
