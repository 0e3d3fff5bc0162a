#include "calc/calcstate.h"
#include "print/pagelayout.h"
#include "print/priform.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>
#include <optional>
#include <vector>

namespace tovanel::test {
namespace {

TEST(PageNumberOf, LeadingNumberRoundedHalfToEvenWithin16Bits)
{
    const std::pair<const char*, std::optional<int16_t>> cases[] = {
        {"2abc", 2},  {"2.5", 2},           {"3.5", 4},           {"", 0},
        {"abc", 0},   {"32767", 32767},     {"-32768", -32768},   {"32767.5", std::nullopt},
        {"99999", std::nullopt}, {"-32769", std::nullopt}, {"1e400", std::nullopt},
    };
    for (const auto& [text, page] : cases) EXPECT_EQ(PageNumberOf(QString::fromUtf8(text)), page) << text;
}

/// Steps of the user: "1=text" / "2=text" types into a box, "1\n" / "2\n" presses Enter in it,
/// "all" clicks すべて.
struct RangeCase {
    const char* name;
    std::vector<const char*> steps;
    int from, to;
    const char* boxes;  // Text1 "|" Text2 afterwards
};

void PrintTo(const RangeCase& c, std::ostream* os) { *os << c.name; }

class Range : public ::testing::TestWithParam<RangeCase> {};

TEST_P(Range, BoxesFollowTheRulesAndOkPrintsTheRangeAsItStands)
{
    const RangeCase& c = GetParam();
    CalcState s;
    s.PrintFrom = 1;
    s.PrintTo = 5;
    PageLayout pl;
    std::vector<std::pair<int, int>> printed;
    PriForm f(s, pl, [&](int a, int b) { printed.emplace_back(a, b); return true; });
    for (const QString step : c.steps) {
        QLineEdit* box = step.startsWith('1') ? f.Text1() : f.Text2();
        if (step == "all") f.Option1()->click();
        else if (step.endsWith('\n')) box == f.Text1() ? f.Text1_KeyPress() : f.Text2_KeyPress();
        else box->setText(step.mid(2));
    }
    EXPECT_EQ(f.Text1()->text() + "|" + f.Text2()->text(), QString::fromUtf8(c.boxes));
    f.Command1()->click();
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_EQ(printed[0], std::make_pair(c.from, c.to));
    EXPECT_EQ(pl.docName(), QStringLiteral("票印刷"));
}

const RangeCase kRanges[] = {
    {"OkAtOnceIsEveryPage", {}, 1, 5, "1|5"},
    {"FirstZeroKeepsThePrevious", {"1=3", "1=0", "1\n"}, 3, 5, "3|5"},
    {"FirstAboveTheCount", {"1=9", "1\n"}, 1, 5, "1|5"},
    {"FirstBelowTheFirstPage", {"1=-2"}, 1, 5, "-2|5"},
    {"LastWithin", {"2=4"}, 1, 4, "1|4"},
    {"LastBelowTheFirstIsTheCount", {"1=3", "2=2", "2\n"}, 3, 5, "3|5"},
    {"LastAboveTheCountIsTheCount", {"2=4", "2=9"}, 1, 5, "1|9"},
    {"FirstRaisedPastTheLastIsTaken", {"2=2", "1=4"}, 4, 2, "4|2"},
    {"TrailingTextIgnored", {"1=2abc"}, 2, 5, "2abc|5"},
    {"HalvesToEven", {"1=2.5", "2=3.5"}, 2, 4, "2.5|3.5"},
    {"Overflowing16BitsIsOutOfRange", {"1=2", "1=99999", "2=99999"}, 2, 5, "99999|99999"},
    {"WrapAroundIsNoPage", {"1=65538", "1\n"}, 1, 5, "1|5"},
    {"AllRestoresTheWholeRange", {"1=3", "2=x", "all"}, 1, 5, "1|5"},
};
INSTANTIATE_TEST_SUITE_P(PriForm, Range, ::testing::ValuesIn(kRanges),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PriForm, EnterInTheBoxesMovesOnWithoutPrinting)
{
    CalcState s;
    s.PrintFrom = 1;
    s.PrintTo = 3;
    PageLayout pl;
    std::vector<std::pair<int, int>> printed;
    PriForm f(s, pl, [&](int a, int b) { printed.emplace_back(a, b); return true; });
    f.show();
    f.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    auto focus = [] { return QApplication::focusWidget(); };
    f.Option2()->click();
    QCoreApplication::processEvents();  // the box selects its text on getting the focus
    ASSERT_EQ(focus(), f.Text1());
    QTest::keyClicks(focus(), QStringLiteral("2"));
    QTest::keyClick(focus(), Qt::Key_Return);
    EXPECT_EQ(focus(), f.Text2());
    QCoreApplication::processEvents();
    QTest::keyClicks(focus(), QStringLiteral("7"));
    QTest::keyClick(focus(), Qt::Key_Enter);
    EXPECT_EQ(f.Text2()->text(), QStringLiteral("3"));
    EXPECT_EQ(focus(), f.Command1());
    EXPECT_TRUE(printed.empty());
    QTest::keyClick(focus(), Qt::Key_Return);  // on OK now
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_EQ(printed[0], std::make_pair(2, 3));
}

}  // namespace
}  // namespace tovanel::test
