#include "app/annai.h"
#include "app/clipimport.h"
#include "app/monitfm.h"
#include "calc/calcstate.h"
#include "calc/listing.h"
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
    bool overVisibleWindow = false;
};

const char* const kDefaultIni[20] = {"4",     "3",     "0.05",  "10",  "0.01", "0",  "0",
                                     "0",     "0",     "0",     "\"C\"", "\"I\"", "\"O\"", "\"0\"",
                                     "\"2\"", "\"a\"", "\"\"",  "\"\"", "\"\"",  "\"z\""};

struct MainFixture : ::testing::Test {
    void SetUp() override { writeIni(kDefaultIni); }

    void writeIni(const char* const (&lines)[20])
    {
        QFile f(iniPath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        for (const char* l : lines)
            f.write(QByteArray(l) + "\r\n");
    }
    QString iniPath() const { return dir.filePath(QStringLiteral("Tovanel.INI")); }
    QStringList iniLines() const
    {
        QFile f(iniPath());
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QString::fromLatin1(f.readAll()).split(QStringLiteral("\r\n"));
    }
    MonitFM& open(QString settingsPath = {})
    {
        w = std::make_unique<MonitFM>(
            s, printer,
            MonitFM::Setup{dir.path(), settingsPath.isEmpty() ? iniPath() : settingsPath,
                           [this](QWidget* parent, QMessageBox::Icon icon, const QString& title,
                                  const QString& text) {
                               shown.push_back({icon, title, text, parent && parent->window()->isVisible()});
                           },
                           [this] { ++quits; }});
        w->show();
        w->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(w.get()));
        return *w;
    }
    void type(QLineEdit* box, const QString& text) { box->setText(text); }
    void enterRightTurn(const QString& count)
    {
        type(w->XText(0), QStringLiteral("0"));
        type(w->YText(0), QStringLiteral("0"));
        type(w->XText(1), QStringLiteral("100"));
        type(w->YText(1), QStringLiteral("100"));
        type(w->XText(2), QStringLiteral("0"));
        type(w->YText(2), QStringLiteral("200"));
        type(w->DTText(4), QStringLiteral("100"));
        type(w->TXT1(), count);
    }
    std::vector<SurfaceItem> listing() const
    {
        return w->annai() ? w->annai()->Surface1()->texts() : std::vector<SurfaceItem>{};
    }
    const SurfaceItem* at(int x, int y) const
    {
        static std::vector<SurfaceItem> keep;
        keep = listing();
        for (const auto& t : keep)
            if (t.x == x && t.y == y)
                return &t;
        return nullptr;
    }

    QTemporaryDir dir;
    CalcState s;
    QPrinter printer;
    std::unique_ptr<MonitFM> w;
    std::vector<Shown> shown;
    int quits = 0;
};

TEST_F(MainFixture, StartUpReadsSettingsAndEmptiesTheClipboard)
{
    QGuiApplication::clipboard()->setText(QStringLiteral("left over"));
    MonitFM& m = open();
    EXPECT_EQ(m.windowTitle(), QStringLiteral("Tovanel計算"));
    EXPECT_EQ(m.Combo1()->currentIndex(), 0);
    EXPECT_EQ(s.IniNum[4], 10);
    EXPECT_EQ(s.DivCount, 0);
    EXPECT_NEAR(s.PiVal, 3.14159265358979, 1e-14);
    EXPECT_EQ(s.AppDir, dir.path());
    EXPECT_TRUE(QGuiApplication::clipboard()->text().isEmpty());
    EXPECT_EQ(QApplication::focusWidget(), m.Command1());
    QTest::qWait(20);
    EXPECT_TRUE(shown.empty());
}

