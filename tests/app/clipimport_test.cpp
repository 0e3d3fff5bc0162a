#include "app/clipimport.h"
#include "calc/calcstate.h"

#include <gtest/gtest.h>

namespace tovanel {
namespace {

struct ImportCase {
    const char* name;
    const char* edition;
    QString text;
    QString error;
    std::array<ImportedPoint, 3> points;
};

void PrintTo(const ImportCase& c, std::ostream* os)
{
    *os << c.name;
}

std::vector<ImportCase> ImportCases()
{
    const ImportedPoint bp{QStringLiteral("P1"), QStringLiteral("10.5"), QStringLiteral("20.25")};
    const ImportedPoint ip{QStringLiteral("P2"), QStringLiteral("100"), QStringLiteral("100")};
    const ImportedPoint ep{QStringLiteral("P3"), QStringLiteral(" 0.000"), QStringLiteral("200")};
    const QString denta = QStringLiteral("P1\t10.5\t20.25\r\nP2\t100\t100\r\nP3\t 0.000\t200\r\n");
    const QString stravon = QStringLiteral("\tP1\t10.5\t20.25\r\n\tP2\t100\t100\r\n\tP3\t 0.000\t200\r\n");
    const QString wide = QStringLiteral("\tP1\t10.5\t20.25") + QStringLiteral("\tx").repeated(27);
    const ImportedPoint none{QStringLiteral("(unchanged)"), {}, {}};
    const ImportedPoint xy{QStringLiteral("10.5"), QStringLiteral("20.25"), {}};
    return {
        {"Denta", "1", denta, {}, {bp, ip, ep}},
        {"Stravon", "2", stravon, {}, {bp, ip, ep}},
        {"StravonForAnyOtherValue", "0", stravon, {}, {bp, ip, ep}},
        {"DentaLineReadAsStravon", "2", denta, {}, {xy, {QStringLiteral("100"), QStringLiteral("100"), {}},
                                                    {QStringLiteral(" 0.000"), QStringLiteral("200"), {}}}},
        {"LfOnly", "1", QString(denta).remove(QLatin1Char('\r')), {}, {bp, ip, ep}},
        {"NoFinalLineEnd", "1", denta.chopped(2), {}, {bp, ip, ep}},
        {"FourLinesUseTheFirstThree", "1", denta + QStringLiteral("P4\t1\t2\r\n"), {}, {bp, ip, ep}},
        {"EmptyFirstLine", "1", QStringLiteral("\r\n") + denta, {}, {ImportedPoint{}, bp, ip}},
        {"ThirtyOneFields", "2", wide + QStringLiteral("\r\n") + stravon, {}, {bp, bp, ip}},
        {"TwoLines", "1", QStringLiteral("P1\t1\t2\r\nP2\t3\t4\r\n"), kTooFewLines, {none, none, none}},
        {"EmptyText", "1", QString(), kTooFewLines, {none, none, none}},
        {"CrAloneEndsNoLine", "1", QStringLiteral("a\rb\rc\r"), kTooFewLines, {none, none, none}},
    };
}

class Import : public ::testing::TestWithParam<ImportCase> {};

TEST_P(Import, FillsNamesAndCoordinatesAsText)
{
    const ImportCase& c = GetParam();
    CalcState s;
    s.IniStr[5] = QString::fromUtf8(c.edition);
    const ImportedPoint none{QStringLiteral("(unchanged)"), {}, {}};
    std::array<ImportedPoint, 3> got{none, none, none};
    EXPECT_EQ(ImportPoints(s, c.text, got), c.error);
    for (size_t n = 0; n < 3; ++n)
        EXPECT_TRUE(got[n].name == c.points[n].name && got[n].x == c.points[n].x && got[n].y == c.points[n].y)
            << n << ": " << got[n].name.toStdString() << "|" << got[n].x.toStdString() << "|"
            << got[n].y.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Clipboard, Import, ::testing::ValuesIn(ImportCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ImportPoints, HugeTextEndsQuickly)
{
    CalcState s;
    s.IniStr[5] = QStringLiteral("1");
    std::array<ImportedPoint, 3> got;
    EXPECT_TRUE(ImportPoints(s, QStringLiteral("P\t1\t2\n").repeated(200000) + QString(100000, QLatin1Char('\t')), got)
                    .isEmpty());
    EXPECT_EQ(got[2].y, QStringLiteral("2"));
}

}  // namespace
}  // namespace tovanel
