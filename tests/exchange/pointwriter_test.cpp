// SPDX-License-Identifier: GPL-3.0-or-later
// Point files going out: exact CP932 texts of each turn; names written exactly or refused.

#include "exchange/pointwriter.h"

#include "calc/settingsfile.h"
#include "calc/exportlist.h"

#include "../sheets/sheetfixture.h"

#include <gtest/gtest.h>

namespace tovanel {
namespace {

QString Decoded(const QByteArray& bytes)
{
    QString text;
    EXPECT_TRUE(DecodeCp932(bytes, text));
    return text;
}

TEST(PointWriter, SimaAndCsvOfASmallCornerOfEachTurn)
{
    // A right quarter turn, then the left one circumscribed with one division: EC listed twice,
    // written once; the R − 1 curve takes the outer prefix.
    const test::Doc right({.ix = 10, .iy = 10, .ey = 20, .r = 10, .wi = 1, .wo = 2, .type = 0, .n = 2, .ip = "交1"});
    const test::Doc left({.by = 20, .ix = 10, .iy = 10, .ey = 0, .r = 10, .wi = 1, .wo = 2, .type = 2, .n = 1, .ip = "7"});
    ASSERT_EQ(right.refusal + left.refusal, "");
    QByteArray sima, csv;
    ASSERT_TRUE(SimaFile(ExportPoints(right.exports), QStringLiteral("交1"), sima).isEmpty());
    EXPECT_EQ(Decoded(sima), QStringLiteral(
        "G00,01,交1,\r\n"
        "Z00,座標ﾃﾞｰﾀ,\r\n"
        "A00,\r\n"
        "A01,1,BC 交1,2.929,2.929,,\r\n"
        "A01,2,SP 交1,5.858,10.000,,\r\n"
        "A01,3,EC 交1,2.929,17.071,,\r\n"
        "A01,4,M 交1,-4.142,10.000,,\r\n"
        "A01,5,交1CBC,2.929,2.929,,\r\n"
        "A01,6,交1C 1,5.858,10.000,,\r\n"
        "A01,7,交1CEC,2.929,17.071,,\r\n"
        "A01,8,交1IBC,2.222,3.636,,\r\n"
        "A01,9,交1I 1,4.858,10.000,,\r\n"
        "A01,10,交1IEC,2.222,16.364,,\r\n"
        "A01,11,交1OBC,4.343,1.515,,\r\n"
        "A01,12,交1O 1,7.858,10.000,,\r\n"
        "A01,13,交1OEC,4.343,18.485,,\r\n"
        "A99,\r\n"));

    ASSERT_TRUE(CsvFile(ExportPoints(left.exports), csv).isEmpty());
    EXPECT_EQ(Decoded(csv), QStringLiteral(
        "点番号,点名,X,Y\r\n"
        "1,BC 7,2.929,17.071\r\n"
        "2,SP 7,5.858,10.000\r\n"
        "3,EC 7,2.929,2.929\r\n"
        "4,M 7,-4.142,10.000\r\n"
        "5,7CBC,2.929,17.071\r\n"
        "6,7C 1,10.000,10.000\r\n"
        "7,7CEC,2.929,2.929\r\n"
        "8,7OBC,2.222,16.364\r\n"
        "9,7O 1,8.586,10.000\r\n"
        "10,7OEC,2.222,3.636\r\n"
        "11,7IBC,4.343,18.485\r\n"
        "12,7I 1,12.828,10.000\r\n"
        "13,7IEC,4.343,1.515\r\n"));
}

TEST(PointWriter, NamesAreWrittenExactlyOrRefusedNeverReplaced)
{
    // What the SIMA and the CSV refusal say ("" when written), and the name as the CSV line holds it.
    const struct { const char *name, *sima, *csv, *csvField; } cases[] = {
        {"a,b", "カンマ", "", "\"a,b\""},
        {"say \"x\"", "", "", "\"say \"\"x\"\"\""},
        {" pad ", "", "", "\" pad \""},
        {"表Ⅱ①ｿ", "", "", "表Ⅱ①ｿ"},
        {"P😀", "「😀」は CP932", "「😀」は CP932", ""},
        {"P\r\n1", "制御文字", "制御文字", ""},
    };
    for (const auto& c : cases) {
        const QString name = QString::fromUtf8(c.name);
        const std::vector<ExportPoint> points = {{QStringLiteral("BP"), 1, 2}, {name, 3, 4}};
        QByteArray sima = "old", csv = "old";
        const QString simaWhy = SimaFile(points, QString(), sima), csvWhy = CsvFile(points, csv);
        EXPECT_TRUE(*c.sima ? simaWhy.contains(QString::fromUtf8(c.sima)) : simaWhy.isEmpty())
            << c.name << ": " << simaWhy.toStdString();
        if (*c.sima) {
            EXPECT_EQ(sima, "old") << c.name << ": a refused file leaves the bytes alone";
        }
        EXPECT_TRUE(*c.csv ? csvWhy.contains(QString::fromUtf8(c.csv)) : csvWhy.isEmpty()) << c.name << ": " << csvWhy.toStdString();
        if (csvWhy.isEmpty()) {
            EXPECT_TRUE(Decoded(csv).endsWith(QStringLiteral("2,%1,3.000,4.000\r\n").arg(QString::fromUtf8(c.csvField)))) << c.name;
        }
    }
    QByteArray out;
    EXPECT_FALSE(SimaFile({{QStringLiteral("a"), 1, 2}}, QStringLiteral("x,y"), out).isEmpty()) << "site name";
    EXPECT_TRUE(CsvFile({{QStringLiteral("a"), std::nan(""), 2}}, out).contains(QStringLiteral("数値")));
}

}  // namespace
}  // namespace tovanel