TEST_F(MainFixture, NoneSelectedIsKeptAndExitWritesTheFileOnce)
{
    const char* const lines[20] = {"4", "3", "0.05", "10", "0.01", "1.5", "0", "0", "0", "7",
                                   "\"C\"", "\"I\"", "\"O\"", "\"-1\"", "\"1\"", "\"p\"", "\"\"", "\"\"", "\"\"", "\"q\""};
    writeIni(lines);
    MonitFM& m = open();
    EXPECT_EQ(m.listPosition(), -1);
    m.MENUFILE1_Click(7);
    EXPECT_EQ(quits, 1);
    const QStringList got = iniLines();
    ASSERT_GE(got.size(), 20);
    EXPECT_EQ(got[13], QStringLiteral("\"-1\""));
    EXPECT_EQ(got[5], QStringLiteral("1.5"));
    EXPECT_EQ(got[9], QStringLiteral("7"));
    EXPECT_EQ(got[15], QStringLiteral("\"p\""));
    EXPECT_EQ(got[19], QStringLiteral("\"q\""));
    // The window going away afterwards writes nothing more.
    QFile::remove(iniPath());
    m.close();
    EXPECT_FALSE(QFile::exists(iniPath()));
}

TEST_F(MainFixture, RememberedTypeIsRoundedHalfToEvenAndOutOfRangeSelectsNone)
{
    const struct {
        const char* stored;
        int position;
    } cases[] = {{"\"2\"", 2}, {"\"2.5\"", 2}, {"\"1.5\"", 2}, {"\"3\"", 3}, {"\"-1\"", -1},
                 // a line that names no type is reported and read as the shipped "0"
                 {"\"4\"", 0}, {"\"abc\"", 0}, {"\"\"", 0}, {"\"1e999\"", 0}};
    for (const auto& c : cases) {
        const char* lines[20];
        std::copy(std::begin(kDefaultIni), std::end(kDefaultIni), lines);
        lines[13] = c.stored;
        writeIni(reinterpret_cast<const char* const(&)[20]>(lines));
        MonitFM& m = open();
        EXPECT_EQ(m.listPosition(), c.position) << c.stored;
        EXPECT_EQ(m.Combo1()->currentText().isEmpty(), c.position < 0) << c.stored;
        w.reset();
    }
}

TEST_F(MainFixture, CloseBoxSavesTheCurrentTypeOnce)
{
    MonitFM& m = open();
    m.Combo1()->setCurrentIndex(3);
    m.close();
    EXPECT_EQ(iniLines().value(13), QStringLiteral("\"3\""));
    QFile::remove(iniPath());
    QCloseEvent again;
    QApplication::sendEvent(&m, &again);
    EXPECT_FALSE(QFile::exists(iniPath()));
    EXPECT_EQ(quits, 0);
}

TEST_F(MainFixture, MissingSettingsAreReportedOnceAfterTheWindowAppears)
{
    QFile::remove(iniPath());
    open();
    QTest::qWait(50);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_TRUE(shown[0].overVisibleWindow);  // not before the window is up
    EXPECT_TRUE(shown[0].text.contains(QStringLiteral("Tovanel.INI"))) << shown[0].text.toStdString();
    w->hide();
    w->show();
    QTest::qWait(50);
    EXPECT_EQ(shown.size(), 1u);
}

TEST_F(MainFixture, FailedSaveNamesTheFileAndStillEnds)
{
    const QString unwritable = dir.filePath(QStringLiteral("missing/folder/Tovanel.INI"));
    MonitFM& m = open(unwritable);
    QTest::qWait(20);
    shown.clear();
    m.MENUFILE1_Click(7);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].icon, QMessageBox::Critical);
    EXPECT_TRUE(shown[0].text.contains(QStringLiteral("Tovanel.INI"))) << shown[0].text.toStdString();
    EXPECT_EQ(quits, 1);
}

