// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/annai.h"
#include "app/clipimport.h"
#include "app/monitfm.h"
#include "app/previewopener.h"
#include "calc/calcstate.h"
#include "calc/listing.h"
#include "print/pview.h"
#include "surface/drawsurface.h"
#include "help/guide.h"
#include "help/version.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

namespace tovanel {
namespace {

void Key(int key) { QTest::keyClick(static_cast<QWidget*>(nullptr), static_cast<Qt::Key>(key)); }
/// Preview windows in existence (a closed one counts until it has been deleted).
int Previews()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return static_cast<int>(std::ranges::count_if(QApplication::topLevelWidgets(), [](QWidget* w) { return qobject_cast<PVIEW*>(w); }));
}
/// Whether a shown window keeps the program running (it ends when the last one closes).
bool AWindowKeepsTheProgramRunning()
{
    return std::ranges::any_of(QGuiApplication::topLevelWindows(), [](QWindow* w) { return w->isVisible() && !w->transientParent(); });
}
QString U(const char* s) { return QString::fromUtf8(s); }
constexpr const char* kTurn = "0 0 100 100 0 200";  // BP, IP, EP of a right turn of 90°

struct Main : ::testing::Test {
    QString iniPath() const { return dir.filePath(QStringLiteral("Tovanel.INI")); }
    QStringList iniLines() const
    {
        QFile f(iniPath());
        return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()).split(QStringLiteral("\r\n")) : QStringList();
    }
    MonitFM& open(const QString& settingsPath = {})
    {
        if (QFile f(iniPath()); settingsPath.isEmpty() && f.open(QIODevice::WriteOnly))
            f.write("4\r\n3\r\n0.05\r\n10\r\n0.01\r\n1.5\r\n0\r\n0\r\n0\r\n7\r\n\"C\"\r\n\"I\"\r\n\"O\"\r\n\"-1\"\r\n\"2\"\r\n"
                    "\"p\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"q\"\r\n");
        auto record = [this](QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text) {
            said << title + ":" + text;
            icons.push_back(icon);
            overHiddenWindow |= !parent || !parent->window()->isVisible();
        };
        w = std::make_unique<MonitFM>(s, printer, MonitFM::Setup{dir.path(), settingsPath.isEmpty() ? iniPath() : settingsPath,
                                                                 record, [this] { ++quits; }});
        w->show();
        w->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(w.get()));
        return *w;
    }
    /// Fills the six coordinates, the radius, both widths and the count.
    void corner(const char* count, const char* radius = "100", const char* xy = kTurn, const char* widths = "")
    {
        const QStringList v = U(xy).split(' ');
        for (int i = 0; i < 6; ++i)
            (i % 2 ? w->YText(i / 2) : w->XText(i / 2))->setText(v[i]);
        w->DTText(4)->setText(U(radius));
        for (int i : {5, 6})
            w->DTText(i)->setText(U(widths));
        w->TXT1()->setText(U(count));
    }

    QTemporaryDir dir;
    CalcState s;
    QPrinter printer;
    std::unique_ptr<MonitFM> w;
    QStringList said;  ///< the messages shown, as "title:text"
    std::vector<QMessageBox::Icon> icons;
    bool overHiddenWindow = false;
    int quits = 0;
};

TEST_F(Main, StartUpAndExitWriteTheFileOnceWithTheDialogsChanges)
{
    QGuiApplication::clipboard()->setText(QStringLiteral("left over"));
    MonitFM& m = open();
    EXPECT_EQ(m.windowTitle() + QString::number(m.listPosition()), QStringLiteral("Tovanel計算-1"));
    EXPECT_TRUE(QGuiApplication::clipboard()->text().isEmpty() && QApplication::focusWidget() == m.Command1());
    m.menuItem(MonitFM::MENUJOKEN, 1)->trigger();
    QPointer<Joken> dialog = m.joken();
    ASSERT_TRUE(dialog && dialog->isVisible() && !dialog->isModal());
    dialog->JO1(5)->setText(QStringLiteral("edited"));
    m.MENUJOKEN1_Click(1);  // brought forward as it is, not loaded again
    EXPECT_TRUE(m.joken() == dialog.data() && dialog->JO1(5)->text() == QStringLiteral("edited"));
    dialog->Command1_Click();
    EXPECT_EQ(iniLines().value(10), QStringLiteral("\"C\""));  // the file waits for the exit
    m.menuItem(MonitFM::MENUFILE, 7)->trigger();
    EXPECT_EQ(quits, 1);
    const QStringList got = iniLines();  // line 14: none selected, kept as -1
    EXPECT_EQ(got.value(10) + got.value(13) + got.value(19), QStringLiteral("\"edited\"\"-1\"\"q\""));
    QFile::remove(iniPath());
    m.close();  // nothing more is written
    EXPECT_FALSE(QFile::exists(iniPath()));
    EXPECT_TRUE(said.isEmpty());
}

