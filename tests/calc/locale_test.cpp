// SPDX-License-Identifier: GPL-3.0-or-later
// Numbers read and print the same whatever the process locale: Qt takes the locale from the
// environment at start-up, and a comma-decimal locale must not turn "50.25" into 50.

#include "calc/calcstate.h"
#include "calc/numeric.h"
#include "calc/settingsfile.h"
#include "support/commalocale.h"
#include "support/files.h"

#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <clocale>
#include <cstdlib>
#include <string>

namespace tovanel {
namespace {

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

    const struct { const char* text; double want; } cases[] = {
        {"50.25", 50.25}, {" -.5", -0.5}, {"1.5e3", 1500}, {"１２．５", 12.5}, {"1,5", 1},
    };
    for (const auto& c : cases) EXPECT_EQ(LeadingNumber(QString::fromUtf8(c.text)), c.want) << c.text;
    EXPECT_EQ(FixedText(50.25, 4), "50.2500");
    EXPECT_EQ(NumberText(0.1 + 0.2), "0.3");
    CalcState s;
    EXPECT_EQ(AngleText(s, 45.5125), QString::fromUtf8("  45ﾟ30'45.00\""));

    QTemporaryDir dir;
    const QString path = dir.filePath("Tovanel.INI");
    DefaultSettings(s);
    s.IniNum[3] = 0.05;
    s.IniNum[6] = 1.0 / 3;
    ASSERT_EQ(WriteSettings(path, s), "");
    EXPECT_TRUE(test::ReadAll(path).startsWith("4\r\n3\r\n0.05\r\n10\r\n0.01\r\n0.3333333333333333\r\n"));
    CalcState back;
    EXPECT_TRUE(ReadSettings(path, back).isEmpty());
    EXPECT_EQ(back.IniNum, s.IniNum);
}

}  // namespace
}  // namespace tovanel
