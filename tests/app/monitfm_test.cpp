// SPDX-License-Identifier: GPL-3.0-or-later
// The main window as a user drives it: settings saved once, windows that outlive it, refusals,
// keys, pasting and the trial listing.
#include "app/annai.h"
#include "exchange/clipimport.h"
#include "app/previewopener.h"
#include "help/guide.h"
#include "help/version.h"
#include "print/pview.h"
#include "surface/drawsurface.h"

#include "recordedwindow.h"

#include <QApplication>
#include <QClipboard>
#include <QRegularExpression>
#include <QWindow>

namespace tovanel {
namespace {

using test::kTurn;
using test::U;

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

struct Main : ::testing::Test, test::RecordedWindow {
    QStringList iniLines() const { return QString::fromLatin1(test::ReadAll(iniPath())).split(QStringLiteral("\r\n")); }
    void print() { said.clear(), w->menuItem(MonitFM::MENUPRINT, 1)->trigger(); }
};

// The settings dialog and the preview (one of each) outlive the main window, whose close box saves
// once; what the dialog stores afterwards is saved as it closes.
TEST_F(Main, PreviewAndDialogOutliveTheMainWindowWhoseCloseSavesOnce)
{
    QGuiApplication::clipboard()->setText(QStringLiteral("left over"));
    // No type chosen, and a free line in use by something else.
    MonitFM& m = open([](Settings& d) { d.setText(TextEntry::RememberedType, QStringLiteral("-1")), d.setTextLine(10, QStringLiteral("q")); });
    EXPECT_TRUE(m.listPosition() == -1);
    EXPECT_TRUE(QApplication::focusWidget() == m.Command1());
    EXPECT_TRUE(QGuiApplication::clipboard()->text().isEmpty());
    m.menuItem(MonitFM::MENUJOKEN, 1)->trigger();
    QPointer<Joken> dialog = m.joken();
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(dialog->isVisible());
    ASSERT_FALSE(dialog->isModal());
    dialog->JO1(5)->setText(QStringLiteral("edited"));
    m.MENUJOKEN1_Click(1);
    EXPECT_TRUE(m.joken() == dialog.data());
    EXPECT_TRUE(dialog->JO1(5)->text() == QStringLiteral("edited"));
    dialog->Command1_Click();
    EXPECT_EQ(iniLines().value(10), QStringLiteral("\"C\""));

    InstallPreview(m);
    m.Combo1()->setCurrentIndex(0);
    m.DTText(0)->setText(QStringLiteral("7"));
    corner("4");
    m.CMD1_Click();
    print();
    QPointer<PVIEW> v = OpenedPreview(m);
    ASSERT_TRUE(v);
    v->Cmdato()->click();
    print();
    EXPECT_TRUE(OpenedPreview(m) == v);
    EXPECT_TRUE(Previews() == 1);
    EXPECT_TRUE(v->PageLayout1().previewPage() == 2);
    m.menuItem(MonitFM::MENUJOKEN, 1)->trigger();
    dialog = m.joken();
    m.Combo1()->setCurrentIndex(-1);  // (the type was taken at the trial)
    m.close();
    const QStringList got = iniLines();
    EXPECT_EQ(got.value(10) + got.value(13) + got.value(19), QStringLiteral("\"edited\"\"-1\"\"q\""));
    QFile::remove(iniPath());
    EXPECT_TRUE(v->isVisible());
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(AWindowKeepsTheProgramRunning());
    said.clear();
    v->Cmdend()->click();
    const QStringList lines = QGuiApplication::clipboard()->text().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    EXPECT_EQ(said, QStringList{QStringLiteral("登録: %1点の座標値をクリップボードに貼り付けました。").arg(lines.size())});
    EXPECT_EQ(lines.value(0), QStringLiteral("\tBC 7\t%1\t%2").arg(w->corner().el.BcX, 0, 'g', 15).arg(w->corner().el.BcY, 0, 'g', 15));
    EXPECT_TRUE(Previews() == 0);
    EXPECT_TRUE(!QFile::exists(iniPath()));
    EXPECT_TRUE(quits == 0);
    dialog->JO1(5)->setText(QStringLiteral("late"));
    dialog->Command1_Click();
    EXPECT_EQ(iniLines().value(10), QStringLiteral("\"late\""));
    EXPECT_FALSE(AWindowKeepsTheProgramRunning());
}

// A print refused opens no preview and says what to do: run the trial (again, for a type chosen
// after it).
TEST_F(Main, RefusedPrintOpensNothingAndSaysWhatToDo)
{
    const struct { const char* count; int typeAtTrial, typeAtPrint; bool renew; QString message; } cases[] = {
        {nullptr, -1, -1, false, kNoDivCountMessage},  // no trial yet
        {"4", 3, 3, true, kNoDivCountMessage},
        {"4", -1, -1, false, QStringLiteral(" 計算種別が選択されていません。計算種別を選び、分割数試算をもう一度実行してから印刷してください。 ")},
        {"4", -1, 2, false, kTypeAfterTrialMessage},
        {"4", 3, 3, false, {}},
    };
    MonitFM& m = open();
    InstallPreview(m);
    for (const auto& c : cases) {
        m.Combo1()->setCurrentIndex(c.typeAtTrial);
        if (c.count) corner(c.count), m.CMD1_Click();
        if (c.renew) {  // everything empty, the type kept
            m.menuItem(MonitFM::MENUFILE, 1)->trigger();
            EXPECT_EQ(m.DTText(0)->text() + m.XText(1)->text() + m.TXT1()->text() + QString::number(m.listPosition()), QStringLiteral("3"));
        }
        m.Combo1()->setCurrentIndex(c.typeAtPrint);
        print();
        EXPECT_EQ(said, c.message.isEmpty() ? QStringList() : QStringList{QStringLiteral("確認:") + c.message}) << c.count;
        EXPECT_EQ(Previews(), c.message.isEmpty() ? 1 : 0) << c.count << " " << c.typeAtTrial;
    }
}

// "終了(X)" ends at once, after saving once.
TEST_F(Main, MissingFileIsReportedOnceAndAFailedSaveNamesItYetEnds)
{
    open({}, dir.filePath(QStringLiteral("missing/Tovanel.INI")));
    QTest::qWait(50);
    w->menuItem(MonitFM::MENUFILE, 7)->trigger();
    ASSERT_EQ(said.size(), 2);  // the notice once, over the window, then the failure
    EXPECT_FALSE(overHiddenWindow);
    EXPECT_TRUE(said[0].contains(QStringLiteral("Tovanel.INI")));
    EXPECT_TRUE(said[1].contains(QStringLiteral("Tovanel.INI")));
    EXPECT_TRUE(icons[1] == QMessageBox::Critical);
    EXPECT_TRUE(quits == 1);
    w->close();  // saved once: nothing more is written
    EXPECT_EQ(said.size(), 2);
}

TEST_F(Main, KeysFollowFieldIdxTabSkipsCoordinatesAndFocusTurnsGrey)
{
    MonitFM& m = open();
    const int up = Qt::Key_Up, ret = Qt::Key_Return, tab = Qt::Key_Tab;
    // From a box, each key and where the focus is then.
    const struct { QWidget* start; std::vector<std::pair<int, QWidget*>> steps; } cases[] = {
        {m.DTText(0), {{up, m.Combo1()}, {ret, m.DTText(0)}}},
        {m.DTText(2), {{Qt::Key_Enter, m.DTText(3)}, {ret, m.DTText(4)}, {up, m.DTText(3)}}},
        {m.XText(1), {{ret, m.XText(1)}, {up, m.XText(1)}}},  // no navigation
        {m.Command1(), {{tab, m.TXT1()}, {tab, m.DTText(3)}, {tab, m.CMD1()}, {tab, m.DTText(6)}, {tab, m.DTText(5)}, {tab, m.DTText(4)},
                        {tab, m.DTText(2)}, {tab, m.DTText(1)}, {tab, m.DTText(0)}, {tab, m.Combo1()}, {tab, m.Command1()}}},
        {m.DTText(6), {{Qt::Key_Down, m.DTText(6)}, {ret, m.CMD1()}}},  // where Enter starts the trial
    };
    auto base = [](QWidget* e) { return e->palette().color(QPalette::Base); };
    QTest::mouseClick(m.DTText(4), Qt::LeftButton);  // a click sets FieldIdx too
    Key(Qt::Key_Return);
    EXPECT_TRUE(base(m.DTText(4)) == Qt::white);
    EXPECT_TRUE(base(m.DTText(5)) == QColor(192, 192, 192));
    EXPECT_TRUE(base(m.XText(0)) == m.palette().color(QPalette::Button));
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
    ASSERT_TRUE(m.annai());
    EXPECT_EQ(m.corner().in.Radius, 100);
}

// "座標セット" reads three points in the chosen edition's layout and fills only names and
// coordinates, or says why not; TAB and line ends pasted into the IP number go with a word.
TEST_F(Main, PasteReadsEitherEditionAndChangesOnlyNamesAndCoordinatesOrSaysWhyNot)
{
    const QString denta = QStringLiteral("P1\t10.5\t20.25\r\nP2\t100\t100\r\nP3\t 0.000\t200\r\n");
    const QString untouched = QStringLiteral("keep|0|0;|100|100;|0|200");
    const struct { const char *name, *edition; QString text, expected, message; } cases[] = {
        {"NoText", "1", QString(), untouched, kNoClipboardText},
        {"Denta", "1", denta, QStringLiteral("P1|10.5|20.25;P2|100|100;P3| 0.000|200"), {}},  // leading blanks kept
        {"StravonForAnyOtherValue", "0", QStringLiteral("\tP1\t10.5\t20.25\r\n\tP2\t1\t2\r\n\tP3\t3\t4\r\n"),
         QStringLiteral("P1|10.5|20.25;P2|1|2;P3|3|4"), {}},
        {"DentaLinesReadAsStravon", "2", denta, QStringLiteral("10.5|20.25|;100|100|; 0.000|200|"), {}},
        {"HugeTextEndsQuickly", "1", QStringLiteral("P\t1\t2\n").repeated(200000) + QString(100000, QLatin1Char('\t')),
         QStringLiteral("P|1|2;P|1|2;P|1|2"), {}},
        {"CrAloneEndsNoLine", "1", QStringLiteral("a\rb\rc\r"), untouched, kTooFewLines},
    };
    MonitFM& m = open();
    for (const auto& c : cases) {
        m.settings().setText(TextEntry::CadEdition, QString::fromUtf8(c.edition));
        QGuiApplication::clipboard()->clear();
        if (!c.text.isNull()) QGuiApplication::clipboard()->setText(c.text);
        for (int i : {1, 2, 3}) m.DTText(i)->setText(i == 1 ? QStringLiteral("keep") : QString());
        corner(" 8");
        said.clear();
        QTest::mouseClick(m.Command1(), Qt::LeftButton);
        QStringList points;
        for (int i = 0; i < 3; ++i) points << QStringList{m.DTText(i + 1)->text(), m.XText(i)->text(), m.YText(i)->text()}.join('|');
        EXPECT_EQ(points.join(';') + " " + m.DTText(4)->text() + m.TXT1()->text(), c.expected + " 100 8") << c.name;
        EXPECT_EQ(said, c.message.isEmpty() ? QStringList() : QStringList{QStringLiteral("データ無し:") + c.message}) << c.name;
        EXPECT_TRUE(said.isEmpty() || icons.back() == QMessageBox::Critical);
    }
    // A spreadsheet cell keeps them (text without them passes silently: the trial test's messages).
    said.clear();
    QGuiApplication::clipboard()->setText(QStringLiteral("12\t3\r\n"));
    m.DTText(0)->paste();
    EXPECT_EQ(m.DTText(0)->text() + said.join('|'), U("123確認:IP番号に含まれていたタブ・改行を取り除きました。"));
}

// Each trial opens a new listing (red beyond a limit), headings over their columns, no text over
// another; the guide replaces it.
TEST_F(Main, TrialListsTheBoxesWithHeadingsOverTheirColumnsAndGuideReplacesIt)
{
    const struct { const char *radius, *xy, *widths; double lp; std::vector<std::pair<int, int>> red; } cases[] = {
        {"100", "0 0 100.12345 100 0 200", "3", 100, {}}, {"100", kTurn, "", 19, {{310, 600}, {310, 650}, {310, 700}}}};
    MonitFM& m = open();
    m.DTText(0)->setText(QStringLiteral("12"));
    QPointer<ANNAI> last;
    for (const auto& c : cases) {
        m.settings().setNumber(NumberEntry::LimitM, 1);
        m.settings().setNumber(NumberEntry::LimitLP, c.lp);
        m.settings().setNumber(NumberEntry::LimitL1, 1);
        corner("8", c.radius, c.xy, c.widths);
        QTest::mouseClick(m.CMD1(), Qt::LeftButton);
        EXPECT_TRUE(last.isNull());
        ASSERT_TRUE(m.annai());
        ASSERT_TRUE(m.annai()->isVisible());
        last = m.annai();
        const std::vector<SurfaceItem> texts = m.annai()->Surface1()->texts();
        std::vector<std::pair<int, int>> red;
        for (const auto& t : texts)
            if (t.colour == 255) red.emplace_back(static_cast<int>(t.x), static_cast<int>(t.y));
        EXPECT_EQ(red, c.red) << c.lp;
        EXPECT_TRUE(texts.at(1).text == U("IPNO.12"));
        EXPECT_TRUE(texts.at(2).text == U("分割数= 8"));
        EXPECT_TRUE(m.TXT1()->text() == U(" 8"));
        const SurfaceItem heading = texts.at(13);
        auto upTo = [&](qsizetype n) { SurfaceItem t = heading; t.text.truncate(n); return heading.x + SurfaceTextBox(t).width(); };
        int column = 0;
        for (const auto& word : QRegularExpression(QStringLiteral("\\S+")).globalMatch(heading.text)) {
            const double middle = (upTo(word.capturedStart()) + upTo(word.capturedEnd())) / 2;
            ++column;
            for (size_t i = 14; i < texts.size(); ++i) {  // the rows: label and five values each
                if (const QRectF v = SurfaceTextBox(texts[i]); (i - 14) % 6) {
                    EXPECT_EQ(v.left() <= middle && middle <= v.right(), int((i - 14) % 6) == column) << word.captured().toStdString();
                }
            }
        }
        EXPECT_EQ(column, 5);
        for (size_t i = 0; i < texts.size(); ++i)
            for (size_t j = i + 1; j < texts.size(); ++j)
                EXPECT_FALSE(SurfaceTextBox(texts[i]).intersects(SurfaceTextBox(texts[j]))) << texts[i].text.toStdString();
    }
    m.menuItem(MonitFM::MENUHELP, 1)->trigger();
    ASSERT_TRUE(last.isNull());
    ASSERT_TRUE(m.annai());
    EXPECT_TRUE(m.annai()->windowTitle() == kGuideCaption);
    m.menuItem(MonitFM::MENUHELP, 2)->trigger();
    EXPECT_EQ(said, QStringList{QStringLiteral("バージョン情報:") + AppVersionText()});
}

// A refused corner opens nothing and says why, once; a curve past BP or EP is listed and warned
// once, a line for each end; a sound corner says nothing. (Each refusal: the curve test.)
TEST_F(Main, BadTrialsAreRefusedOrWarned)
{
    // expect R: refused, nothing opened; W: warned, yet listed; N: listed without a word.
    const struct { const char *count, *radius, *xy, *widths; double limitLP; char expect; QString says; } cases[] = {
        {"-3", "100", kTurn, "", 10, 'R', U("分割数が正しくありません")},
        {"", "100", kTurn, "", 0, 'R', U("制限中央縦距または制限ＬＰが０以下")},
        {"8", "-100", kTurn, "", 10, 'R', U("半径が負の値です")},  // the leading number, refused
        {"8", "10", kTurn, "10", 10, 'R', U("内幅員が半径以上のため、内周の半径が正になりません。")},
        {"8", "6", "0 0 10 0 -5 1", "", 10, 'W',
         kOverrunMessage + U("\n\n接線長TL（180.1701 m）がBP～IP間の距離（10.0000 m）より長く、BCがBPの外側に出ます。\n"
                             "接線長TL（180.1701 m）がIP～EP間の距離（15.0333 m）より長く、ECがEPの外側に出ます。")},
        {"8", "100", kTurn, "", 10, 'N', {}},
    };
    MonitFM& m = open();
    m.DTText(0)->setText(QString(100000, QLatin1Char('9')));
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.count) + " R" + c.radius + " " + c.xy + " W" + c.widths);
        m.settings().setNumber(NumberEntry::LimitLP, c.limitLP);
        corner(c.count, c.radius, c.xy, c.widths);
        said.clear();
        m.CMD1_Click();
        EXPECT_EQ(!m.annai(), c.expect == 'R');
        if (c.expect == 'N') {
            EXPECT_EQ(said, QStringList());
            continue;
        }
        ASSERT_EQ(said.size(), 1);
        EXPECT_EQ(icons.back(), QMessageBox::Warning);
        EXPECT_TRUE(said[0].startsWith(U("確認:"))) << said[0].toStdString();
        if (c.expect == 'W') {  // listed and painted
            EXPECT_EQ(said[0], U("確認:") + c.says);
            EXPECT_FALSE(m.annai()->Surface1()->texts().empty());
            EXPECT_FALSE(m.annai()->grab().isNull());
        } else {  // printing still waits for a trial that worked
            EXPECT_TRUE(said[0].contains(c.says)) << said[0].toStdString();
            EXPECT_EQ(m.corner().el.DivCount, 0);
            EXPECT_EQ(m.TXT1()->text(), U(c.count));
        }
    }
}

}  // namespace
}  // namespace tovanel
