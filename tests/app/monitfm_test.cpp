#include "app/annai.h"
#include "app/clipimport.h"
#include "app/monitfm.h"
#include "calc/calcstate.h"
#include "help/guide.h"
#include "help/version.h"
#include "surface/drawsurface.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace tovanel {
namespace {

struct Shown {
    QMessageBox::Icon icon;
    QString title, text;
    bool overVisibleWindow;
};

QWidget* Focus()
{
    return QApplication::focusWidget();
}

void Key(int key)
{
    QTest::keyClick(static_cast<QWidget*>(nullptr), static_cast<Qt::Key>(key));
}

struct Main : ::testing::Test {
    void SetUp() override { writeIni("\"0\""); }
    void writeIni(const char* line14)
    {
        QFile f(iniPath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("4\r\n3\r\n0.05\r\n10\r\n0.01\r\n1.5\r\n0\r\n0\r\n0\r\n7\r\n\"C\"\r\n\"I\"\r\n\"O\"\r\n") +
                line14 + "\r\n\"2\"\r\n\"p\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"q\"\r\n");
    }
    QString iniPath() const { return dir.filePath(QStringLiteral("Tovanel.INI")); }
    QStringList iniLines() const
    {
        QFile f(iniPath());
        return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()).split(QStringLiteral("\r\n")) : QStringList();
    }
    MonitFM& open(const QString& settingsPath = {})
    {
        auto record = [this](QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text) {
            shown.push_back({icon, title, text, parent && parent->window()->isVisible()});
        };
        w = std::make_unique<MonitFM>(
            s, printer,
            MonitFM::Setup{dir.path(), settingsPath.isEmpty() ? iniPath() : settingsPath, record, [this] { ++quits; }});
        w->show();
        w->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(w.get()));
        return *w;
    }
    /// Right turn BP (0, 0), IP (100, 100), EP (0, 200), R 100, with the given count.
    void rightTurn(const QString& count)
    {
        const char* xy[] = {"0", "0", "100", "100", "0", "200"};
        for (int i = 0; i < 3; ++i) {
            w->XText(i)->setText(QString::fromUtf8(xy[2 * i]));
            w->YText(i)->setText(QString::fromUtf8(xy[2 * i + 1]));
        }
        w->DTText(4)->setText(QStringLiteral("100"));
        w->DTText(5)->clear();
        w->DTText(6)->clear();
        w->TXT1()->setText(count);
    }
    std::vector<SurfaceItem> listing() const { return w->annai() ? w->annai()->Surface1()->texts() : std::vector<SurfaceItem>{}; }

    QTemporaryDir dir;
    CalcState s;
    QPrinter printer;
    std::unique_ptr<MonitFM> w;
    std::vector<Shown> shown;
    int quits = 0;
};

TEST_F(Main, StartUpReadsSettingsAndEmptiesTheClipboard)
{
    QGuiApplication::clipboard()->setText(QStringLiteral("left over"));
    MonitFM& m = open();
    EXPECT_EQ(m.windowTitle(), QStringLiteral("Tovanel計算"));
    EXPECT_EQ(m.listPosition(), 0);
    EXPECT_EQ(s.IniNum[4], 10);
    EXPECT_EQ(s.DivCount, 0);
    EXPECT_EQ(s.AppDir, dir.path());
    EXPECT_NEAR(s.DegToRad, 0.017453292519943295, 1e-18);
    EXPECT_TRUE(QGuiApplication::clipboard()->text().isEmpty());
    EXPECT_EQ(Focus(), m.Command1());
    QTest::qWait(20);
    EXPECT_TRUE(shown.empty());
}

TEST_F(Main, ExitWritesTheFileOnceKeepingNoneSelected)
{
    writeIni("\"-1\"");
    MonitFM& m = open();
    EXPECT_EQ(m.listPosition(), -1);
    m.menuItem(MonitFM::MENUFILE, 7)->trigger();
    EXPECT_EQ(quits, 1);
    const QStringList got = iniLines();
    EXPECT_EQ(got.mid(13, 1), QStringList{QStringLiteral("\"-1\"")});
    EXPECT_EQ(got.mid(5, 5).join(','), QStringLiteral("1.5,0,0,0,7"));  // unused entries kept
    EXPECT_EQ(got.value(15) + got.value(19), QStringLiteral("\"p\"\"q\""));
    QFile::remove(iniPath());
    m.close();  // nothing more is written
    EXPECT_FALSE(QFile::exists(iniPath()));

    MonitFM& again = open();  // the close box saves as the exit does, and only once
    again.Combo1()->setCurrentIndex(3);
    again.close();
    EXPECT_EQ(iniLines().value(13), QStringLiteral("\"3\""));
    QFile::remove(iniPath());
    again.close();
    EXPECT_FALSE(QFile::exists(iniPath()));
}

