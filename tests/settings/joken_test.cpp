// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/calcstate.h"
#include "calc/settingsfile.h"
#include "settings/joken.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

namespace tovanel {
namespace {

struct JokenTest : ::testing::Test {
    std::unique_ptr<Joken> open()
    {
        auto d = std::make_unique<Joken>(
            s, [this](QWidget*, QMessageBox::Icon i, const QString& title, const QString& text) { shown << QString::number(i) + title + text; });
        d->show();
        return d;
    }
    static QString warning(const QString& text) { return QString::number(QMessageBox::Warning) + QStringLiteral("確認") + text; }
    CalcState s;
    QStringList shown;
};

// The edition options lie inside their frame, below its caption and border, one under the other.
TEST_F(JokenTest, LoadShowsLimitsInThreeDecimalsDigitCountsPlainAndTheEditionInsideItsFrame)
{
    // Entries 1 to 5, the stored edition (any but "1" is the other), the five boxes as shown.
    const struct { double n[5]; const char* edition; const char* shown; } cases[] = {
        {{2.5, 0, 0.0125, 19, 0}, "1", "2.5|0|0.013|19.000|0.000"}, {{3, 3, 0.4824, 12.3456, 1234.5}, "0", "3|3|0.482|12.346|1234.500"}};
    for (const auto& c : cases) {
        std::copy(std::begin(c.n), std::end(c.n), s.IniNum.begin() + 1);
        s.IniStr[5] = QString::fromUtf8(c.edition);
        auto d = open();
        QStringList boxes;
        for (int i = 0; i < 5; ++i) boxes << d->JO1(i)->text();
        EXPECT_EQ(boxes.join('|'), QString::fromUtf8(c.shown));
        EXPECT_TRUE(d->Option1()->isChecked() == (c.edition[0] == '1') && d->Option2()->isChecked() != (c.edition[0] == '1'));
        const QRect inside = d->findChild<QGroupBox*>(QStringLiteral("Frame1"))->contentsRect();
        EXPECT_TRUE(inside.contains(d->Option1()->geometry()) && inside.contains(d->Option2()->geometry()));
        EXPECT_FALSE(d->Option1()->geometry().intersects(d->Option2()->geometry()));
    }
}

TEST_F(JokenTest, OkStoresTheShownValuesButRefusesAZeroTestedLimit)
{
    // Box typed into (-1: none), what is typed, the entry stored from that box (M's limit if none), refused?
    const struct { int box; const char* typed; double stored; bool refused; } cases[] = {
        {-1, "", 0.013, false}, {4, "0", 0, false},  // the limit as shown; a zero L1 limit is fine
        {3, "", 0, true}, {2, "abc", 0, true}, {3, "-5", -5, true}, {2, "0.000", 0, true},
    };
    for (const auto& c : cases) {
        DefaultSettings(s);
        s.IniNum[3] = 0.0125;  // shown as 0.013
        s.IniStr[5] = QStringLiteral("1");
        shown.clear();
        auto d = open();
        d->Option2()->setChecked(true);
        if (c.box >= 0)
            d->JO1(c.box)->setText(QString::fromUtf8(c.typed));
        QTest::mouseClick(d->Command1(), Qt::LeftButton);
        EXPECT_EQ(shown.join('\n'), c.refused ? warning(kZeroLimitMessage) : QString()) << c.typed;
        EXPECT_EQ(d->isVisible(), c.refused);
        QTest::mouseClick(d->Command2(), Qt::LeftButton);  // cancel closes in any case
        EXPECT_FALSE(d->isVisible());
        EXPECT_EQ(s.IniNum[static_cast<size_t>(c.box < 0 ? 3 : c.box + 1)], c.stored) << c.typed;  // stored even if refused
        EXPECT_EQ(s.IniStr[5], c.refused ? QStringLiteral("1") : QStringLiteral("2"));  // the edition is not
        EXPECT_EQ(open()->Option2()->isChecked(), !c.refused);  // Stravon reselected
    }
}

TEST_F(JokenTest, PastedTabsAndLineEndsLeaveTheNamesBeforeAnythingIsStored)
{
    DefaultSettings(s);
    auto d = open();
    d->JO1(5)->setText("A\r\n");  // a spreadsheet cell
    d->JO1(7)->setText("O\tX");
    d->JO1(2)->setText("0.5");
    QTest::mouseClick(d->Command1(), Qt::LeftButton);
    EXPECT_EQ(shown, QStringList{warning(kFieldBreakMessage)});
    EXPECT_EQ(d->JO1(5)->text() + "|" + d->JO1(7)->text(), "A|OX");
    EXPECT_TRUE(d->isVisible() && s.IniStr[1] == "C" && s.IniNum[3] == 0.05) << "nothing stored yet";
    QTest::mouseClick(d->Command1(), Qt::LeftButton);  // the user accepts what is left
    EXPECT_TRUE(!d->isVisible() && s.IniStr[1] == "A" && s.IniStr[3] == "OX" && s.IniNum[3] == 0.5);
}

// Enter presses the focused button and stores nothing from a box. The exact-azimuth option lives
// in the free line 16: "1" when on; turned off it empties the line; left off, another use of the
// line is kept.
TEST_F(JokenTest, EnterOnButtonsAndTheExactAzimuthOption)
{
    const struct { const char* focus; const char* stored; bool shown, checked; const char* after; double limitLP; } cases[] = {
        {"Command1", "", false, true, "1", 12},       {"Command1", "1", true, false, "", 12},
        {"Command1", "other", false, false, "other", 12}, {"Command2", "1", true, false, "1", 10},
        {"JO1_3", "other", false, true, "other", 10},
    };
    for (const auto& c : cases) {
        DefaultSettings(s);
        s.IniStr[kExactAzimuthEntry] = QString::fromUtf8(c.stored);
        auto d = open();
        d->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(d.get()));
        EXPECT_EQ(d->ExactAzimuth()->isChecked(), c.shown) << c.stored;
        d->ExactAzimuth()->setChecked(c.checked);
        d->JO1(3)->setText(QStringLiteral("12"));
        d->findChild<QWidget*>(c.focus)->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_EQ(d->isVisible(), QString(c.focus).startsWith("JO1")) << c.focus;
        EXPECT_EQ(s.IniNum[4], c.limitLP) << c.focus;
        EXPECT_EQ(s.IniStr[kExactAzimuthEntry], QString::fromUtf8(c.after)) << c.focus << " " << c.stored;
    }
}

}  // namespace
}  // namespace tovanel
