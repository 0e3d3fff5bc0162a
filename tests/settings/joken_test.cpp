#include "calc/calcstate.h"
#include "calc/settingsfile.h"
#include "settings/joken.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

namespace tovanel {
namespace {

struct Shown {
    QMessageBox::Icon icon;
    QString title, text;
};

struct JokenFixture : ::testing::Test {
    JokenFixture() { DefaultSettings(s); }
    std::unique_ptr<Joken> open()
    {
        auto d = std::make_unique<Joken>(s, [this](QWidget*, QMessageBox::Icon icon, const QString& title,
                                                    const QString& text) { shown.push_back({icon, title, text}); });
        d->show();
        return d;
    }
    CalcState s;
    std::vector<Shown> shown;
};

TEST_F(JokenFixture, LoadShowsLimitsInThreeDecimalsAndDigitCountsPlain)
{
    const struct {
        double digits1, digits2, limitM, limitLP, limitL1;
        const char* expected[5];
    } cases[] = {
        {4, 3, 0.05, 10, 0.01, {"4", "3", "0.050", "10.000", "0.010"}},
        {2.5, 0, 0.0125, 19, 0, {"2.5", "0", "0.013", "19.000", "0.000"}},
        {3, 3, 0.4824, 12.3456, 1234.5, {"3", "3", "0.482", "12.346", "1234.500"}},
    };
    for (const auto& c : cases) {
        s.IniNum[1] = c.digits1;
        s.IniNum[2] = c.digits2;
        s.IniNum[3] = c.limitM;
        s.IniNum[4] = c.limitLP;
        s.IniNum[5] = c.limitL1;
        auto d = open();
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(d->JO1(i)->text(), QString::fromUtf8(c.expected[i])) << i;
    }
}

TEST_F(JokenFixture, EditionOptionFollowsTheStoredValue)
{
    const struct {
        const char* stored;
        bool denta;
    } cases[] = {{"1", true}, {"2", false}, {"0", false}, {"", false}, {" 1", false}};
    for (const auto& c : cases) {
        s.IniStr[5] = QString::fromUtf8(c.stored);
        auto d = open();
        EXPECT_EQ(d->Option1()->isChecked(), c.denta) << c.stored;
        EXPECT_EQ(d->Option2()->isChecked(), !c.denta) << c.stored;
    }
}

TEST_F(JokenFixture, OkStoresTheShownRoundedValuesAndCloses)
{
    s.IniNum[3] = 0.0125;
    s.IniStr[1] = QStringLiteral("C");
    s.IniStr[5] = QStringLiteral("1");
    auto d = open();
    d->Option2()->setChecked(true);
    d->JO1(6)->setText(QStringLiteral("内"));
    QTest::mouseClick(d->Command1(), Qt::LeftButton);
    EXPECT_DOUBLE_EQ(s.IniNum[3], 0.013);
    EXPECT_EQ(s.IniStr[1], QStringLiteral("C"));
    EXPECT_EQ(s.IniStr[2], QStringLiteral("内"));
    EXPECT_EQ(s.IniStr[5], QStringLiteral("2"));
    EXPECT_FALSE(d->isVisible());
    EXPECT_TRUE(shown.empty());

    auto again = open();  // reopened: Stravon selected again
    EXPECT_TRUE(again->Option2()->isChecked());
}

TEST_F(JokenFixture, ZeroOrNegativeTestedLimitIsRefusedYetStored)
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
        ASSERT_EQ(shown.size(), 1u) << c.typed;
        EXPECT_EQ(shown[0].text, kZeroLimitMessage);
        EXPECT_EQ(shown[0].title, QStringLiteral("確認"));
        EXPECT_EQ(shown[0].icon, QMessageBox::Warning);
        EXPECT_TRUE(d->isVisible());
        EXPECT_EQ(s.IniNum[static_cast<size_t>(c.box + 1)], c.stored);
        EXPECT_EQ(s.IniStr[1], QStringLiteral("X"));         // stored before the check
        EXPECT_EQ(s.IniStr[5], QStringLiteral("1"));         // the edition is not
        QTest::mouseClick(d->Command2(), Qt::LeftButton);    // cancel keeps what was stored
        EXPECT_FALSE(d->isVisible());
        EXPECT_EQ(s.IniStr[1], QStringLiteral("X"));
    }
}

TEST_F(JokenFixture, ZeroL1IsAccepted)
{
    auto d = open();
    d->JO1(4)->setText(QStringLiteral("0"));
    QTest::mouseClick(d->Command1(), Qt::LeftButton);
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(s.IniNum[5], 0);
    EXPECT_FALSE(d->isVisible());
}

TEST_F(JokenFixture, TabOrderFollowsTheDesign)
{
    auto d = open();
    d->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(d.get()));
    d->JO1(0)->setFocus();
    const QWidget* expected[] = {d->Command1(), d->Command2(), d->JO1(1), d->JO1(2), d->JO1(3),
                                 d->JO1(4),     d->JO1(5),     d->JO1(6), d->JO1(7), d->Option1()};
    d->Option1()->setChecked(true);
    for (const QWidget* w : expected) {
        QTest::keyClick(static_cast<QWidget*>(nullptr), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), w) << w->objectName().toStdString();
    }
}

}  // namespace
}  // namespace tovanel