TEST_F(MainFixture, EnterAndArrowsFollowFieldIdx)
{
    MonitFM& m = open();
    struct Step {
        int key;
        QWidget* expected;
    };
    const struct {
        const char* name;
        QWidget* start;
        std::vector<Step> steps;
    } cases[] = {
        {"UpFromIpNumberToType", m.DTText(0), {{Qt::Key_Up, m.Combo1()}, {Qt::Key_Return, m.DTText(0)}}},
        {"DownStopsAtOuterWidth", m.DTText(6), {{Qt::Key_Down, m.DTText(6)}}},
        {"EnterFromOuterWidthToTrial", m.DTText(6), {{Qt::Key_Return, m.CMD1()}}},
        {"EnterFromIpNameToEpNameThenRadius", m.DTText(2), {{Qt::Key_Enter, m.DTText(3)}, {Qt::Key_Return, m.DTText(4)}}},
        {"EnterPathSkipsCoordinates", m.DTText(0),
         {{Qt::Key_Return, m.DTText(1)}, {Qt::Key_Return, m.DTText(2)}, {Qt::Key_Down, m.DTText(3)},
          {Qt::Key_Up, m.DTText(2)}}},
        {"CoordinateBoxesIgnoreTheKeys", m.XText(1), {{Qt::Key_Return, m.XText(1)}, {Qt::Key_Up, m.XText(1)}}},
    };
    for (const auto& c : cases) {
        QTest::mouseClick(c.start, Qt::LeftButton);
        ASSERT_EQ(QApplication::focusWidget(), c.start) << c.name;
        for (const auto& st : c.steps) {
            QTest::keyClick(static_cast<QWidget*>(nullptr), static_cast<Qt::Key>(st.key));
            EXPECT_EQ(QApplication::focusWidget(), st.expected)
                << c.name << " after key " << st.key << " got "
                << (QApplication::focusWidget() ? QApplication::focusWidget()->objectName().toStdString() : "none");
        }
    }
    // A click sets FieldIdx: the next Enter goes on from the clicked box.
    QTest::mouseClick(m.DTText(4), Qt::LeftButton);
    EXPECT_EQ(s.FieldIdx, 4);
    QTest::keyClick(static_cast<QWidget*>(nullptr), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), m.DTText(5));
}

TEST_F(MainFixture, FocusedBoxTurnsGreyAndBackWhite)
{
    MonitFM& m = open();
    const QColor grey(192, 192, 192), white(255, 255, 255);
    QTest::mouseClick(m.DTText(1), Qt::LeftButton);
    EXPECT_EQ(m.DTText(1)->palette().color(QPalette::Base), grey);
    QTest::keyClick(static_cast<QWidget*>(nullptr), Qt::Key_Return);
    EXPECT_EQ(m.DTText(1)->palette().color(QPalette::Base), white);
    EXPECT_EQ(m.DTText(2)->palette().color(QPalette::Base), grey);
    EXPECT_EQ(m.XText(0)->palette().color(QPalette::Base), m.palette().color(QPalette::Button));
    EXPECT_EQ(m.XText(0)->alignment() & Qt::AlignRight, Qt::AlignRight);
}

TEST_F(MainFixture, TabOrderSkipsTheCoordinateBoxes)
{
    MonitFM& m = open();
    const QWidget* expected[] = {m.TXT1(),      m.DTText(3), m.CMD1(),    m.DTText(6), m.DTText(5), m.DTText(4),
                                 m.DTText(2),   m.DTText(1), m.DTText(0), m.Combo1(),  m.Command1()};
    ASSERT_EQ(QApplication::focusWidget(), m.Command1());
    for (const QWidget* e : expected) {
        QTest::keyClick(static_cast<QWidget*>(nullptr), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), e) << e->objectName().toStdString();
    }
}

