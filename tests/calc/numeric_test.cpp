// SPDX-License-Identifier: GPL-3.0-or-later
// Numeric, angle and text routines; the 17-digit element texts; a comma-decimal locale.

#include "calc/settings.h"
#include "calc/elementlist.h"
#include "calc/numeric.h"
#include "calc/settingsfile.h"
#include "support/commalocale.h"
#include "support/files.h"

#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <bit>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>

namespace tovanel {
namespace {

TEST(RoundDig, ModesAndSigns)
{
    const struct { double v; int n, mode; double want; } cases[] = {
        {-2.345, 2, 1, -2.35}, {2.3449999999999, 2, 0, 2.34}, {-2.311, 1, 2, -2.4},
        {2.3999999999999, 1, 0, 2.4},  // a shortfall below 1e-10 unit still counts
        {2.39, 1, 3, 2.3}, {19.63495, 4, 1, 19.635}, {-0.5, 0, 1, -1},
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
    }
    // A degree or more off the axes both print the same angle text.
    for (const double seconds : {3601.0, 111042.0, 320400.0, 644340.0, 720030.0, 1288799.0})
        for (const double length : {0.5, 80000.0}) {
            const double a = seconds / 3600 * DegToRad, dx = length * std::cos(a), dy = length * std::sin(a);
            EXPECT_EQ(AngleText(AzimuthExact(dx, dy)), AngleText(Azimuth(dx, dy))) << seconds << "\" " << length;
        }
}

TEST(DmsFormat, PackingTextsCarriesAndSigns)
{
    for (auto [in, want] : {std::pair{45.5125, 45.3045}, {0.5, 0.3}, {-12.25, -12.15}, {90.0, 90.0}})
        EXPECT_NEAR(DegDms(in), want, 1e-12) << in;
    const struct { double packed; const char* text; } cases[] = {
        {45.3045, "  45ﾟ30'45.00\""},    {5.0505, "   5ﾟ 5' 5.00\""},
        {-0.3, "  -0ﾟ30' 0.00\""},       {-12.15, " -12ﾟ15' 0.00\""},
        {10.595999999, "  11ﾟ 0' 0.00\""}, {179.5959999, " 180ﾟ 0' 0.00\""},
        {12345.1, "2345ﾟ10' 0.00\""},      // degrees keep only their last four characters
        {-10.595999999, " -11ﾟ 0' 0.00\""},  // a negative carry moves away from zero
    };
    for (const auto& c : cases) EXPECT_EQ(DmsFormat(c.packed).text, QString::fromUtf8(c.text)) << c.packed;
}

// Both number rules: the numbers fuzz target holds them against restatements on any text.
TEST(LeadingNumber, TheInputBoxRule)
{
    const struct { const char* text; double want; } cases[] = {
        {"  12.5", 12.5}, {"12abc", 12}, {"abc", 0}, {"-.5", -0.5}, {"1e", 1}, {"2.5.1", 2.5},
        {"1,000", 1},     {"１２．５", 12.5}, {"1e999", std::numeric_limits<double>::infinity()}, {"0x10", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(LeadingNumber(QString::fromUtf8(c.text)), c.want) << c.text;
}

TEST(StrictNumber, TheWholeTextOrNothing)
{
    // `plain`: the ASCII text read, or nullptr for no number.
    const struct { const char* text; double want; const char* plain; } cases[] = {
        {"  -3 ", -3, "-3"}, {"+.5", 0.5, "+.5"}, {"5.", 5, "5."}, {"１２．５", 12.5, "12.5"}, {"−3", -3, "-3"},
        {"　7　", 7, "7"}, {"-123,455.670", -123455.67, "-123455.670"}, {"１，２３４", 1234, "1234"},
        {"1,23", 0, nullptr}, {"12,3456", 0, nullptr}, {"0,123", 0, nullptr}, {"1.5,000", 0, nullptr},
        {"  ", 0, nullptr}, {"nan", 0, nullptr}, {"-inf", 0, nullptr}, {"1e999", 0, nullptr},
        {"12.5m", 0, nullptr}, {"1 2", 0, nullptr}, {".", 0, nullptr}, {"1e+", 0, nullptr}, {"①", 0, nullptr},
    };
    for (const auto& c : cases) {
        QString plain;
        const std::optional<double> v = StrictNumber(QString::fromUtf8(c.text), &plain);
        ASSERT_EQ(v.has_value(), c.plain != nullptr) << c.text;
        if (!v) continue;
        EXPECT_EQ(*v, c.want) << c.text;
        EXPECT_EQ(plain, QString::fromLatin1(c.plain)) << c.text;
    }
    EXPECT_FALSE(StrictNumber(QStringLiteral("12") + QChar(0))) << "a NUL at the end";
}

// The sign blank and reading back within the fifteenth digit: the numbers fuzz target, any double.
TEST(NumberText, FifteenDigitsAndTheSignBlank)
{
    for (auto [v, text] : {std::pair{100.0, "100"}, {-0.0, "0"}, {1.0 / 3, "0.333333333333333"},
                           {123456.789012345678, "123456.789012346"}})
        EXPECT_EQ(NumberText(v), text) << v;
    EXPECT_EQ(SignedNumberText(8) + SignedNumberText(-0.0), " 8 0");
}

// The 15-digit decimal is rounded half away from zero: 3.60715 (…4999… in binary) prints 3.6072.
TEST(FixedText, RoundsTheShownDecimalHalfAwayFromZero)
{
    const struct { double v; int decimals; const char* text; } cases[] = {
        {3.60715, 4, "3.6072"}, {-3.60715, 4, "-3.6072"}, {2.675, 2, "2.68"}, {0.0125, 3, "0.013"},
        {-0.00005, 4, "-0.0001"}, {0.000049999, 4, "0.0000"}, {-0.00001, 4, "0.0000"}, {9.99995, 4, "10.0000"},
        {-12.5, 0, "-13"}, {-0.0, 3, "0.000"},
        {0.49999999999999994, 0, "1"},                       // shown as 0.500000000000000
        {123456789012345678.0, 2, "123456789012346000.00"},  // digits beyond the 15th are zeros
        {std::numeric_limits<double>::infinity(), 4, "inf"}, {std::nan(""), 4, "nan"},
    };
    for (const auto& c : cases) EXPECT_EQ(FixedText(c.v, c.decimals), c.text) << c.v << " to " << c.decimals;
    EXPECT_EQ(RightAlign("123456789012", 10), "3456789012");
}

// Elements are handed on with 17 significant digits exactly as printf's "%.17g" writes them.
TEST(ElementList, SeventeenDigitsAsPrintfWritesThem)
{
    int wrong = 0;
    const auto check = [&](double v) {  // NaN is spelt differently by printf; no element is NaN
        std::string ours;
        AppendFullDigits(ours, v);
        char printf[64];
        std::snprintf(printf, sizeof printf, "%.17g", v);
        if (!std::isnan(v) && ours != printf && ++wrong <= 5) ADD_FAILURE() << ours << " for " << printf;
    };
    for (double v : {-0.0, 0.1, 1.0 / 3, 9.9999999999999e-5, 999999999999999.9, 1e17, 123456789012345678.0,
                     359.99942300566931, 5e-324, 1.7976931348623157e308, HUGE_VAL})
        check(v);
    std::mt19937_64 random(2024);
    std::uniform_real_distribution<double> exponent(-6, 17), mantissa(1, 10);
    for (int i = 0; i < 50000; ++i) {
        check((random() & 1 ? -1 : 1) * mantissa(random) * std::pow(10.0, std::floor(exponent(random))));
        // Every bit pattern, and whole numbers and their neighbours, where the last digit is decided.
        check(std::bit_cast<double>(static_cast<std::uint64_t>(random())));
        check(std::nextafter(i % 5000, 1e300));
        check(std::nextafter(i % 5000, -1e300));
    }
    EXPECT_EQ(wrong, 0);
}

TEST(CommaLocale, NumbersReadAndPrintWithThePoint)
{
    QTemporaryDir folder;
    if (const QString problem = test::MakeCommaLocale(folder.path()); !problem.isEmpty())
        GTEST_SKIP() << problem.toStdString();
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    const auto restore = qScopeGuard([&] {
        std::setlocale(LC_ALL, previous.c_str());
        unsetenv("LOCPATH");
    });
    setenv("LOCPATH", QFile::encodeName(folder.path()).constData(), 1);
    ASSERT_NE(std::setlocale(LC_ALL, test::kCommaLocale), nullptr);
    ASSERT_STREQ(std::localeconv()->decimal_point, ",") << "the locale must really use a comma";

    for (const auto& [text, want] : {std::pair{" -.5", -0.5}, {"1.5e3", 1500}, {"1,5", 1}})
        EXPECT_EQ(LeadingNumber(QString::fromUtf8(text)), want) << text;
    EXPECT_EQ(StrictNumber(QStringLiteral("1,5")), std::nullopt) << "a comma is no decimal point";
    EXPECT_EQ(FixedText(50.25, 4), "50.2500");
    EXPECT_EQ(NumberText(0.1 + 0.2), "0.3");
    EXPECT_EQ(AngleText(45.5125), QString::fromUtf8("  45ﾟ30'45.00\""));

    const QString path = folder.filePath("Tovanel.INI");
    Settings s = DefaultSettings();
    s.setNumberLine(3, 0.05);
    s.setNumberLine(6, 1.0 / 3);
    ASSERT_EQ(WriteSettings(path, s), "");
    EXPECT_TRUE(test::ReadAll(path).startsWith("4\r\n3\r\n0.05\r\n10\r\n0.01\r\n0.3333333333333333\r\n"));
    Settings back;
    EXPECT_TRUE(ReadSettings(path, back).isEmpty());
    EXPECT_EQ(back, s);
}

}  // namespace
}  // namespace tovanel