TEST_F(Main, SettingsProblemsAreReportedOnceOverTheWindow)
{
    QFile::remove(iniPath());
    open();
    QTest::qWait(50);
    w->hide();
    w->show();
    QTest::qWait(50);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_TRUE(shown[0].overVisibleWindow);
    EXPECT_TRUE(shown[0].text.contains(QStringLiteral("Tovanel.INI")));
}

TEST_F(Main, FailedSaveNamesTheFileAndStillEnds)
{
    MonitFM& m = open(dir.filePath(QStringLiteral("missing/folder/Tovanel.INI")));
    QTest::qWait(20);
    shown.clear();
    m.MENUFILE1_Click(7);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].icon, QMessageBox::Critical);
    EXPECT_TRUE(shown[0].text.contains(QStringLiteral("Tovanel.INI")));
    EXPECT_EQ(quits, 1);
}

TEST_F(Main, EnterAndArrowsFollowFieldIdxAndFocusTurnsGrey)
{
    MonitFM& m = open();
    const struct {
        QWidget* start;
        std::vector<std::pair<int, QWidget*>> steps;  // key, where the focus is then
    } cases[] = {
        {m.DTText(0), {{Qt::Key_Up, m.Combo1()}, {Qt::Key_Return, m.DTText(0)}}},
        {m.DTText(6), {{Qt::Key_Down, m.DTText(6)}, {Qt::Key_Return, m.CMD1()}}},
        {m.DTText(2), {{Qt::Key_Enter, m.DTText(3)}, {Qt::Key_Return, m.DTText(4)}, {Qt::Key_Up, m.DTText(3)}}},
        {m.DTText(0), {{Qt::Key_Return, m.DTText(1)}, {Qt::Key_Down, m.DTText(2)}}},
        {m.XText(1), {{Qt::Key_Return, m.XText(1)}, {Qt::Key_Up, m.XText(1)}}},  // no navigation
    };
    for (const auto& c : cases) {
        QTest::mouseClick(c.start, Qt::LeftButton);
        ASSERT_EQ(Focus(), c.start);
        for (const auto& [key, expected] : c.steps) {
            Key(key);
            EXPECT_EQ(Focus(), expected) << c.start->objectName().toStdString() << " key " << key;
        }
    }
    const QColor grey(192, 192, 192), white(255, 255, 255);
    QTest::mouseClick(m.DTText(4), Qt::LeftButton);  // a click sets FieldIdx too
    EXPECT_EQ(m.DTText(4)->palette().color(QPalette::Base), grey);
    Key(Qt::Key_Return);
    EXPECT_EQ(Focus(), m.DTText(5));
    EXPECT_EQ(m.DTText(4)->palette().color(QPalette::Base), white);
    EXPECT_EQ(m.DTText(5)->palette().color(QPalette::Base), grey);
    EXPECT_EQ(m.XText(0)->palette().color(QPalette::Base), m.palette().color(QPalette::Button));

    rightTurn(QStringLiteral("8"));
    QTest::mouseClick(m.DTText(6), Qt::LeftButton);
    Key(Qt::Key_Return);  // to the trial button, which the next Enter presses
    EXPECT_EQ(m.annai(), nullptr);
    Key(Qt::Key_Return);
    EXPECT_NE(m.annai(), nullptr);
}

TEST_F(Main, TabOrderSkipsTheCoordinateBoxes)
{
    MonitFM& m = open();
    const QList<QWidget*> order = {m.TXT1(),    m.DTText(3), m.CMD1(),    m.DTText(6), m.DTText(5), m.DTText(4),
                                   m.DTText(2), m.DTText(1), m.DTText(0), m.Combo1(),  m.Command1()};
    for (QWidget* e : order) {
        Key(Qt::Key_Tab);
        EXPECT_EQ(Focus(), e) << e->objectName().toStdString();
    }
}