TEST_F(MainFixture, GatherInputsReadsLeadingNumbersAndTheLiveIpNumber)
{
    MonitFM& m = open();
    type(m.DTText(4), QStringLiteral("12.5m"));
    type(m.DTText(5), QStringLiteral("abc"));
    type(m.DTText(6), QStringLiteral(" 3"));
    type(m.DTText(0), QStringLiteral("7"));
    type(m.XText(2), QStringLiteral("  -1.25e1x"));
    m.Combo1()->setCurrentIndex(1);
    m.GatherInputs();
    EXPECT_EQ(s.CurveIn[kIP][kRadius], 12.5);
    EXPECT_EQ(s.CurveIn[kIP][kWidthIn], 0);
    EXPECT_EQ(s.CurveIn[kIP][kWidthOut], 3);
    EXPECT_EQ(s.CurveIn[kIP][kNumber], 7);
    EXPECT_EQ(s.CurveIn[kEP][kX], -12.5);
    EXPECT_EQ(s.CalcType, 1);
    EXPECT_EQ(s.CalcTypeName, QStringLiteral("千鳥"));
    type(m.DTText(0), QStringLiteral("IP-9"));
    EXPECT_EQ(s.ipNo(), QStringLiteral("IP-9"));

    m.Combo1()->setEditText(QStringLiteral("何か"));  // typed text leaves no list position
    m.GatherInputs();
    EXPECT_EQ(s.CalcType, -1);
    EXPECT_TRUE(s.CalcTypeName.isEmpty());
}

TEST_F(MainFixture, PasteFillsOnlyNamesAndCoordinates)
{
    MonitFM& m = open();
    type(m.DTText(4), QStringLiteral("100"));
    type(m.TXT1(), QStringLiteral(" 8"));
    s.DivCount = 8;
    s.IniStr[5] = QStringLiteral("2");
    QGuiApplication::clipboard()->setText(QStringLiteral("\tB\t 1.0\t2\n\tI\t3\t4\n\tE\t5\t6\n"));
    QTest::mouseClick(m.Command1(), Qt::LeftButton);
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(m.DTText(1)->text(), QStringLiteral("B"));
    EXPECT_EQ(m.DTText(3)->text(), QStringLiteral("E"));
    EXPECT_EQ(m.XText(0)->text(), QStringLiteral(" 1.0"));
    EXPECT_EQ(m.YText(2)->text(), QStringLiteral("6"));
    EXPECT_EQ(m.DTText(4)->text(), QStringLiteral("100"));
    EXPECT_EQ(m.TXT1()->text(), QStringLiteral(" 8"));
    EXPECT_EQ(s.DivCount, 8);
}

TEST_F(MainFixture, PasteWithoutTextOrWithTwoLinesSaysSoAndChangesNothing)
{
    MonitFM& m = open();
    const struct {
        bool setText;
        QString text;
        QString message;
    } cases[] = {{false, {}, kNoClipboardText}, {true, QStringLiteral("a\t1\t2\r\nb\t3\t4\r\n"), kTooFewLines}};
    for (const auto& c : cases) {
        QGuiApplication::clipboard()->clear();
        if (c.setText)
            QGuiApplication::clipboard()->setText(c.text);
        type(m.DTText(1), QStringLiteral("keep"));
        shown.clear();
        m.Command1_Click();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].text, c.message);
        EXPECT_EQ(shown[0].title, QStringLiteral("データ無し"));
        EXPECT_EQ(shown[0].icon, QMessageBox::Critical);
        EXPECT_EQ(m.DTText(1)->text(), QStringLiteral("keep"));
    }
}

