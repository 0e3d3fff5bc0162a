// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/clipimport.h"
#include "calc/calcstate.h"

#include <gtest/gtest.h>

namespace tovanel {
namespace {

TEST(ImportPoints, BothEditionsTheirLineRulesAndHugeText)
{
    const QString denta = QStringLiteral("P1\t10.5\t20.25\r\nP2\t100\t100\r\nP3\t 0.000\t200\r\n");
    const QString stravon = QStringLiteral("\tP1\t10.5\t20.25\r\n\tP2\t100\t100\r\n\tP3\t 0.000\t200\r\n");
    const QString wide = QStringLiteral("\tP1\t10.5\t20.25") + QStringLiteral("\tx").repeated(27) + QStringLiteral("\r\n");
    const QString all = QStringLiteral("P1|10.5|20.25;P2|100|100;P3| 0.000|200");  // leading blanks kept
    const QString untouched = QStringLiteral("-||;-||;-||");
    const struct { const char *name, *edition; QString text, expected, error; } cases[] = {
        {"Denta", "1", denta, all, {}},
        {"Stravon", "2", stravon, all, {}},
        {"StravonForAnyOtherValue", "0", stravon, all, {}},
        {"DentaLinesReadAsStravon", "2", denta, QStringLiteral("10.5|20.25|;100|100|; 0.000|200|"), {}},
        {"NoFinalLineEnd", "1", denta.chopped(2), all, {}},
        {"FourLinesUseTheFirstThree", "1", denta + QStringLiteral("P4\t1\t2\r\n"), all, {}},
        {"EmptyFirstLine", "1", QStringLiteral("\r\n") + denta, QStringLiteral("||;P1|10.5|20.25;P2|100|100"), {}},
        {"ThirtyOneFields", "2", wide + stravon, QStringLiteral("P1|10.5|20.25;P1|10.5|20.25;P2|100|100"), {}},
        {"HugeTextEndsQuickly", "1", QStringLiteral("P\t1\t2\n").repeated(200000) + QString(100000, QLatin1Char('\t')),
         QStringLiteral("P|1|2;P|1|2;P|1|2"), {}},
        {"TwoLines", "1", QStringLiteral("P1\t1\t2\r\nP2\t3\t4\r\n"), untouched, kTooFewLines},
        {"CrAloneEndsNoLine", "1", QStringLiteral("a\rb\rc\r"), untouched, kTooFewLines},
    };
    for (const auto& c : cases) {
        CalcState s;
        s.IniStr[5] = QString::fromUtf8(c.edition);
        std::array<ImportedPoint, 3> got;
        got.fill({QStringLiteral("-"), {}, {}});
        EXPECT_EQ(ImportPoints(s, c.text, got), c.error) << c.name;
        QStringList points;
        for (const auto& p : got)
            points << QStringList{p.name, p.x, p.y}.join('|');
        EXPECT_EQ(points.join(';'), c.expected) << c.name;
    }
}

}  // namespace
}  // namespace tovanel