TEST_F(Main, GatherInputsReadsLeadingNumbersAndTheLiveIpNumber)
{
    MonitFM& m = open();
    m.DTText(4)->setText(QStringLiteral("12.5m"));
    m.DTText(5)->setText(QStringLiteral("abc"));
    m.DTText(6)->setText(QStringLiteral(" 3"));
    m.DTText(0)->setText(QStringLiteral("7"));
    m.XText(2)->setText(QStringLiteral("  -1.25e1x"));
    m.Combo1()->setCurrentIndex(1);
    m.GatherInputs();
    EXPECT_EQ(s.CurveIn[kIP][kRadius], 12.5);
    EXPECT_EQ(s.CurveIn[kIP][kWidthIn], 0);
    EXPECT_EQ(s.CurveIn[kIP][kWidthOut], 3);
    EXPECT_EQ(s.CurveIn[kIP][kNumber], 7);
    EXPECT_EQ(s.CurveIn[kEP][kX], -12.5);
    EXPECT_EQ(s.CalcTypeName, QStringLiteral("千鳥"));
    m.DTText(0)->setText(QStringLiteral("IP-9"));
    EXPECT_EQ(s.ipNo(), QStringLiteral("IP-9"));
    m.Combo1()->setEditText(QStringLiteral("何か"));  // typed text is no list position
    m.GatherInputs();
    EXPECT_EQ(s.CalcType, -1);
}

TEST_F(Main, PasteChangesOnlyNamesAndCoordinatesOrSaysWhyNot)
{
    MonitFM& m = open();
    const struct {
        bool hasText;
        QString text;
        QString message;
    } cases[] = {{false, {}, kNoClipboardText},
                 {true, QStringLiteral("a\t1\t2\r\nb\t3\t4\r\n"), kTooFewLines},
                 {true, QStringLiteral("\tB\t 1.0\t2\n\tI\t3\t4\n\tE\t5\t6\n"), {}}};
    for (const auto& c : cases) {
        QGuiApplication::clipboard()->clear();
        if (c.hasText)
            QGuiApplication::clipboard()->setText(c.text);
        m.DTText(1)->setText(QStringLiteral("keep"));
        m.DTText(4)->setText(QStringLiteral("100"));
        m.TXT1()->setText(QStringLiteral(" 8"));
        s.DivCount = 8;
        shown.clear();
        QTest::mouseClick(m.Command1(), Qt::LeftButton);
        EXPECT_EQ(m.DTText(4)->text() + m.TXT1()->text(), QStringLiteral("100 8"));
        EXPECT_EQ(s.DivCount, 8);
        if (c.message.isEmpty()) {
            EXPECT_TRUE(shown.empty());
            EXPECT_EQ(m.DTText(1)->text() + m.DTText(3)->text(), QStringLiteral("BE"));
            EXPECT_EQ(m.XText(0)->text() + "|" + m.YText(2)->text(), QStringLiteral(" 1.0|6"));
            continue;
        }
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].text, c.message);
        EXPECT_EQ(shown[0].title, QStringLiteral("データ無し"));
        EXPECT_EQ(shown[0].icon, QMessageBox::Critical);
        EXPECT_EQ(m.DTText(1)->text(), QStringLiteral("keep"));
    }
}

TEST_F(Main, TrialListsTheRightTurnWithCountEight)
{
    MonitFM& m = open();
    s.IniNum[3] = 1;  // limits that hold: everything black
    s.IniNum[4] = 100;
    s.IniNum[5] = 1;
    m.DTText(0)->setText(QStringLiteral("12"));
    rightTurn(QStringLiteral("8"));
    QTest::mouseClick(m.CMD1(), Qt::LeftButton);
    ASSERT_NE(m.annai(), nullptr);
    EXPECT_TRUE(m.annai()->isVisible());
    EXPECT_EQ(m.annai()->windowTitle(), QStringLiteral("設定曲線試算"));
    EXPECT_EQ(m.TXT1()->text(), QStringLiteral(" 8"));
    EXPECT_TRUE(shown.empty());

    const struct {
        int x, y;
        const char* text;
    } cases[] = {
        {50, 80, "IPNO.12"}, {400, 80, "分割数= 8"}, {250, 230, "   IA=  90ﾟ 0' 0.00\""},
        {50, 600, "内周"}, {310, 600, "   19.6350"}, {630, 600, "    0.4815"}, {470, 700, "   19.6983"},
        {790, 700, "   -0.0633"},
    };
    const auto texts = listing();
    ASSERT_EQ(texts.size(), 14u + 3 * 6u);
    for (const auto& c : cases) {
        const auto t = std::find_if(texts.begin(), texts.end(), [&](const auto& t) { return t.x == c.x && t.y == c.y; });
        ASSERT_NE(t, texts.end()) << c.x << "," << c.y;
        EXPECT_EQ(t->text, QString::fromUtf8(c.text));
        EXPECT_EQ(t->font, QStringLiteral("ＭＳ 明朝"));
        EXPECT_EQ(t->textSize, 24);
    }
    EXPECT_TRUE(std::all_of(texts.begin(), texts.end(), [](const auto& t) { return t.colour == 0; }));
}