TEST_F(MainFixture, TrialListsTheRightTurnWithCountEight)
{
    MonitFM& m = open();
    s.IniNum[3] = 1;  // limits that hold: everything black
    s.IniNum[4] = 100;
    s.IniNum[5] = 1;
    type(m.DTText(0), QStringLiteral("12"));
    enterRightTurn(QStringLiteral("8"));
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
        {20, 10, "** 設定曲線試算 **"},  {50, 80, "IPNO.12"},           {400, 80, "分割数= 8"},
        {250, 150, "X=     100.0000"},   {600, 150, "Y=     100.0000"},   {250, 190, "    R=   100.000"},
        {250, 230, "   IA=  90ﾟ 0' 0.00\""}, {250, 430, " IA/N=  11ﾟ15' 0.00\""},
        {250, 470, "IA/2N=   5ﾟ37'30.00\""}, {220, 550, "R         CL/N      L        M'    (CL/N)-L"},
        {50, 600, "内周"},  {150, 600, "  100.0000"}, {310, 600, "   19.6350"}, {470, 600, "   19.6034"},
        {630, 600, "    0.4815"}, {790, 600, "    0.0316"}, {50, 650, "中心"}, {790, 650, "    0.0316"},
        {50, 700, "外周"},  {470, 700, "   19.6983"}, {630, 700, "    0.4839"}, {790, 700, "   -0.0633"},
    };
    for (const auto& c : cases) {
        const SurfaceItem* t = at(c.x, c.y);
        ASSERT_NE(t, nullptr) << c.x << "," << c.y;
        EXPECT_EQ(t->text, QString::fromUtf8(c.text)) << c.x << "," << c.y;
        EXPECT_EQ(t->font, QStringLiteral("ＭＳ 明朝"));
        EXPECT_EQ(t->textSize, 24);
    }
    EXPECT_EQ(listing().size(), 14u + 3 * 6u);
    for (const auto& t : listing())
        EXPECT_EQ(t.colour, 0) << t.text.toStdString();
}

TEST_F(MainFixture, ValuesBeyondTheirLimitsAreRed)
{
    const struct {
        const char* name;
        double m, lp, l1;
        std::vector<std::pair<int, int>> red;  // (x, y)
    } cases[] = {
        {"LP19", 1, 19, 1, {{310, 600}, {310, 650}, {310, 700}}},
        {"L1", 1, 100, 0.05, {{790, 700}}},
        {"M", 0.482, 100, 1, {{630, 700}}},
        {"AtTheLimitIsBlack", 0.4839, 19.635, 0.0633, {}},
    };
    MonitFM& m = open();
    for (const auto& c : cases) {
        s.IniNum[3] = c.m;
        s.IniNum[4] = c.lp;
        s.IniNum[5] = c.l1;
        enterRightTurn(QStringLiteral("8"));
        m.CMD1_Click();
        ASSERT_NE(m.annai(), nullptr) << c.name;
        std::vector<std::pair<int, int>> red;
        for (const auto& t : listing())
            if (t.colour == 255)
                red.emplace_back(static_cast<int>(t.x), static_cast<int>(t.y));
            else
                EXPECT_EQ(t.colour, 0);
        EXPECT_EQ(red, c.red) << c.name;
    }
}

TEST_F(MainFixture, TrialWindowIsRecreatedAndCountsComeBack)
{
    MonitFM& m = open();
    enterRightTurn(QString());
    m.CMD1_Click();
    QPointer<ANNAI> first = m.annai();
    ASSERT_TRUE(first);
    EXPECT_GT(s.DivCount, 0);
    EXPECT_EQ(m.TXT1()->text(), QStringLiteral(" ") + QString::number(s.DivCount));

    type(m.TXT1(), QStringLiteral("2.5"));
    m.CMD1_Click();
    QApplication::processEvents();
    EXPECT_TRUE(first.isNull());  // a fresh window each time
    EXPECT_EQ(s.DivCount, 2.5);
    EXPECT_EQ(m.TXT1()->text(), QStringLiteral(" 2.5"));
    EXPECT_TRUE(shown.empty());
}

TEST_F(MainFixture, RefusedTrialsSayWhyAndOpenNothing)
{
    const struct {
        const char* name;
        const char* count;
        double limitLP;
    } cases[] = {{"NegativeCount", "-3", 10}, {"ZeroLimitWithOpenCount", "", 0}, {"HugeCount", "1e9", 10}};
    MonitFM& m = open();
    for (const auto& c : cases) {
        s.IniNum[4] = c.limitLP;
        enterRightTurn(QString::fromUtf8(c.count));
        shown.clear();
        m.CMD1_Click();
        EXPECT_EQ(m.annai(), nullptr) << c.name;
        ASSERT_EQ(shown.size(), 1u) << c.name;
        EXPECT_EQ(shown[0].icon, QMessageBox::Warning);
        EXPECT_FALSE(shown[0].text.isEmpty());
        EXPECT_EQ(s.DivCount, 0) << c.name;  // so printing still waits for a good trial
        EXPECT_EQ(m.TXT1()->text(), QString::fromUtf8(c.count)) << c.name;
    }
}