// The settings dialog may stay open after the main window's close box has saved: what it stores
// then is saved when it closes, instead of being lost with the program.
TEST_F(Main, DialogLeftOpenAfterTheCloseBoxStillSaves)
{
    MonitFM& m = open();
    m.menuItem(MonitFM::MENUJOKEN, 1)->trigger();
    QPointer<Joken> dialog = m.joken();
    ASSERT_TRUE(dialog);
    m.close();
    EXPECT_EQ(iniLines().value(10), QStringLiteral("\"C\""));
    dialog->JO1(5)->setText(QStringLiteral("late"));
    dialog->Command1_Click();
    EXPECT_EQ(iniLines().value(10), QStringLiteral("\"late\""));
}

// The close box saves once and leaves the preview and the settings dialog open, on their own: the
// program goes on while they are shown, "閉じる" still exports, and nothing saves again.
TEST_F(Main, PreviewAndDialogOutliveTheMainWindowWhoseCloseSavesOnce)
{
    MonitFM& m = open();
    InstallPreview(m);
    m.Combo1()->setCurrentIndex(0);
    m.DTText(0)->setText(QStringLiteral("7"));
    corner("4");
    m.CMD1_Click();
    m.menuItem(MonitFM::MENUPRINT, 1)->trigger();
    m.menuItem(MonitFM::MENUJOKEN, 1)->trigger();
    QPointer<PVIEW> v = OpenedPreview(m);
    ASSERT_TRUE(v && m.joken());
    m.close();
    EXPECT_EQ(iniLines().value(13), QStringLiteral("\"0\""));
    QFile::remove(iniPath());
    EXPECT_TRUE(v->isVisible() && m.joken()->isVisible() && AWindowKeepsTheProgramRunning());
    v->Cmdend()->click();
    EXPECT_TRUE(QGuiApplication::clipboard()->text().startsWith(QStringLiteral("\tBC 7\t")));
    EXPECT_TRUE(Previews() == 0 && !QFile::exists(iniPath()) && quits == 0);
    m.joken()->Command2_Click();  // (what a dialog left open stores is saved as it closes)
    EXPECT_FALSE(AWindowKeepsTheProgramRunning());
}

// A print the composition refuses opens no preview; the message says what to do, and a type chosen
// after the trial points back to the trial, which is where the type is taken.
TEST_F(Main, RefusedPrintOpensNothingAndSaysWhatToDo)
{
    const struct { const char* count; int typeAtTrial, typeAtPrint; QString message; } cases[] = {
        {"4", -1, -1, QStringLiteral("計算方式が選択されていません。計算方式を選んでから印刷してください。")},
        {"4", -1, 2, kTypeAfterTrialMessage},
        {"2.5", 1, 1, QStringLiteral("分割数が整数ではありません。分割数は整数で入力してください。")},
        {"4", 3, 3, {}},
    };
    MonitFM& m = open();
    InstallPreview(m);
    for (const auto& c : cases) {
        m.Combo1()->setCurrentIndex(c.typeAtTrial);
        corner(c.count);
        m.CMD1_Click();
        m.Combo1()->setCurrentIndex(c.typeAtPrint);
        said.clear();
        m.menuItem(MonitFM::MENUPRINT, 1)->trigger();
        EXPECT_EQ(said, c.message.isEmpty() ? QStringList() : QStringList{QStringLiteral("確認:") + c.message}) << c.count;
        EXPECT_EQ(Previews(), c.message.isEmpty() ? 1 : 0) << c.count << " " << c.typeAtTrial;
    }
}

TEST_F(Main, MissingFileIsReportedOnceAndAFailedSaveNamesItYetEnds)
{
    open(dir.filePath(QStringLiteral("missing/Tovanel.INI")));
    QTest::qWait(50);
    w->menuItem(MonitFM::MENUFILE, 7)->trigger();
    ASSERT_EQ(said.size(), 2);  // the notice once, over the window, then the failure
    EXPECT_TRUE(!overHiddenWindow && said[0].contains(QStringLiteral("Tovanel.INI")) && said[1].contains(QStringLiteral("Tovanel.INI")));
    EXPECT_TRUE(icons[1] == QMessageBox::Critical && quits == 1);
}

