// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's File menu commands: picking BP, IP and EP from a point file, writing the
// corner's points, and the batch run of a corner table.

#include "app/batchcommand.h"
#include "app/exchangecommands.h"
#include "district/pointpicker.h"

#include "recordedwindow.h"

#include <QCheckBox>
#include <QMenuBar>
#include <QProgressDialog>
#include <QTableView>
#include <QTimer>

namespace tovanel {
namespace {

using test::U;

struct FileMenu : ::testing::Test, test::RecordedWindow {
    /// The window with the point-file and batch commands, whose dialogs answer as the members say.
    void SetUp() override
    {
        open();
        ExchangeHooks hooks;
        hooks.openFileName = [this](QWidget*, const QString&, const QString&, const QString&) { return openPath; };
        hooks.dialogs.saveFileName = [this](QWidget*, const QString&, const QString& suggested, const QString&) {
            suggestions << suggested;
            return savePath.isEmpty() ? suggested : savePath;
        };
        hooks.dialogs.execDialog = [this](QDialog& d) {
            d.show();
            d.activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
            if (user) user(d);
        };
        InstallExchange(*w, hooks);
        InstallBatch(*w, hooks);
    }
    QString openPath, savePath;          ///< what the file dialogs answer (save: the suggestion when empty)
    QStringList suggestions;             ///< the names the save dialog suggested
    std::function<void(QDialog&)> user;  ///< what the user does in a dialog the commands run
    QAction* item(const char* name) { return w->findChild<QAction*>(QString::fromLatin1(name)); }
    template <class T> T* in(QDialog& d, const char* name) { return d.findChild<T*>(QString::fromLatin1(name)); }
    QByteArray read(const QString& name) { return test::ReadAll(dir.filePath(name)); }
    /// The input boxes, "|" between them.
    QString boxes() const
    {
        QStringList b;
        for (int i = 0; i <= 6; ++i) b << w->DTText(i)->text();
        for (int i = 0; i < 3; ++i) b << w->XText(i)->text() << w->YText(i)->text();
        return (b << w->TXT1()->text()).join('|');
    }
};

TEST_F(FileMenu, PicksThreePointsFromAFileAndChangesNothingElse)
{
    // (The formats and encodings a point file comes in: the point file test.)
    test::WriteAll(openPath = dir.filePath("p.csv"), "1,K1,0.000,0.000\r\n2,境界2,100.500,100\r\n3,K3,-0.25,200.125\r\n4,k4,9,9\r\n");
    w->DTText(0)->setText("7");
    corner("4", "10");
    w->CMD1_Click();  // the trial fixes N = 4

    user = [](QDialog& d) {
        auto& p = static_cast<PointPicker&>(d);
        EXPECT_FALSE(p.okButton()->isEnabled());
        p.searchBox()->insert(U("境界"));  // filters as typed
        EXPECT_EQ(p.list()->model()->rowCount(), 1);
        QTest::keyClick(p.searchBox(), Qt::Key_Return);
        QTest::keyClick(p.list(), Qt::Key_I);  // IP first: any order
        p.searchBox()->setText(QStringLiteral("K"));  // any case: K1, K3, k4
        EXPECT_EQ(p.list()->model()->rowCount(), 3);
        QTest::keyClick(p.searchBox(), Qt::Key_Down);  // into the list, on to the second
        QTest::keyClick(p.list(), Qt::Key_E);
        QTest::keyClick(p.list(), Qt::Key_Up);
        p.pickButton(PointPicker::BP)->click();
        p.pickButton(PointPicker::BP)->click();  // picking again keeps one
        p.okButton()->click();
    };
    item("MENUFILE1_3")->trigger();
    const QString after = U("7|K1|境界2|K3|10|||0.000|0.000|100.500|100|-0.25|200.125| 4");  // names and coordinates only
    EXPECT_EQ(boxes(), after);
    EXPECT_EQ(w->corner().el.DivCount, 4) << "the trial's count stays";

    // Cancelled, or a bad file: nothing changes; only the bad file is named, with its line.
    user = [](QDialog& d) { d.reject(); };
    item("MENUFILE1_3")->trigger();
    test::WriteAll(openPath = dir.filePath("bad.csv"), "1,a,1,2\r\n2,b,1;5,2\r\n");
    user = [](QDialog&) { ADD_FAILURE() << "no list for a bad file"; };
    item("MENUFILE1_3")->trigger();
    EXPECT_EQ(boxes(), after);
    EXPECT_EQ(said, QStringList{U("座標読込:座標ファイル %1 の 2 行目: X が数値ではありません「1;5」。").arg(openPath)});
}

TEST_F(FileMenu, WritesTheClipboardsPointsOnceATrialHasFixedTheCount)
{
    // Refused before asking where, in the words on the screen.
    const struct { int typeAtTrial, typeAtExport; bool trial; QString message; } refusals[] = {
        {2, 2, false, kNoDivCountMessage},
        {-1, -1, true, U(" 計算種別が選択されていません。計算種別を選び、分割数試算をもう一度実行してから座標出力してください。 ")},
        {-1, 1, true, U(" 計算種別は分割数試算の実行時に確定します。分割数試算をもう一度実行してから座標出力してください。 ")},
    };
    for (const auto& c : refusals) {
        said.clear();
        w->Combo1()->setCurrentIndex(c.typeAtTrial);
        if (c.trial) corner("6"), w->CMD1_Click();
        w->Combo1()->setCurrentIndex(c.typeAtExport);
        item("MENUEXPORT1_1")->trigger();
        EXPECT_EQ(said, QStringList{U("確認:") + c.message}) << c.typeAtTrial << " " << c.typeAtExport;
        EXPECT_TRUE(suggestions.isEmpty()) << "refused before asking where";
    }
    said.clear();

    w->Combo1()->setCurrentIndex(2);
    w->DTText(0)->setText(U("交7"));
    corner("6");
    w->CMD1_Click();
    const struct { const char *item, *suffix, *kind; } formats[] = {
        {"MENUEXPORT1_1", "sim", "SIMA 座標ファイル"}, {"MENUEXPORT1_2", "csv", "CSV 座標ファイル"}, {"MENUEXPORT1_3", "dxf", "DXF 図面"}};
    for (const auto& f : formats) {
        said.clear();
        savePath = dir.filePath(QStringLiteral("out"));  // the suffix is added
        item(f.item)->trigger();
        const QString path = savePath + QLatin1Char('.') + QLatin1String(f.suffix);
        EXPECT_TRUE(suggestions.last().endsWith(U("街区点_交7.") + QLatin1String(f.suffix)));
        // 4 main points and 3 × (BC, 6 corners, EC) of the circumscribed scheme.
        EXPECT_EQ(said, QStringList{U("%1:28 点を %2に書き出しました。\n%3").arg(item(f.item)->text().section('(', 0, 0), U(f.kind), path)});
        EXPECT_TRUE(test::ReadAll(path).contains("\x8c\xf0" "7OEC")) << f.suffix;  // 交7OEC in CP932
    }

    // A folder that is not there: the reason is shown and nothing is written.
    said.clear();
    savePath = dir.filePath(QStringLiteral("none/out.csv"));
    item("MENUEXPORT1_2")->trigger();
    ASSERT_EQ(said.size(), 1) << said.join('\n').toStdString();
    EXPECT_TRUE(said[0].startsWith(U("CSV出力:%1 に書けません: ").arg(savePath))) << said.join('\n').toStdString();
}

// 中止, or closing the window, stops a run; closing then ends as a close does, settings saved.
TEST_F(FileMenu, RunsATableIntoOneDocumentAndOnePointFileOnceAStoppedRunHasEnded)
{
    // Two corners and a line of an unknown type.
    test::WriteAll(openPath = dir.filePath("block.csv"), "IP,BPX,BPY,IPX,IPY,EPX,EPY,R,Wi,Wo,T,N\r\n7,0,0,100,100,0,200,100,3,3,1,8\r\n"
                                                     "8,0,0,100,100,0,200,100,3,3,5,\r\n9,0,20,10,10,0,0,10,1,2,2,1\r\n");
    const struct { bool close; const char* said; bool open; } stops[] = {{false, "中止しました", true}, {true, "", false}};
    for (const auto& c : stops) {
        user = [&](QDialog& d) {
            in<QPushButton>(d, "TableBrowse")->click();
            QTimer::singleShot(0, w.get(), [this, &c] {  // as soon as the progress shows
                auto* progress = w->findChild<QProgressDialog*>("BatchProgress");
                ASSERT_TRUE(progress);
                ASSERT_TRUE(progress->isVisible());
                EXPECT_FALSE(w->menuBar()->isEnabled()) << "no commands during the run";
                QFile::remove(iniPath());
                if (c.close) {
                    EXPECT_FALSE(w->close()) << "the run stops first";
                }
                for (QPushButton* b : progress->findChildren<QPushButton*>())
                    if (b->text() == QStringLiteral("中止") && !c.close) b->click();
                EXPECT_TRUE(progress->wasCanceled());
            });
            in<QPushButton>(d, "RunButton")->click();
        };
        said.clear();
        item("MENUFILE1_8")->trigger();
        EXPECT_EQ(said.join('\n').contains(U(c.said)) && said.size() == (c.close ? 0 : 1), true) << said.join('\n').toStdString();
        EXPECT_EQ(w->isVisible(), c.open);
        EXPECT_EQ(QFile::exists(iniPath()), c.close) << "the settings are saved as the window closes";
        EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("block_計算書.pdf"))));
    }
    said.clear();
    w->show();

    user = [this](QDialog& d) {
        auto* run = in<QPushButton>(d, "RunButton");
        EXPECT_FALSE(run->isEnabled()) << "no table yet";
        in<QPushButton>(d, "TableBrowse")->click();
        EXPECT_EQ(in<QLineEdit>(d, "PdfEdit")->text(), dir.filePath(QStringLiteral("block_計算書.pdf")));
        in<QComboBox>(d, "PointFormat")->setCurrentIndex(1);
        EXPECT_EQ(in<QLineEdit>(d, "PointEdit")->text(), dir.filePath(QStringLiteral("block_座標.csv")));
        for (bool on : {false, true}) {  // nothing to write, then both
            in<QCheckBox>(d, "PdfCheck")->setChecked(on);
            in<QCheckBox>(d, "PointCheck")->setChecked(on);
            EXPECT_EQ(run->isEnabled(), on);
        }
        run->click();
    };
    item("MENUFILE1_8")->trigger();
    // The refused line and where the points went (the summary's wording is the batch run's).
    ASSERT_EQ(said.size(), 1) << said.join('\n').toStdString();
    EXPECT_TRUE(said[0].contains(U("3 行目: 計算方式「5」"))) << said[0].toStdString();
    EXPECT_TRUE(said[0].contains(U("block_座標.csv"))) << said[0].toStdString();
    EXPECT_TRUE(read(QStringLiteral("block_計算書.pdf")).startsWith("%PDF"));
    EXPECT_EQ(read(QStringLiteral("block_座標.csv")).count("\r\n"), 1 + (4 + 9 + 9 + 10) + (4 + 3 * 3)) << "header, both corners";
    EXPECT_TRUE(w->menuBar()->isEnabled());
    EXPECT_TRUE(w->centralWidget()->isEnabled());
}

}  // namespace
}  // namespace tovanel
