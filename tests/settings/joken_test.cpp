#include "calc/calcstate.h"
#include "calc/settingsfile.h"
#include "settings/joken.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

namespace tovanel {
namespace {

struct JokenTest : ::testing::Test {
    JokenTest() { DefaultSettings(s); }
    std::unique_ptr<Joken> open()
    {
        auto d = std::make_unique<Joken>(
            s, [this](QWidget*, QMessageBox::Icon icon, const QString& title, const QString& text) {
                shown << text;
                EXPECT_EQ(icon, QMessageBox::Warning);
                EXPECT_EQ(title, QStringLiteral("確認"));
            });
        d->show();
        return d;
    }
    CalcState s;
    QStringList shown;
};

TEST_F(JokenTest, LoadShowsLimitsInThreeDecimalsDigitCountsPlainAndTheEdition)
{
    const struct {
        double n[5];
        const char* stored;  // IniStr(5)
        const char* expected[5];
        bool denta;
    } cases[] = {
        {{4, 3, 0.05, 10, 0.01}, "1", {"4", "3", "0.050", "10.000", "0.010"}, true},
        {{2.5, 0, 0.0125, 19, 0}, "2", {"2.5", "0", "0.013", "19.000", "0.000"}, false},
        {{3, 3, 0.4824, 12.3456, 1234.5}, "0", {"3", "3", "0.482", "12.346", "1234.500"}, false},
        {{3, 3, 1, 1, 1}, "", {"3", "3", "1.000", "1.000", "1.000"}, false},
    };
    for (const auto& c : cases) {
        std::copy(std::begin(c.n), std::end(c.n), s.IniNum.begin() + 1);
        s.IniStr[5] = QString::fromUtf8(c.stored);
        auto d = open();
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(d->JO1(i)->text(), QString::fromUtf8(c.expected[i])) << i;
        EXPECT_EQ(d->Option1()->isChecked(), c.denta) << c.stored;
        EXPECT_EQ(d->Option2()->isChecked(), !c.denta) << c.stored;
    }
}

TEST_F(JokenTest, OkStoresTheShownValuesAndCloses)
{
    s.IniNum[3] = 0.0125;
    s.IniStr[5] = QStringLiteral("1");
    auto d = open();
    d->Option2()->setChecked(true);
    d->JO1(4)->setText(QStringLiteral("0"));  // a zero L1 limit is fine
    d->JO1(6)->setText(QStringLiteral("内"));
    QTest::mouseClick(d->Command1(), Qt::LeftButton);
    EXPECT_TRUE(shown.isEmpty());
    EXPECT_FALSE(d->isVisible());
    EXPECT_DOUBLE_EQ(s.IniNum[3], 0.013);
    EXPECT_EQ(s.IniNum[5], 0);
    EXPECT_EQ(s.IniStr[1], QStringLiteral("C"));
    EXPECT_EQ(s.IniStr[2], QStringLiteral("内"));
    EXPECT_EQ(s.IniStr[5], QStringLiteral("2"));
    EXPECT_TRUE(open()->Option2()->isChecked());  // Stravon again on reopening
}

TEST_F(JokenTest, ZeroOrNegativeTestedLimitIsRefusedYetStored)
{
    const struct {
        int box;
        const char* typed;
        double stored;
    } cases[] = {{3, "", 0}, {2, "abc", 0}, {3, "-5", -5}, {2, "0.000", 0}};
    for (const auto& c : cases) {
        DefaultSettings(s);
        s.IniStr[5] = QStringLiteral("1");
        shown.clear();
        auto d = open();
        d->Option2()->setChecked(true);
        d->JO1(c.box)->setText(QString::fromUtf8(c.typed));
        d->JO1(5)->setText(QStringLiteral("X"));
        QTest::mouseClick(d->Command1(), Qt::LeftButton);
        EXPECT_EQ(shown, QStringList{kZeroLimitMessage}) << c.typed;
        EXPECT_TRUE(d->isVisible());
        EXPECT_EQ(s.IniNum[static_cast<size_t>(c.box + 1)], c.stored);
        EXPECT_EQ(s.IniStr[1], QStringLiteral("X"));  // stored before the check
        EXPECT_EQ(s.IniStr[5], QStringLiteral("1"));  // the edition is not
        QTest::mouseClick(d->Command2(), Qt::LeftButton);
        EXPECT_FALSE(d->isVisible());
    }
}

TEST_F(JokenTest, TabOrderFollowsTheDesign)
{
    auto d = open();
    d->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(d.get()));
    d->Option1()->setChecked(true);
    d->JO1(0)->setFocus();
    const QList<QWidget*> order = {d->Command1(), d->Command2(), d->JO1(1), d->JO1(2), d->JO1(3),
                                   d->JO1(4),     d->JO1(5),     d->JO1(6), d->JO1(7), d->Option1()};
    for (QWidget* w : order) {
        QTest::keyClick(static_cast<QWidget*>(nullptr), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), w) << w->objectName().toStdString();
    }
}

}  // namespace
}  // namespace tovanel
