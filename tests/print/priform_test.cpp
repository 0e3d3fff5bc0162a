// SPDX-License-Identifier: GPL-3.0-or-later
// The print dialog: the range boxes with their change and Enter rules, the keys, and what OK prints.

#include "print/pagelayout.h"
#include "print/priform.h"

#include "qstringprint.h"

#include <QApplication>
#include <QKeySequence>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QTest>
#include <gtest/gtest.h>
#include <vector>

namespace tovanel::test {
namespace {

using Jobs = std::vector<std::pair<int, int>>;

// Steps of the user over a document of 5 pages: "1=text" / "2=text" types into a box, "1\n" /
// "2\n" runs the box's Enter rule, "all" clicks すべて, and a key name is typed where the focus is
// (from the option すべて, where the dialog opens); "@name" checks that the focus is on that
// control and shows there: the box has the caret, a button its focus mark (drawn otherwise than
// without the focus). OK is then clicked if the dialog is still open.
TEST(PriForm, RangeBoxesEnterAndOkPrintTheRangeAsItStands)
{
    const struct { const char* name; std::vector<const char*> steps; const char* boxes; bool open; Jobs jobs; } cases[] = {
        // boxes: Text1 "|" Text2 afterwards; open: after the steps; jobs: every range printed.
        {"a first page of 0 keeps the previous", {"1=3", "1=0", "1\n"}, "3|5", true, {{3, 5}}},
        {"a last page below the first is the count", {"1=3", "2=2", "2\n"}, "3|5", true, {{3, 5}}},
        {"a last page above the count is the count", {"2=4", "2=9"}, "1|9", true, {{1, 5}}},
        {"a first page raised past the last is taken", {"2=2", "1=4"}, "4|2", true, {{4, 2}}},
        {"halves to even", {"1=2.5", "2=3.5"}, "2.5|3.5", true, {{2, 4}}},
        {"overflowing 16 bits is out of range", {"1=2", "1=99999", "2=99999"}, "99999|99999", true, {{2, 5}}},
        {"wrapping around 16 bits is no page", {"1=65538", "1\n"}, "1|5", true, {{1, 5}}},
        {"すべて restores the whole range", {"1=3", "2=x", "all"}, "1|5", true, {{1, 5}}},
        // Enter shows the accepted values; an unchanged text changes nothing behind the boxes' back.
        {"Enter keeps what the boxes show", {"2=2", "1=3", "1\n", "2\n"}, "3|2", true, {{3, 2}}},
        // Enter presses the focused button only (OK as the dialog opens prints every page); the
        // Enter path of the range boxes ends on OK, and the next Enter prints.
        {"Enter on an option", {"Return"}, "1|5", true, {{1, 5}}},
        {"an arrow key chooses ページ指定 and the focus goes into its box", {"Down", "@Text1", "Tab", "@Text2"}, "1|5", true, {{1, 5}}},
        {"Enter moves the focus to OK, which shows it", {"Tab", "Return", "@Text2", "Enter", "@Command1"}, "1|5", true, {{1, 5}}},
        {"Enter through the boxes to OK, which prints", {"Tab", "Return", "Enter", "Return"}, "1|5", false, {{1, 5}}},
        {"Enter on cancel", {"Tab", "Tab", "Tab", "Tab", "Return"}, "1|5", false, {}},
    };
    for (const auto& c : cases) {
        PageLayout pl;
        Jobs printed;
        PriForm f(pl, QString(), {1, 5}, [&](int a, int b) { printed.emplace_back(a, b); return true; });
        f.show();
        f.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
        for (const QString step : c.steps) {
            QLineEdit* box = step.startsWith('1') ? f.Text1() : f.Text2();
            if (step.startsWith('@')) {
                QTest::qWait(20);  // what the key started has run
                QWidget* focus = QApplication::focusWidget();
                ASSERT_TRUE(focus) << c.name;
                EXPECT_EQ(focus->objectName(), step.mid(1)) << c.name;
                if (auto* button = qobject_cast<QPushButton*>(focus)) {
                    QStyleOptionButton option;
                    option.initFrom(button);
                    EXPECT_TRUE(option.state & QStyle::State_HasFocus) << c.name;
                    EXPECT_TRUE(option.state & QStyle::State_KeyboardFocusChange) << c.name;
                    const QImage focused = button->grab().toImage();
                    f.Command2()->setFocus();
                    EXPECT_NE(focused, button->grab().toImage()) << c.name << ": no focus mark";
                    button->setFocus();
                } else if (auto* box = qobject_cast<QLineEdit*>(focus)) {
                    EXPECT_TRUE(box->hasFocus()) << c.name;
                    EXPECT_TRUE(box->window()->isActiveWindow()) << c.name;
                }
            } else if (step == "all") f.Option1()->click();
            else if (step.endsWith('\n')) box == f.Text1() ? f.Text1_KeyPress() : f.Text2_KeyPress();
            else if (step[1] == '=') box->setText(step.mid(2));
            else QTest::keyClick(QApplication::focusWidget(), QKeySequence(step)[0].key());
        }
        EXPECT_EQ(f.Text1()->text() + "|" + f.Text2()->text(), QString::fromUtf8(c.boxes)) << c.name;
        EXPECT_EQ(f.isVisible(), c.open) << c.name;
        if (f.isVisible()) f.Command1()->click();
        EXPECT_EQ(printed, c.jobs) << c.name;
        EXPECT_TRUE(printed.empty() || pl.docName() == QStringLiteral("票印刷")) << c.name;
    }
}

}  // namespace
}  // namespace tovanel::test
