// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/settings.h"
#include "calc/settingsfile.h"
#include "settings/joken.h"
#include "widgets/message.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyle>
#include <QTest>
#include <gtest/gtest.h>

namespace tovanel {
namespace {

struct JokenTest : ::testing::Test {
    Settings s;
    QStringList shown;  ///< icon, title and text of every message
    std::unique_ptr<Joken> open()
    {
        auto d = std::make_unique<Joken>(
            s, [this](QWidget*, QMessageBox::Icon i, const QString& title, const QString& text) { shown << QString::number(i) + title + text; });
        d->show();
        return d;
    }
};

// Limits show in three decimals, whole however large (the leading digits in view), digit counts
// plain; the edition options lie inside their frame, one under the other.
TEST_F(JokenTest, LoadShowsEveryBoxWholeAndTheEditionInsideItsFrame)
{
    using N = NumberEntry;
    const N entries[] = {N::CoordDigits, N::RegisterDigits, N::LimitM, N::LimitLP, N::LimitL1};
    const struct { double values[5]; const char* shown; } cases[] = {
        {{2.5, 0, 0.0125, 12.3456, 1234.5}, "2.5|0|0.013|12.346|1234.500"},
        {{3, 4, 1000000, 99999.5, 1000000}, "3|4|1000000.000|99999.500|1000000.000"},
        {{3, 4, 0.01, 1000000, 0.01}, "3|4|0.010|1000000.000|0.010"},
    };
    for (const auto& c : cases) {
        for (int i = 0; i < 5; ++i) s.setNumber(entries[i], c.values[i]);
        s.setText(TextEntry::CadEdition, QStringLiteral("0"));  // any edition but "1" is the other
        auto d = open();
        QStringList boxes;
        for (int i = 0; i < 5; ++i) boxes << d->JO1(i)->text();
        for (int i = 2; i < 5; ++i) {  // the limits; the text's width within the box's text area
            QLineEdit* box = d->JO1(i);
            const int frame = box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
            const int room = box->width() - 2 * frame - 4;
            EXPECT_LE(box->fontMetrics().horizontalAdvance(box->text()), room) << "box " << i;
            EXPECT_EQ(box->cursorPosition(), 0) << "box " << i;
        }
        EXPECT_EQ(boxes.join('|'), QString::fromUtf8(c.shown));
        EXPECT_FALSE(d->Option1()->isChecked());
        EXPECT_TRUE(d->Option2()->isChecked());
        const QRect inside = d->findChild<QGroupBox*>(QStringLiteral("Frame1"))->contentsRect();
        const QRect o1 = d->Option1()->geometry(), o2 = d->Option2()->geometry();
        EXPECT_TRUE(inside.contains(o1));
        EXPECT_TRUE(inside.contains(o2));
        EXPECT_FALSE(o1.intersects(o2));
    }
}

// OK stores the boxes as shown, but refuses a tested limit of zero or below (storing the numbers,
// not the edition), and takes a pasted TAB or line end out of a name before storing anything.
TEST_F(JokenTest, OkStoresTheShownValuesButRefusesAZeroTestedLimitOrABrokenName)
{
    // Box typed into (-1: none), what, the message; stored: M's, LP's, L1's limits, names, edition.
    const struct { int box; const char* typed; QString message; const char* stored; } cases[] = {
        {-1, "", {}, "0.013|10|0.01|CIO|2"},  // the limit as shown
        {4, "0", {}, "0.013|10|0|CIO|2"},     // a zero L1 limit is fine
        {2, "abc", kZeroLimitMessage, "0|10|0.01|CIO|1"},
        {3, "-5", kZeroLimitMessage, "0.013|-5|0.01|CIO|1"},
        {5, "A\r\n", kFieldBreakMessage, "0.0125|10|0.01|CIO|1"},  // a spreadsheet cell
        {7, "O\tX", kFieldBreakMessage, "0.0125|10|0.01|CIO|1"},
    };
    for (const auto& c : cases) {
        s = DefaultSettings();
        s.setNumber(NumberEntry::LimitM, 0.0125);  // shown as 0.013
        s.setText(TextEntry::CadEdition, QStringLiteral("1"));
        shown.clear();
        auto d = open();
        d->Option2()->setChecked(true);
        if (c.box >= 0) d->JO1(c.box)->setText(QString::fromUtf8(c.typed));
        QTest::mouseClick(d->Command1(), Qt::LeftButton);
        EXPECT_EQ(shown.join('\n'), c.message.isEmpty() ? QString() : QString::number(QMessageBox::Warning) + QStringLiteral("確認") + c.message) << c.typed;
        EXPECT_EQ(d->isVisible(), !c.message.isEmpty());
        EXPECT_EQ(c.box < 0 ? QString() : d->JO1(c.box)->text(), QString::fromUtf8(c.typed).remove(QRegularExpression(QStringLiteral("[\t\r\n]"))));
        const Limits l = s.limits();
        const QStringList stored{QString::number(l.M), QString::number(l.LP), QString::number(l.L1),
                                 s.centrePrefix() + s.innerPrefix() + s.outerPrefix(), s.text(TextEntry::CadEdition)};
        EXPECT_EQ(stored.join('|'), QString::fromUtf8(c.stored)) << c.typed;
        EXPECT_EQ(open()->Option2()->isChecked(), c.message.isEmpty());  // Stravon reselected
    }
}

// Enter presses the focused button (cancel stores nothing) and stores nothing from a box. The
// exact-azimuth option's free line holds "1" when on; turned off it is emptied; left off, another
// use of it is kept.
TEST_F(JokenTest, EnterOnButtonsAndTheExactAzimuthOption)
{
    const struct { const char* focus; const char* stored; bool shown, checked; const char* after; double limitLP; } cases[] = {
        {"Command1", "", false, true, "1", 12},       {"Command1", "1", true, false, "", 12},
        {"Command1", "other", false, false, "other", 12}, {"Command2", "1", true, false, "1", 10},
        {"JO1_3", "other", false, true, "other", 10},
    };
    for (const auto& c : cases) {
        s = DefaultSettings();
        s.setText(TextEntry::ExactAzimuth, QString::fromUtf8(c.stored));
        auto d = open();
        d->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(d.get()));
        EXPECT_EQ(d->ExactAzimuth()->isChecked(), c.shown) << c.stored;
        d->ExactAzimuth()->setChecked(c.checked);
        d->JO1(3)->setText(QStringLiteral("12"));
        d->findChild<QWidget*>(c.focus)->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_EQ(d->isVisible(), QString(c.focus).startsWith("JO1")) << c.focus;
        EXPECT_EQ(s.limits().LP, c.limitLP) << c.focus;
        EXPECT_EQ(s.text(TextEntry::ExactAzimuth), QString::fromUtf8(c.after)) << c.focus << " " << c.stored;
    }
}

// A message box is wide enough for its whole title beside a title bar's buttons, however short
// its text (バージョン情報 was cut to "バー… 情報").
TEST(MessageBoxTitle, ShowsWhole)
{
    const struct { const char* title; const char* text; } cases[] = {
        {"バージョン情報", "Tovanel計算  Ver1.00"}, {"確認", "x"}, {"設定ファイル", ""},
    };
    for (const auto& c : cases) {
        QMessageBox box(QMessageBox::Information, QString::fromUtf8(c.title), QString::fromUtf8(c.text));
        FitTitle(box);
        box.show();
        EXPECT_GE(box.width(), TitleWidth(box.windowTitle())) << c.title;
        EXPECT_GT(TitleWidth(box.windowTitle()), box.fontMetrics().horizontalAdvance(box.windowTitle())) << c.title;
    }
}

}  // namespace
}  // namespace tovanel
