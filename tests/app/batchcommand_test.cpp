// SPDX-License-Identifier: GPL-3.0-or-later
// The File menu's batch command offscreen: the dialog, a run with a refused line, and a run that
// is cancelled from its progress dialog.

#include "recordedwindow.h"
#include "support/files.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace tovanel {
namespace {

struct Batch : ::testing::Test, test::RecordedWindow {
    void SetUp() override
    {
        open(), installCommands();
        test::WriteAll(openPath = dir.filePath("block.csv"), "IP,BPX,BPY,IPX,IPY,EPX,EPY,R,Wi,Wo,T,N\r\n7,0,0,100,100,0,200,100,3,3,1,8\r\n"
                                                         "8,0,0,100,100,0,200,100,3,3,5,\r\n9,0,20,10,10,0,0,10,1,2,2,1\r\n");
    }
    template <class T> T* in(QDialog& d, const char* name) { return d.findChild<T*>(QString::fromLatin1(name)); }
    QByteArray read(const QString& name) { return test::ReadAll(dir.filePath(name)); }
};

TEST_F(Batch, RunsATableIntoOneDocumentAndOnePointFile)
{
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
    w->findChild<QAction*>("MENUFILE1_8")->trigger();
    ASSERT_EQ(said.size(), 1);
    for (const char* part : {"一括計算:2 箇所の隅切りを計算しました。計算できなかった行が 1 行あります。", "3 行目: 計算方式「5」", "block_座標.csv"})
        EXPECT_TRUE(said[0].contains(QString::fromUtf8(part))) << said[0].toStdString();
    EXPECT_TRUE(read(QStringLiteral("block_計算書.pdf")).startsWith("%PDF"));
    EXPECT_EQ(read(QStringLiteral("block_座標.csv")).count("\r\n"), 1 + (4 + 9 + 9 + 10) + (4 + 3 * 3)) << "header, both corners";
    EXPECT_TRUE(w->menuBar()->isEnabled() && w->centralWidget()->isEnabled());
}

TEST_F(Batch, CancelLeavesThePreviousFiles)
{
    const QString pdf = dir.filePath(QStringLiteral("block_計算書.pdf")), sim = dir.filePath(QStringLiteral("block_座標.sim"));
    for (const QString& path : {pdf, sim}) test::WriteAll(path, "previous");
    user = [&](QDialog& d) {
        in<QLineEdit>(d, "TableEdit")->setText(openPath);
        in<QLineEdit>(d, "PdfEdit")->setText(pdf);
        in<QLineEdit>(d, "PointEdit")->setText(sim);
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
    EXPECT_EQ(test::ReadAll(pdf) + test::ReadAll(sim), "previousprevious");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 4) << "no temporary file left";
    EXPECT_TRUE(w->isVisible());
}

}  // namespace
}  // namespace tovanel
