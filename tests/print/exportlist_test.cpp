// The export list and its clipboard text.

#include "calc/calcstate.h"
#include "print/exportlist.h"

#include "qstringprint.h"

#include <gtest/gtest.h>

namespace tovanel {
namespace {

void Add(CalcState& s, const QString& name, double x, double y)
{
    s.ExpName = name;
    s.ExpX = x;
    s.ExpY = y;
    PointAdd(s);
}

TEST(ExportList, GrowsPastAThousandEntries)
{
    CalcState s;
    for (int k = 1; k <= 3050; ++k) Add(s, QString::number(k), k, -k);
    ASSERT_EQ(s.ExpCount, 3050);
    EXPECT_EQ(s.ExpNames[3050], "3050");
    EXPECT_EQ(s.ExpCoords[3050][2], -3050);
    EXPECT_EQ(BuildExportText(s).count, 3050);
}

TEST(ExportList, TextForBothEditionsDropsOnlyARepeatOfTheLineBefore)
{
    // The first name is empty (equal to the empty previous name: left out); EC comes twice in a
    // row (written once); BC comes back later and "bc" differs by case (both written).
    const QString body[] = {"BC 12\t12.5\t100\r\n", "EC 12\t-0.1\t3.14159265358979\r\n",
                            "BC 12\t1\t2\r\n", "bc 12\t1234567.891\t0\r\n"};
    const struct {
        const char* edition;
        const char* leadIn;
    } cases[] = {{"1", ""}, {"2", "\t"}, {"", "\t"}, {"1 ", "\t"}};
    for (const auto& c : cases) {
        CalcState s;
        s.IniStr[5] = c.edition;
        Add(s, "", 9, 9);
        Add(s, "BC 12", 12.5, 100.0);
        Add(s, "EC 12", -0.1, 3.14159265358979323);
        Add(s, "EC 12", 7, 7);
        Add(s, "BC 12", 1, 2);
        Add(s, "bc 12", 1234567.891, -0.0);
        QString expected;
        for (const QString& line : body) expected += QString::fromLatin1(c.leadIn) + line;
        const ExportText t = BuildExportText(s);
        EXPECT_EQ(t.text, expected) << "edition '" << c.edition << "'";
        EXPECT_EQ(t.count, 4) << "lines written, not entries";
    }
    EXPECT_EQ(ExportMessage(31), " 31点の座標値をクリップボードに貼り付けました。");
}

}  // namespace
}  // namespace tovanel
