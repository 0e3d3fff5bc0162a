// SPDX-License-Identifier: GPL-3.0-or-later
// The print dialog: the range boxes with their change and Enter rules, and what OK prints.

#include "calc/calcstate.h"
#include "print/pagelayout.h"
#include "print/priform.h"

#include "qstringprint.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>
#include <vector>

namespace tovanel::test {
namespace {

/// Steps of the user: "1=text" / "2=text" types into a box, "1\n" / "2\n" presses Enter in it,
/// "all" clicks すべて.
struct RangeCase { const char* name; std::vector<const char*> steps; int from, to; const char* boxes; };

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
    EXPECT_EQ(printed, (std::vector<std::pair<int, int>>{{c.from, c.to}})) << "one job, this range";
    EXPECT_EQ(pl.docName(), QStringLiteral("票印刷"));
}

const RangeCase kRanges[] = {
    // from, to: what OK prints; boxes: Text1 "|" Text2 afterwards.
    {"OkAtOnceIsEveryPage", {}, 1, 5, "1|5"},
    {"FirstZeroKeepsThePrevious", {"1=3", "1=0", "1\n"}, 3, 5, "3|5"},
    {"FirstAboveTheCount", {"1=9", "1\n"}, 1, 5, "1|5"},
    {"FirstBelowTheFirstPage", {"1=-2"}, 1, 5, "-2|5"},
    {"LastBelowTheFirstIsTheCount", {"1=3", "2=2", "2\n"}, 3, 5, "3|5"},
    {"LastAboveTheCountIsTheCount", {"2=4", "2=9"}, 1, 5, "1|9"},
    {"FirstRaisedPastTheLastIsTaken", {"2=2", "1=4"}, 4, 2, "4|2"},
    {"TrailingTextIgnored", {"1=2abc"}, 2, 5, "2abc|5"},
    {"HalvesToEven", {"1=2.5", "2=3.5"}, 2, 4, "2.5|3.5"},
    {"Overflowing16BitsIsOutOfRange", {"1=2", "1=99999", "2=99999"}, 2, 5, "99999|99999"},
    {"WrapAroundIsNoPage", {"1=65538", "1\n"}, 1, 5, "1|5"},
    {"AllRestoresTheWholeRange", {"1=3", "2=x", "all"}, 1, 5, "1|5"},
    // Enter shows the accepted values; an unchanged text changes nothing behind the boxes' back.
    {"EnterKeepsWhatTheBoxesShow", {"2=2", "1=3", "1\n", "2\n"}, 3, 2, "3|2"},
};
// Keys typed from where the dialog opens (the option すべて): Enter presses the focused button
// only; the Enter path of the range boxes ends on OK, and the next Enter prints.
TEST(PriForm, EnterPressesTheFocusedButtonOnly)
{
    const struct { const char* name; std::vector<int> keys; int jobs; bool open; } cases[] = {
        {"on an option", {Qt::Key_Return}, 0, true},
        {"through the boxes to OK", {Qt::Key_Tab, Qt::Key_Return, Qt::Key_Enter}, 0, true},
        {"and once more prints", {Qt::Key_Tab, Qt::Key_Return, Qt::Key_Return, Qt::Key_Return}, 1, false},
        {"on cancel", {Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Return}, 0, false},
        {"the other option", {Qt::Key_Down, Qt::Key_Return}, 0, true},
    };
    for (const auto& c : cases) {
        CalcState s;
        s.PrintFrom = 1;
        s.PrintTo = 5;
        PageLayout pl;
        int jobs = 0;
        PriForm f(s, pl, [&](int, int) { ++jobs; return true; });
        f.show();
        f.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
        for (int key : c.keys) QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key));
        EXPECT_EQ(jobs, c.jobs) << c.name;
        EXPECT_EQ(f.isVisible(), c.open) << c.name;
    }
}

INSTANTIATE_TEST_SUITE_P(PriForm, Range, ::testing::ValuesIn(kRanges),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tovanel::test
