// SPDX-License-Identifier: GPL-3.0-or-later
// The File menu's batch command offscreen: the dialog, a run with a refused line, and a run that
// is cancelled from its progress dialog.

#include "app/batchcommand.h"
#include "app/exchangecommands.h"
#include "app/monitfm.h"
#include "calc/calcstate.h"
#include "calc/settingsfile.h"

#include "../print/qstringprint.h"
#include "recordedwindow.h"
#include "support/files.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace tovanel {
namespace {

struct Batch : ::testing::Test, test::RecordedWindow {
    void SetUp() override
    {
        ExchangeHooks hooks;
        hooks.openFileName = [this](QWidget*, const QString&, const QString&, const QString&) { return table; };
        hooks.dialogs.saveFileName = [](QWidget*, const QString&, const QString& suggested, const QString&) {
            return suggested;
        };
        hooks.dialogs.execDialog = [this](QDialog& d) {
            d.show();
            user(d);
        };
        InstallExchange(*w, hooks);
        InstallBatch(*w, hooks);
        w->show();
        table = dir.filePath("block.csv");
        test::WriteAll(table, "IP,BPX,BPY,IPX,IPY,EPX,EPY,R,Wi,Wo,T,N\r\n7,0,0,100,100,0,200,100,3,3,1,8\r\n"
                              "8,0,0,100,100,0,200,100,3,3,5,\r\n9,0,20,10,10,0,0,10,1,2,2,1\r\n");
    }
    template <class T> T* in(QDialog& d, const char* name) { return d.findChild<T*>(QString::fromLatin1(name)); }
    QByteArray read(const QString& name) { return test::ReadAll(dir.filePath(name)); }

    QString table;
    std::function<void(QDialog&)> user;  ///< what the user does in the batch dialog
};

TEST_F(Batch, RunsATableIntoOneDocumentAndOnePointFile)
{
    QMenu* file = w->findChild<QMenu*>("MENUFILE");
    QStringList menu;
    for (QAction* a : file->actions()) menu << a->text();
    EXPECT_EQ(menu.join('|'), QStringLiteral("新規作成(&N)||座標読込(&I)...|座標出力(&O)|一括計算(&B)...||プリンタの設定(&U)||終了(&X)"));

    user = [this](QDialog& d) {
        auto* run = in<QPushButton>(d, "RunButton");
        EXPECT_FALSE(run->isEnabled()) << "no table yet";
        in<QPushButton>(d, "TableBrowse")->click();
        EXPECT_EQ(in<QLineEdit>(d, "PdfEdit")->text(), dir.filePath(QStringLiteral("block_計算書.pdf")));
        EXPECT_EQ(in<QLineEdit>(d, "PointEdit")->text(), dir.filePath(QStringLiteral("block_座標.sim")));
        in<QComboBox>(d, "PointFormat")->setCurrentIndex(1);
        EXPECT_EQ(in<QLineEdit>(d, "PointEdit")->text(), dir.filePath(QStringLiteral("block_座標.csv")));
        in<QCheckBox>(d, "PdfCheck")->setChecked(false);
        in<QCheckBox>(d, "PointCheck")->setChecked(false);
        EXPECT_FALSE(run->isEnabled()) << "nothing to write";
        in<QCheckBox>(d, "PdfCheck")->setChecked(true);
        in<QCheckBox>(d, "PointCheck")->setChecked(true);
        run->click();
    };
    w->findChild<QAction*>("MENUFILE1_8")->trigger();
    ASSERT_EQ(said.size(), 1);
    EXPECT_TRUE(said[0].startsWith(QStringLiteral("一括計算:2 箇所の隅切りを計算しました。計算できなかった行が 1 行あります。")))
        << said[0].toStdString();
    EXPECT_TRUE(said[0].contains(QStringLiteral("3 行目: 計算方式「5」"))) << said[0].toStdString();
    EXPECT_TRUE(said[0].contains(QStringLiteral("block_座標.csv"))) << said[0].toStdString();
    EXPECT_TRUE(read(QStringLiteral("block_計算書.pdf")).startsWith("%PDF"));
    EXPECT_EQ(read(QStringLiteral("block_座標.csv")).count("\r\n"), 1 + (4 + 9 + 9 + 10) + (4 + 3 * 3)) << "header, both corners";
    EXPECT_TRUE(w->menuBar()->isEnabled() && w->centralWidget()->isEnabled());
}

TEST_F(Batch, CancelLeavesThePreviousFiles)
{
    for (const char* name : {"block_計算書.pdf", "block_座標.sim"}) test::WriteAll(dir.filePath(QString::fromUtf8(name)), "previous");
    user = [this](QDialog& d) {
        in<QLineEdit>(d, "TableEdit")->setText(table);
        in<QLineEdit>(d, "PdfEdit")->setText(dir.filePath(QStringLiteral("block_計算書.pdf")));
        in<QLineEdit>(d, "PointEdit")->setText(dir.filePath(QStringLiteral("block_座標.sim")));
        // The user presses 中止 as soon as the progress shows; closing the window stops it too.
        QTimer::singleShot(0, w.get(), [this] {
            auto* progress = w->findChild<QProgressDialog*>("BatchProgress");
            ASSERT_TRUE(progress && progress->isVisible());
            EXPECT_FALSE(w->menuBar()->isEnabled()) << "no commands during the run";
            EXPECT_FALSE(w->close()) << "closing the window stops the run first";
            for (QPushButton* b : progress->findChildren<QPushButton*>())
                if (b->text() == QStringLiteral("中止")) b->click();
            EXPECT_TRUE(progress->wasCanceled());
        });
        in<QPushButton>(d, "RunButton")->click();
    };
    w->findChild<QAction*>("MENUFILE1_8")->trigger();
    ASSERT_EQ(said.size(), 1);
    EXPECT_TRUE(said[0].contains(QStringLiteral("中止しました"))) << said[0].toStdString();
    EXPECT_EQ(read(QStringLiteral("block_計算書.pdf")), "previous");
    EXPECT_EQ(read(QStringLiteral("block_座標.sim")), "previous");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 4) << "no temporary file left";
    EXPECT_TRUE(w->isVisible());
}

}  // namespace
}  // namespace tovanel