TEST_F(MainFixture, HostileInputsNeverCrashOrHang)
{
    const struct {
        const char* count;
        const char* radius;
        const char* coordinate;  // replaces EP X
        const char* width;
    } cases[] = {
        {"1e308", "100", "0", "0"},       {"0.0000001", "100", "0", "0"}, {"1e-300", "100", "0", "0"},
        {"", "1e308", "0", "0"},          {"8", "1e-300", "0", "0"},      {"", "100", "1e308", "0"},
        {"", "100", "-1e308", "1e308"},   {"8", "-100", "0", "-1e308"},   {"nan", "inf", "nan", "-inf"},
        {"99999999999999999999", "100", "0", "0"}, {"", "100", "0.0000000001", "0"},
    };
    MonitFM& m = open();
    for (const auto& c : cases) {
        enterRightTurn(QString::fromUtf8(c.count));
        type(m.DTText(4), QString::fromUtf8(c.radius));
        type(m.XText(2), QString::fromUtf8(c.coordinate));
        type(m.DTText(5), QString::fromUtf8(c.width));
        type(m.DTText(6), QString::fromUtf8(c.width));
        type(m.DTText(0), QString(100000, QLatin1Char('9')));
        shown.clear();
        m.CMD1_Click();
        EXPECT_TRUE(m.annai() != nullptr || !shown.empty()) << c.count << " " << c.radius;
        if (m.annai())
            m.annai()->grab();  // paints whatever was listed
    }
}

TEST_F(MainFixture, DegenerateCornersWarnButStillList)
{
    const struct {
        const char* name;
        const char* bpx;
        const char* radius;
        const char* inner;
        int reasons;
    } cases[] = {
        {"BpOnIp", "100", "100", "0", 1},  // BP = IP (100, 100)? y differs; see below
        {"ZeroRadius", "0", "0", "0", 1},
        {"InnerWidthTooWide", "0", "10", "10", 1},
    };
    MonitFM& m = open();
    for (const auto& c : cases) {
        enterRightTurn(QStringLiteral("8"));
        type(m.XText(0), QString::fromUtf8(c.bpx));
        if (QByteArray(c.name) == "BpOnIp")
            type(m.YText(0), QStringLiteral("100"));
        type(m.DTText(4), QString::fromUtf8(c.radius));
        type(m.DTText(5), QString::fromUtf8(c.inner));
        shown.clear();
        m.CMD1_Click();
        ASSERT_NE(m.annai(), nullptr) << c.name;
        EXPECT_FALSE(listing().empty());
        ASSERT_EQ(shown.size(), 1u) << c.name;
        EXPECT_EQ(shown[0].icon, QMessageBox::Warning);
    }
    // Straight line BP–IP–EP: IA 180.
    s.CurveIn = {};
    s.CurveIn[kBP][kX] = 0;
    s.CurveIn[kIP][kX] = 100;
    s.CurveIn[kEP][kX] = 250;
    s.CurveIn[kIP][kRadius] = 50;
    EXPECT_EQ(DegenerateCorner(s).size(), 1);
    s.CurveIn[kEP][kY] = 1;
    s.IA = 0.4;
    EXPECT_TRUE(DegenerateCorner(s).isEmpty());
}