TEST_F(Main, ValuesBeyondTheirLimitsAreRed)
{
    const struct {
        double m, lp, l1;
        std::vector<std::pair<int, int>> red;  // (x, y)
    } cases[] = {
        {1, 19, 1, {{310, 600}, {310, 650}, {310, 700}}},
        {1, 100, 0.05, {{790, 700}}},
        {0.482, 100, 1, {{630, 700}}},
        {0.4839, 19.635, 0.0633, {}},  // equal to the limit is black
    };
    MonitFM& m = open();
    for (const auto& c : cases) {
        s.IniNum[3] = c.m;
        s.IniNum[4] = c.lp;
        s.IniNum[5] = c.l1;
        rightTurn(QStringLiteral("8"));
        m.CMD1_Click();
        std::vector<std::pair<int, int>> red;
        for (const auto& t : listing())
            if (t.colour == 255)
                red.emplace_back(static_cast<int>(t.x), static_cast<int>(t.y));
        EXPECT_EQ(red, c.red) << c.m << " " << c.lp << " " << c.l1;
    }
}

TEST_F(Main, TrialWindowIsRecreatedAndTheCountComesBack)
{
    MonitFM& m = open();
    rightTurn(QString());
    m.CMD1_Click();
    QPointer<ANNAI> first = m.annai();
    ASSERT_TRUE(first);
    EXPECT_GT(s.DivCount, 0);
    EXPECT_EQ(m.TXT1()->text(), QStringLiteral(" ") + QString::number(s.DivCount));
    m.TXT1()->setText(QStringLiteral("2.5"));
    m.CMD1_Click();
    QApplication::processEvents();
    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(m.TXT1()->text(), QStringLiteral(" 2.5"));
    EXPECT_TRUE(shown.empty());
}

TEST_F(Main, RefusedTrialsSayWhyAndOpenNothing)
{
    const struct {
        const char* count;
        double limitLP;
    } cases[] = {{"-3", 10}, {"", 0}, {"", -1}, {"1e9", 10}};
    MonitFM& m = open();
    for (const auto& c : cases) {
        s.IniNum[4] = c.limitLP;
        rightTurn(QString::fromUtf8(c.count));
        shown.clear();
        m.CMD1_Click();
        EXPECT_EQ(m.annai(), nullptr) << c.count;
        ASSERT_EQ(shown.size(), 1u) << c.count;
        EXPECT_EQ(shown[0].icon, QMessageBox::Warning);
        EXPECT_EQ(s.DivCount, 0);  // printing still waits for a trial that worked
        EXPECT_EQ(m.TXT1()->text(), QString::fromUtf8(c.count));
    }
}

TEST_F(Main, HostileInputsNeverCrashOrHang)
{
    const char* cases[][4] = {  // count, radius, EP X, widths
        {"1e308", "100", "0", "0"}, {"0.0000001", "100", "0", "0"}, {"", "1e308", "0", "0"},
        {"8", "1e-300", "0", "0"},  {"", "100", "1e308", "0"},      {"", "100", "-1e308", "1e308"},
        {"8", "-100", "0", "-1e308"}, {"nan", "inf", "nan", "-inf"}, {"", "100", "0.0000000001", "0"}};
    MonitFM& m = open();
    for (const auto& c : cases) {
        rightTurn(QString::fromUtf8(c[0]));
        m.DTText(4)->setText(QString::fromUtf8(c[1]));
        m.XText(2)->setText(QString::fromUtf8(c[2]));
        m.DTText(5)->setText(QString::fromUtf8(c[3]));
        m.DTText(6)->setText(QString::fromUtf8(c[3]));
        m.DTText(0)->setText(QString(100000, QLatin1Char('9')));
        shown.clear();
        m.CMD1_Click();
        EXPECT_TRUE(m.annai() != nullptr || !shown.empty()) << c[0] << " " << c[1];
        if (m.annai())
            m.annai()->grab();  // paints whatever was listed
    }
    EXPECT_EQ(m.DTText(0)->text().size(), 100000);  // no length limit
}