TEST_F(Main, KeysFollowFieldIdxTabSkipsCoordinatesAndFocusTurnsGrey)
{
    MonitFM& m = open();
    // From a box, each key and where the focus is then.
    const struct { QWidget* start; std::vector<std::pair<int, QWidget*>> steps; } cases[] = {
        {m.DTText(0), {{Qt::Key_Up, m.Combo1()}, {Qt::Key_Return, m.DTText(0)}}},
        {m.DTText(2), {{Qt::Key_Enter, m.DTText(3)}, {Qt::Key_Return, m.DTText(4)}, {Qt::Key_Up, m.DTText(3)}}},
        {m.XText(1), {{Qt::Key_Return, m.XText(1)}, {Qt::Key_Up, m.XText(1)}}},  // no navigation
        {m.Command1(), {{Qt::Key_Tab, m.TXT1()}, {Qt::Key_Tab, m.DTText(3)}, {Qt::Key_Tab, m.CMD1()},
                        {Qt::Key_Tab, m.DTText(6)}, {Qt::Key_Tab, m.DTText(5)}, {Qt::Key_Tab, m.DTText(4)},
                        {Qt::Key_Tab, m.DTText(2)}, {Qt::Key_Tab, m.DTText(1)}, {Qt::Key_Tab, m.DTText(0)},
                        {Qt::Key_Tab, m.Combo1()}, {Qt::Key_Tab, m.Command1()}}},
        {m.DTText(6), {{Qt::Key_Down, m.DTText(6)}, {Qt::Key_Return, m.CMD1()}}},  // where Enter starts the trial
    };
    auto base = [](QWidget* e) { return e->palette().color(QPalette::Base); };
    QTest::mouseClick(m.DTText(4), Qt::LeftButton);  // a click sets FieldIdx too
    Key(Qt::Key_Return);
    EXPECT_EQ(base(m.DTText(4)), QColor(Qt::white));
    EXPECT_EQ(base(m.DTText(5)), QColor(192, 192, 192));
    EXPECT_EQ(base(m.XText(0)), m.palette().color(QPalette::Button));
    corner("8", "100m");  // the leading number counts
    for (const auto& c : cases) {
        c.start->setFocus();
        for (const auto& [key, expected] : c.steps) {
            Key(key);
            EXPECT_EQ(QApplication::focusWidget(), expected) << c.start->objectName().toStdString() << " key " << key;
        }
    }
    EXPECT_EQ(m.annai(), nullptr);
    Key(Qt::Key_Return);
    EXPECT_TRUE(m.annai() && s.CurveIn[kIP][kRadius] == 100);
}

TEST_F(Main, PasteChangesOnlyNamesAndCoordinatesOrSaysWhyNot)
{
    MonitFM& m = open();
    const struct { const char* text; QString message; } cases[] = {  // text null: no text on the clipboard
        {nullptr, kNoClipboardText}, {"a\t1\t2\r\nb\t3\t4\r\n", kTooFewLines}, {"\tB\t 1.0\t2\n\tI\t3\t4\n\tE\t5\t6\n", {}}};
    for (const auto& c : cases) {
        QGuiApplication::clipboard()->clear();
        if (c.text)
            QGuiApplication::clipboard()->setText(U(c.text));
        m.DTText(1)->setText(QStringLiteral("keep"));
        corner(" 8");
        said.clear();
        QTest::mouseClick(m.Command1(), Qt::LeftButton);
        EXPECT_EQ(m.DTText(1)->text() + m.DTText(3)->text() + m.XText(0)->text() + "|" + m.YText(2)->text() + "|" +
                      m.DTText(4)->text() + m.TXT1()->text(),
                  (c.message.isEmpty() ? QStringLiteral("BE 1.0|6") : QStringLiteral("keep0|200")) + "|100 8");
        EXPECT_EQ(said, c.message.isEmpty() ? QStringList() : QStringList{QStringLiteral("データ無し:") + c.message});
        EXPECT_TRUE(said.isEmpty() || icons.back() == QMessageBox::Critical);
    }
}

TEST_F(Main, TabsAndLineEndsNeverStayInTheIpNumber)
{
    MonitFM& m = open();
    for (const char* pasted : {"12\t3\r\n", "12\n3", "123"}) {  // spreadsheet cells keep them
        said.clear();
        m.DTText(0)->clear();
        QGuiApplication::clipboard()->setText(U(pasted));
        m.DTText(0)->paste();
        EXPECT_EQ(m.DTText(0)->text(), "123") << pasted;
        EXPECT_EQ(said, QString(pasted) == "123" ? QStringList()
                                                 : QStringList{U("確認:IP番号に含まれていたタブ・改行を取り除きました。")})
            << pasted;
    }
}