TEST_F(MainFixture, PrintRefusesUntilATrialFixedTheCount)
{
    MonitFM& m = open();
    int previews = 0;
    m.setPreviewOpener([&] { ++previews; });
    m.menuItem(MonitFM::MENUPRINT, 1)->trigger();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, kNoDivCountMessage);
    EXPECT_EQ(shown[0].title, QStringLiteral("確認"));
    EXPECT_EQ(previews, 0);

    enterRightTurn(QStringLiteral("8"));
    m.CMD1_Click();
    m.menuItem(MonitFM::MENUPRINT, 1)->trigger();
    EXPECT_EQ(previews, 1);
    EXPECT_EQ(s.ShowMode, 1);

    type(m.DTText(0), QStringLiteral("x"));
    m.menuItem(MonitFM::MENUFILE, 1)->trigger();  // 新規作成
    EXPECT_EQ(s.DivCount, 0);
    EXPECT_TRUE(m.DTText(0)->text().isEmpty());
    EXPECT_TRUE(m.XText(1)->text().isEmpty());
    EXPECT_TRUE(m.TXT1()->text().isEmpty());
    EXPECT_EQ(m.Combo1()->currentIndex(), 0);
    shown.clear();
    m.menuItem(MonitFM::MENUPRINT, 1)->trigger();
    EXPECT_EQ(shown.size(), 1u);
    EXPECT_EQ(previews, 1);
}

TEST_F(MainFixture, MenusHaveTheirCaptionsAtTheirIndices)
{
    MonitFM& m = open();
    const struct {
        MonitFM::Menu menu;
        int index;
        const char* caption;
    } cases[] = {{MonitFM::MENUFILE, 1, "新規作成(N)"}, {MonitFM::MENUFILE, 5, "プリンタの設定(U)"},
                 {MonitFM::MENUFILE, 7, "終了(X)"},    {MonitFM::MENUPRINT, 1, "Tovanel計算書"},
                 {MonitFM::MENUJOKEN, 1, "条件設定"},  {MonitFM::MENUHELP, 1, "案内図"},
                 {MonitFM::MENUHELP, 2, "バージョン情報(A)"}};
    for (const auto& c : cases) {
        QAction* a = m.menuItem(c.menu, c.index);
        ASSERT_NE(a, nullptr) << c.caption;
        EXPECT_EQ(a->text().remove(QLatin1Char('&')), QString::fromUtf8(c.caption));
    }
    EXPECT_TRUE(m.menuItem(MonitFM::MENUFILE, 2)->isSeparator());
    EXPECT_TRUE(m.menuItem(MonitFM::MENUFILE, 6)->isSeparator());
    EXPECT_EQ(m.menuItem(MonitFM::MENUFILE, 3), nullptr);
    EXPECT_EQ(m.menuItem(MonitFM::MENUFILE, 4), nullptr);
}

TEST_F(MainFixture, SettingsDialogIsModelessAndBroughtForward)
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
    EXPECT_EQ(first->JO1(5)->text(), QStringLiteral("edited"));  // not reloaded
    first->Command1_Click();
    QApplication::processEvents();
    EXPECT_EQ(s.IniStr[1], QStringLiteral("edited"));
    // In memory at once, in the file only at the end.
    EXPECT_EQ(iniLines().value(10), QStringLiteral("\"C\""));
    m.close();
    EXPECT_EQ(iniLines().value(10), QStringLiteral("\"edited\""));
}

TEST_F(MainFixture, GuideReplacesTheTrialWindowAndVersionBoxShowsTheBuild)
{
    MonitFM& m = open();
    enterRightTurn(QStringLiteral("8"));
    m.CMD1_Click();
    QPointer<ANNAI> trial = m.annai();
    const double divCount = s.DivCount;
    m.menuItem(MonitFM::MENUHELP, 1)->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(trial.isNull());
    ASSERT_NE(m.annai(), nullptr);
    EXPECT_EQ(m.annai()->windowTitle(), kGuideCaption);
    EXPECT_EQ(s.ShowMode, kShowGuide);
    EXPECT_EQ(s.DivCount, divCount);
    EXPECT_GT(m.annai()->Surface1()->items().size(), 100u);

    m.menuItem(MonitFM::MENUHELP, 2)->trigger();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].title, QStringLiteral("バージョン情報"));
    EXPECT_EQ(shown[0].icon, QMessageBox::Information);
    EXPECT_EQ(shown[0].text, AppVersionText());
}

}  // namespace
}  // namespace tovanel