TEST_F(Main, DegenerateCornersWarnButStillList)
{
    const struct {
        const char* bp[2];
        const char* radius;
        const char* inner;
    } cases[] = {{{"100", "100"}, "100", "0"}, {{"0", "0"}, "0", "0"}, {{"0", "0"}, "10", "10"}, {{"-100", "-100"}, "10", "0"}};
    MonitFM& m = open();
    for (const auto& c : cases) {
        rightTurn(QStringLiteral("8"));
        m.XText(0)->setText(QString::fromUtf8(c.bp[0]));
        m.YText(0)->setText(QString::fromUtf8(c.bp[1]));
        if (QByteArray(c.bp[0]) == "-100") {  // BP, IP, EP on one line
            m.XText(2)->setText(QStringLiteral("200"));
            m.YText(2)->setText(QStringLiteral("200"));
        }
        m.DTText(4)->setText(QString::fromUtf8(c.radius));
        m.DTText(5)->setText(QString::fromUtf8(c.inner));
        shown.clear();
        m.CMD1_Click();
        ASSERT_NE(m.annai(), nullptr);
        EXPECT_FALSE(listing().empty());
        ASSERT_EQ(shown.size(), 1u) << c.bp[0] << " " << c.radius;
        EXPECT_EQ(shown[0].icon, QMessageBox::Warning);
        EXPECT_EQ(shown[0].text.count(QLatin1Char('\n')), 2);  // one reason each
    }
}

TEST_F(Main, PrintRefusesUntilATrialFixedTheCount)
{
    MonitFM& m = open();
    int previews = 0;
    m.setPreviewOpener([&] { ++previews; });
    m.menuItem(MonitFM::MENUPRINT, 1)->trigger();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, kNoDivCountMessage);
    EXPECT_EQ(shown[0].title, QStringLiteral("確認"));
    rightTurn(QStringLiteral("8"));
    m.CMD1_Click();
    m.menuItem(MonitFM::MENUPRINT, 1)->trigger();
    EXPECT_EQ(previews, 1);
    EXPECT_EQ(s.ShowMode, 1);

    m.menuItem(MonitFM::MENUFILE, 1)->trigger();  // new: everything empty, the type kept
    EXPECT_EQ(s.DivCount, 0);
    EXPECT_EQ(m.DTText(0)->text() + m.XText(1)->text() + m.TXT1()->text(), QString());
    EXPECT_EQ(m.listPosition(), 0);
    m.menuItem(MonitFM::MENUPRINT, 1)->trigger();
    EXPECT_EQ(shown.size(), 2u);
    EXPECT_EQ(previews, 1);
}

TEST_F(Main, SettingsDialogIsModelessBroughtForwardAndSavedAtTheEnd)
{
    MonitFM& m = open();
    m.menuItem(MonitFM::MENUJOKEN, 1)->trigger();
    QPointer<Joken> first = m.joken();
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->isVisible());
    EXPECT_FALSE(first->isModal());
    first->JO1(5)->setText(QStringLiteral("edited"));
    m.MENUJOKEN1_Click(1);
    EXPECT_EQ(m.joken(), first.data());
    EXPECT_EQ(first->JO1(5)->text(), QStringLiteral("edited"));  // not loaded again
    first->Command1_Click();
    EXPECT_EQ(s.IniStr[1], QStringLiteral("edited"));
    EXPECT_EQ(iniLines().value(10), QStringLiteral("\"C\""));
    m.close();
    EXPECT_EQ(iniLines().value(10), QStringLiteral("\"edited\""));
}

TEST_F(Main, GuideReplacesTheTrialWindowAndVersionBoxShowsTheBuild)
{
    MonitFM& m = open();
    rightTurn(QStringLiteral("8"));
    m.CMD1_Click();
    QPointer<ANNAI> trial = m.annai();
    m.menuItem(MonitFM::MENUHELP, 1)->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(trial.isNull());
    ASSERT_NE(m.annai(), nullptr);
    EXPECT_EQ(m.annai()->windowTitle(), kGuideCaption);
    EXPECT_EQ(s.ShowMode, kShowGuide);
    EXPECT_EQ(s.DivCount, 8);
    EXPECT_EQ(m.annai()->Surface1()->texts().size(), 20u);

    m.menuItem(MonitFM::MENUHELP, 2)->trigger();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].title, QStringLiteral("バージョン情報"));
    EXPECT_EQ(shown[0].icon, QMessageBox::Information);
    EXPECT_EQ(shown[0].text, AppVersionText());
}

}  // namespace
}  // namespace tovanel