TEST_F(Main, TrialListsTheRightTurnMarksBrokenLimitsRedAndGuideReplacesIt)
{
    // Limits of M, LP and L1, and where the listing is red then.
    const struct { double m, lp, l1; std::vector<std::pair<int, int>> red; } cases[] = {
        {1, 100, 1, {}}, {1, 19, 1, {{310, 600}, {310, 650}, {310, 700}}}, {1, 100, 0.05, {{790, 700}}},
        {0.482, 100, 1, {{630, 700}}}, {0.4839, 19.635, 0.0633, {}},  // equal to the limit is black
    };
    const struct { int x, y; const char* text; } texts[] = {{50, 80, "IPNO.12"}, {400, 80, "分割数= 8"}, {250, 230, "   IA=  90ﾟ 0' 0.00\""}, {50, 600, "内周"},
                 {310, 600, "   19.6350"}, {630, 600, "    0.4815"}, {470, 700, "   19.6983"}, {790, 700, "   -0.0633"}};
    MonitFM& m = open();
    m.DTText(0)->setText(QStringLiteral("12"));
    QPointer<ANNAI> last;  // every trial gets a new window
    for (const auto& c : cases) {
        std::tie(s.IniNum[3], s.IniNum[4], s.IniNum[5]) = std::tuple(c.m, c.lp, c.l1);
        corner("8");
        QTest::mouseClick(m.CMD1(), Qt::LeftButton);
        QApplication::processEvents();
        EXPECT_TRUE(last.isNull());
        ASSERT_TRUE(m.annai() && m.annai()->isVisible());
        last = m.annai();
        EXPECT_EQ(m.annai()->windowTitle() + m.TXT1()->text(), QStringLiteral("設定曲線試算 8"));
        const auto got = m.annai()->Surface1()->texts();
        ASSERT_EQ(got.size(), 14u + 3 * 6u);
        for (const auto& t : texts)
            EXPECT_TRUE(std::any_of(got.begin(), got.end(), [&](const auto& g) { return g.x == t.x && g.y == t.y && g.text == U(t.text); }))
                << t.text;
        std::vector<std::pair<int, int>> red;
        for (const auto& t : got) {
            EXPECT_TRUE(t.font == QStringLiteral("ＭＳ 明朝") && t.textSize == kListingTextSize && (t.colour == 0 || t.colour == 255)) << t.colour;
            if (t.colour == 255)
                red.emplace_back(static_cast<int>(t.x), static_cast<int>(t.y));
        }
        EXPECT_EQ(red, c.red) << c.m << " " << c.lp << " " << c.l1;
    }
    m.menuItem(MonitFM::MENUHELP, 1)->trigger();
    QApplication::processEvents();
    ASSERT_TRUE(last.isNull() && m.annai());
    EXPECT_EQ(m.annai()->windowTitle() + QString::number(m.annai()->Surface1()->texts().size()), kGuideCaption + "20");
    EXPECT_TRUE(said.isEmpty());
    m.menuItem(MonitFM::MENUHELP, 2)->trigger();
    EXPECT_EQ(said, QStringList{QStringLiteral("バージョン情報:") + AppVersionText()});
}

// The listing as the surface draws it: each heading over its own value column (at x 150, 310,
// 470, 630, 790 in every row), and no text over another.
TEST_F(Main, ListingHeadingsStandOverTheirValueColumnsAndNoTextOverlaps)
{
    MonitFM& m = open();
    m.DTText(0)->setText(QStringLiteral("12"));
    corner("8", "-100", "0 0 100.12345 100 0 200", "3");
    m.CMD1_Click();
    ASSERT_TRUE(m.annai());
    const std::vector<SurfaceItem> texts = m.annai()->Surface1()->texts();
    const SurfaceItem heading = texts.at(13);
    ASSERT_EQ(heading.y, 550);
    int column = 0;
    for (const auto& word : QRegularExpression(QStringLiteral("\\S+")).globalMatch(heading.text)) {
        SurfaceItem before = heading, name = heading;
        before.text = heading.text.left(word.capturedStart());
        name.text = word.captured();
        const double middle = heading.x + SurfaceTextBox(before).width() + SurfaceTextBox(name).width() / 2;
        for (size_t i = 14; i < texts.size(); ++i) {  // the rows: label and five values each
            const QRectF value = SurfaceTextBox(texts[i]);
            if ((i - 14) % 6 != 0) {
                EXPECT_EQ(value.left() <= middle && middle <= value.right(), int((i - 14) % 6) == column + 1) << name.text.toStdString();
            }
        }
        ++column;
    }
    EXPECT_EQ(column, 5);
    for (size_t i = 0; i < texts.size(); ++i)
        for (size_t j = i + 1; j < texts.size(); ++j)
            EXPECT_FALSE(SurfaceTextBox(texts[i]).intersects(SurfaceTextBox(texts[j]))) << texts[i].text.toStdString();
}

TEST_F(Main, BadTrialsAreRefusedOrWarnedAndNothingHangs)
{
    // expect R: refused, nothing opened; W: warned, yet listed; ?: either, but no crash or hang.
    const struct { const char *count, *radius, *xy, *widths; double limitLP; char expect; } cases[] = {
        {"-3", "100", kTurn, "", 10, 'R'}, {"", "100", kTurn, "", 0, 'R'}, {"", "100", kTurn, "", -1, 'R'},
        {"1e9", "100", kTurn, "", 10, 'R'},  // too many divisions to list
        {"8", "100", "100 100 100 100 0 200", "", 10, 'W'}, {"8", "0", kTurn, "", 10, 'W'},  // BP on IP; no radius
        {"8", "10", kTurn, "10", 10, 'W'}, {"8", "10", "-100 -100 100 100 200 200", "", 10, 'W'},  // no inner radius; a line
        {"1e308", "100", kTurn, "0", 10, '?'}, {"0.0000001", "100", kTurn, "", 10, '?'}, {"", "1e308", kTurn, "", 10, '?'},
        {"", "100", "0 0 100 100 -1e308 200", "1e308", 10, '?'}, {"nan", "inf", "0 0 100 100 nan 200", "-inf", 10, '?'},
    };
    MonitFM& m = open();
    m.DTText(0)->setText(QString(100000, QLatin1Char('9')));
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.count) + " R" + c.radius + " " + c.xy + " W" + c.widths);
        s.IniNum[4] = c.limitLP;
        corner(c.count, c.radius, c.xy, c.widths);
        said.clear();
        m.CMD1_Click();
        EXPECT_TRUE(m.annai() || !said.isEmpty());
        if (m.annai())
            m.annai()->grab();  // paints whatever was listed
        if (c.expect == '?')
            continue;
        ASSERT_TRUE(said.size() == 1 && icons.back() == QMessageBox::Warning && !m.annai() == (c.expect == 'R'));
        if (c.expect == 'W')  // listed, and one reason a line
            EXPECT_TRUE(!m.annai()->Surface1()->texts().empty() && said[0].count(QLatin1Char('\n')) == 2);
        else  // printing still waits for a trial that worked
            EXPECT_TRUE(s.DivCount == 0 && m.TXT1()->text() == U(c.count));
    }
}

TEST_F(Main, PrintRefusesUntilATrialThenOpensOnePreviewWhoseCloseButtonExports)
{
    MonitFM& m = open();
    InstallPreview(m);
    auto print = [&] { said.clear(), m.menuItem(MonitFM::MENUPRINT, 1)->trigger(); };
    print();
    EXPECT_EQ(said, QStringList{QStringLiteral("確認: 分割数試算を実行して分割の数を確定してください。 ")});

    m.Combo1()->setCurrentIndex(0);
    m.DTText(0)->setText(QStringLiteral("7"));
    corner("4");
    m.CMD1_Click();
    print();
    PVIEW* v = OpenedPreview(m);
    ASSERT_NE(v, nullptr);
    v->Cmdato()->click();
    print();  // brought forward as it is: the same window, still on page 2
    EXPECT_TRUE(OpenedPreview(m) == v && Previews() == 1 && v->PageLayout1().previewPage() == 2);
    v->Cmdend()->click();
    EXPECT_EQ(OpenedPreview(m), nullptr);
    const QStringList lines = QGuiApplication::clipboard()->text().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    EXPECT_EQ(said, QStringList{QStringLiteral("登録: %1点の座標値をクリップボードに貼り付けました。").arg(lines.size())});
    EXPECT_EQ(lines.value(0), QStringLiteral("\tBC 7\t%1\t%2").arg(s.BcX, 0, 'g', 15).arg(s.BcY, 0, 'g', 15));

    m.menuItem(MonitFM::MENUFILE, 1)->trigger();  // 新規作成: everything empty, the type kept, printing refused again
    EXPECT_EQ(m.DTText(0)->text() + m.XText(1)->text() + m.TXT1()->text() + QString::number(m.listPosition()), QStringLiteral("0"));
    print();
    EXPECT_TRUE(said.size() == 1 && !OpenedPreview(m));
}

}  // namespace
}  // namespace tovanel
