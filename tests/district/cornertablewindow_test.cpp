// SPDX-License-Identifier: GPL-3.0-or-later
// The corner table window's commands on a small table, every dialog answered by a hook.

#include "district/cornertablewindow.h"

#include "batch/batchrun.h"
#include "calc/settingsfile.h"
#include "district/cornertablemodel.h"
#include "district/pointpicker.h"
#include "plan/planview.h"

#include "support/files.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>
#include <gtest/gtest.h>
#include <cmath>
#include <deque>
#include <functional>
#include <memory>

namespace tovanel {
namespace {

using test::ReadAll;
using test::WriteIn;

QString U(const char* s) { return QString::fromUtf8(s); }

constexpr const char* kTable =
    "IP番号,BP X,BP Y,IP X,IP Y,EP X,EP Y,半径,内幅員,外幅員,計算方式,分割数,BP名,IP名,EP名\r\n"
    "1,0,0,100,100,0,200,10,1,2,0,,B1,I1,E1\r\n"
    "2,0,0,100,100,0,200,12,1,2,1,,,,\r\n";

struct Fixture {
    QTemporaryDir dir;
    QStringList said;
    std::deque<QString> savePaths, openPaths;
    std::deque<QMessageBox::StandardButton> answers;
    int asked = 0;
    std::unique_ptr<CornerTableWindow> w;
    std::function<void(QDialog&)> user;  ///< what the user does in a dialog the window runs

    QString table() { return WriteIn(dir, QStringLiteral("t.csv"), QString::fromUtf8(kTable).toUtf8()); }
    static QString next(std::deque<QString>& paths)
    {
        if (paths.empty()) return QString();
        QString p = paths.front();
        paths.pop_front();
        return p;
    }

    CornerTableWindow& open()
    {
        CornerTableWindow::Setup s;
        s.settings = [] { return DefaultSettings(); };
        s.recentList = dir.filePath(QStringLiteral("recent.txt"));
        s.hooks.dialogs.message = [this](QWidget*, QMessageBox::Icon, const QString&, const QString& text) { said << text; };
        s.hooks.dialogs.saveFileName = [this](QWidget*, const QString&, const QString&, const QString&) { return next(savePaths); };
        s.hooks.openFileName = [this](QWidget*, const QString&, const QString&, const QString&) { return next(openPaths); };
        s.hooks.askSave = [this](QWidget*, const QString&, const QString&) {
            ++asked;
            if (answers.empty()) return QMessageBox::Cancel;
            const QMessageBox::StandardButton b = answers.front();
            answers.pop_front();
            return b;
        };
        s.hooks.dialogs.execDialog = [this](QDialog& d) {
            d.show();
            if (user) user(d);
        };
        w = std::make_unique<CornerTableWindow>(std::move(s));
        w->show();
        w->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(w.get()));
        return *w;
    }
};

TEST(CornerTableWindow, OpenEditSaveAndTheTitle)
{
    Fixture f;
    CornerTableWindow& w = f.open();
    EXPECT_EQ(w.windowTitle(), U("隅切り表 - 無題"));
    const QString path = f.table();
    ASSERT_TRUE(w.openFile(path));
    EXPECT_EQ(w.windowTitle(), U("隅切り表 - t.csv"));
    EXPECT_EQ(w.model()->rowCount(), 2);
    EXPECT_EQ(w.recentFiles(), QStringList{path});
    EXPECT_EQ(ReadAll(f.dir.filePath(QStringLiteral("recent.txt"))), (path + U("\n")).toUtf8());

    EXPECT_EQ(w.model()->setCell(1, CornerTableModel::ColRadius, U("15")), QString());
    EXPECT_EQ(w.windowTitle(), U("隅切り表 - t.csv *"));
    ASSERT_TRUE(w.save());
    EXPECT_EQ(w.windowTitle(), U("隅切り表 - t.csv"));
    QByteArray expected;
    ASSERT_TRUE(EncodeCp932(U(kTable).replace(U("2,0,0,100,100,0,200,12"), U("2,0,0,100,100,0,200,15")), expected));
    EXPECT_EQ(ReadAll(path), expected);

    // Undo back to the saved state clears the mark; a step past it marks it again.
    w.model()->undoStack()->undo();
    EXPECT_EQ(w.windowTitle(), U("隅切り表 - t.csv *"));
    w.model()->undoStack()->redo();
    EXPECT_EQ(w.windowTitle(), U("隅切り表 - t.csv"));

    // Save as: the new name, the old file untouched.
    w.model()->setCell(0, CornerTableModel::ColIpNo, U("A1"));
    const QString other = f.dir.filePath(QStringLiteral("other"));
    f.savePaths.push_back(other);
    ASSERT_TRUE(w.saveAs());
    EXPECT_EQ(w.filePath(), other + U(".csv"));
    EXPECT_EQ(ReadAll(path), expected);
    EXPECT_TRUE(ReadAll(other + U(".csv")).contains("\r\nA1,0,0,"));
    EXPECT_EQ(w.recentFiles().front(), other + U(".csv"));
}

TEST(CornerTableWindow, ClosingWithChangesAsks)
{
    const struct { const char* name; QMessageBox::StandardButton answer; bool closes; bool saved; } rows[] = {
        {"cancel", QMessageBox::Cancel, false, false},
        {"discard", QMessageBox::Discard, true, false},
        {"save", QMessageBox::Save, true, true},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        Fixture f;
        CornerTableWindow& w = f.open();
        const QString path = f.table();
        ASSERT_TRUE(w.openFile(path));
        const QByteArray before = ReadAll(path);
        EXPECT_TRUE(w.close());  // nothing changed: no question
        EXPECT_EQ(f.asked, 0);
        w.show();
        w.model()->removeRowsAt({0});
        f.answers.push_back(r.answer);
        EXPECT_EQ(w.close(), r.closes);
        EXPECT_EQ(f.asked, 1);
        EXPECT_EQ(ReadAll(path) != before, r.saved);
    }
}

TEST(CornerTableWindow, WhatCannotBeOpenedOrSavedSaysWhyAndChangesNothing)
{
    Fixture f;
    CornerTableWindow& w = f.open();
    const QString path = f.table();
    ASSERT_TRUE(w.openFile(path));
    const QString prose = WriteIn(f.dir, QStringLiteral("letter.txt"), "Dear surveyor,\nno corners here.\n");
    EXPECT_FALSE(w.openFile(prose));
    ASSERT_EQ(f.said.size(), 1);
    EXPECT_TRUE(f.said[0].endsWith(U("隅切り表ではありません（IP番号 から 計算方式 までの 11 項目がそろった行が一つもありません）。")));
    EXPECT_EQ(w.filePath(), path);
    EXPECT_EQ(w.model()->rowCount(), 2);

    // A save that cannot be written keeps the previous file and says why.
    const QByteArray before = ReadAll(path);
    w.model()->setCell(0, CornerTableModel::ColRadius, U("11"));
    const QString folder = f.dir.filePath(QStringLiteral("folder.csv"));
    ASSERT_TRUE(QDir().mkdir(folder));
    EXPECT_FALSE(w.saveTo(folder).isEmpty());
    f.savePaths.push_back(f.dir.filePath(QStringLiteral("missing/t.csv")));
    EXPECT_FALSE(w.saveAs());
    EXPECT_TRUE(f.said.back().contains(U("前のファイルはそのままです")));
    EXPECT_EQ(ReadAll(path), before);
    EXPECT_TRUE(w.isModified());
}

TEST(CornerTableWindow, ABadCellTypedIsRefusedWhereItIsTyped)
{
    Fixture f;
    CornerTableWindow& w = f.open();
    ASSERT_TRUE(w.openFile(f.table()));
    QTableView* view = w.view();
    const QModelIndex cell = w.model()->index(0, CornerTableModel::ColBpX);
    view->setCurrentIndex(cell);
    view->edit(cell);
    auto* editor = view->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, U("12.5m"));
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(f.said.size(), 1);
    EXPECT_EQ(f.said[0], U("BP X が数値ではありません「12.5m」。"));
    EXPECT_EQ(cell.data().toString(), U("0"));
    EXPECT_EQ(w.model()->undoStack()->count(), 0);

    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // the first editor goes
    view->edit(cell);
    editor = view->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), U("0"));
    editor->selectAll();
    QTest::keyClicks(editor, U("-3.25"));
    QTest::keyClick(editor, Qt::Key_Return);  // the view commits once the editor has had the key
    QTRY_COMPARE(cell.data().toString(), U("-3.25"));
    EXPECT_EQ(w.model()->row(0).corner.in.BpX, -3.25);

    // The type is chosen from the four.
    const QModelIndex type = w.model()->index(0, CornerTableModel::ColType);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    view->edit(type);
    auto* list = view->findChild<QComboBox*>();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->currentText(), U("平行"));
    ASSERT_EQ(list->count(), 4);
    list->setCurrentIndex(3);
    emit view->itemDelegate()->commitData(list);
    EXPECT_EQ(type.data().toString(), U("等曲率半径"));
    EXPECT_EQ(w.model()->row(0).cells[10], U("3"));
    EXPECT_EQ(w.model()->row(0).corner.in.CalcType, 3);
    EXPECT_EQ(f.said.size(), 1);
}

// (The main window's corner as a row and back: the table command test.)
TEST(CornerTableWindow, SelectedRowsCopiedAndARefusedPasteSaid)
{
    Fixture f;
    CornerTableWindow& w = f.open();
    ASSERT_TRUE(w.openFile(f.table()));
    w.view()->selectRow(0);
    w.copyRows();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), U("1\t0\t0\t100\t100\t0\t200\t10\t1\t2\t0\t\tB1\tI1\tE1\n"));
    QGuiApplication::clipboard()->setText(U("9\t0\t0\t100\n"));
    w.pasteRows();
    EXPECT_EQ(w.model()->rowCount(), 2);
    ASSERT_EQ(f.said.size(), 1);
    EXPECT_TRUE(f.said[0].startsWith(U("貼り付けた 1 行目: 4 列あります。")));
}

TEST(CornerTableWindow, OutputsAreTheBatchRunsFilesOfTheChosenRows)
{
    Fixture f;
    CornerTableWindow& w = f.open();
    const QString path = f.table();
    ASSERT_TRUE(w.openFile(path));
    const QString sima = f.dir.filePath(QStringLiteral("all.sim"));
    f.savePaths.push_back(sima);
    w.exportRows(static_cast<int>(PointFileKind::Sima));
    ASSERT_EQ(f.said.size(), 1);
    EXPECT_TRUE(f.said[0].startsWith(U("2 箇所の隅切りを計算しました。"))) << f.said[0].toStdString();

    // The batch run on the table file itself writes the same file.
    BatchOutputs out;
    out.sima = f.dir.filePath(QStringLiteral("batch.sim"));
    ASSERT_EQ(RunBatch(path, DefaultSettings(), out).done, 2);
    EXPECT_EQ(ReadAll(sima), ReadAll(out.sima));

    // Only the selected row when asked so.
    w.action(QStringLiteral("TableSelectedOnly"))->setChecked(true);
    w.view()->selectRow(1);
    EXPECT_EQ(w.outputRows(), std::vector<int>{1});
    const QString one = f.dir.filePath(QStringLiteral("one.csv"));
    f.savePaths.push_back(one);
    w.exportRows(static_cast<int>(PointFileKind::Csv));
    EXPECT_TRUE(f.said.back().startsWith(U("1 箇所の隅切りを計算しました。")));
    const QString second = WriteIn(f.dir, QStringLiteral("second.csv"), QByteArray(kTable).split('\n')[2]);
    out = BatchOutputs{};
    out.csv = f.dir.filePath(QStringLiteral("second-batch.csv"));
    ASSERT_EQ(RunBatch(second, DefaultSettings(), out).done, 1);
    EXPECT_EQ(ReadAll(one), ReadAll(out.csv));
}

TEST(CornerTableWindow, ThePlanBesideTheTableFollowsItsRowsAndItsSelection)
{
    Fixture f;
    CornerTableWindow& w = f.open();
    const QString path = WriteIn(f.dir, QStringLiteral("p.csv"),
                                 "1,0,0,100,100,0,200,10,1,2,0\n2,0,0,100,100,0,200,12,1,2,1\n3,5,6,100,100,x,200,10,1,2,0\n");
    ASSERT_TRUE(w.openFile(path));
    PlanView* plan = w.planView();
    ASSERT_EQ(plan->corners().size(), 3u);
    // Each computed row is drawn as the plan computes the corner; the refused one as its points.
    const PlanCorner expected = PlanCornerOf(w.model()->row(1).corner.in, DefaultSettings());
    EXPECT_EQ(plan->corners()[1].stakes.size(), expected.stakes.size());
    EXPECT_EQ(plan->corners()[1].el.TL, expected.el.TL);
    EXPECT_FALSE(plan->corners()[2].refusal.isEmpty());
    EXPECT_EQ(plan->corners()[2].in.BpX, 5);
    EXPECT_TRUE(std::isnan(plan->corners()[2].in.EpX));

    // An edit redraws its row; undo redraws it back.
    const QPointF centre = plan->viewport().centre;
    ASSERT_EQ(w.model()->setCell(0, CornerTableModel::ColRadius, U("20")), QString());
    EXPECT_NEAR(plan->corners()[0].el.TL, 20, 1e-6);
    EXPECT_EQ(plan->viewport().centre, centre) << "an edit does not move the drawing";
    w.model()->undoStack()->undo();
    EXPECT_NEAR(plan->corners()[0].el.TL, 10, 1e-6);
    w.model()->removeRowsAt({0});
    EXPECT_EQ(plan->corners().size(), 2u);
    w.model()->undoStack()->undo();
    EXPECT_EQ(plan->corners().size(), 3u);

    // Selection both ways.
    w.view()->selectRow(1);
    EXPECT_EQ(plan->selection(), std::vector<int>{1});
    emit plan->cornerClicked(2);
    EXPECT_EQ(w.selectedRows(), std::vector<int>{2});

    // The drawing saved is the plan's own file of the rows.
    const QString svg = f.dir.filePath(QStringLiteral("plan.svg"));
    f.savePaths.push_back(svg);
    w.savePlan();
    std::vector<PlanCorner> rows;
    for (int r = 0; r < 3; ++r) rows.push_back(w.model()->row(r).plan);
    const QString again = f.dir.filePath(QStringLiteral("again.svg"));
    ASSERT_EQ(WritePlanSvg(again, rows), QString());
    EXPECT_EQ(ReadAll(svg), ReadAll(again));
    EXPECT_TRUE(ReadAll(svg).startsWith("<?xml"));
}

TEST(CornerTableWindow, PointsPickedFromAFileMakeARow)
{
    Fixture f;
    CornerTableWindow& w = f.open();
    f.openPaths.push_back(WriteIn(f.dir, QStringLiteral("p.csv"), "1,K1,0.000,0.000\r\n2,境界2,100.500,100\r\n3,K3,-0.25,200.125\r\n"));
    f.user = [](QDialog& d) {
        auto& p = static_cast<PointPicker&>(d);
        for (auto [row, which] : {std::pair{0, PointPicker::BP}, {1, PointPicker::IP}, {2, PointPicker::EP}}) {
            p.list()->setCurrentIndex(p.list()->model()->index(row, 0));
            p.pick(which);
        }
        p.okButton()->click();
    };
    w.importPoints();
    ASSERT_EQ(w.model()->rowCount(), 1);
    const RowCells& c = w.model()->row(0).cells;
    EXPECT_EQ(QStringList(c.begin(), c.end()).join(U("|")), U("|0|0|100.5|100|-0.25|200.125||||0||K1|境界2|K3"));
    // The IP number and the radius are still to be typed: the row says so.
    EXPECT_EQ(w.model()->row(0).message, U("IP番号 が空です。"));
    // (A bad point file: the File menu test.)
}

TEST(CornerTableWindow, RowsTheTableRefusesAreNamedAndNotWritten)
{
    Fixture f;
    CornerTableWindow& w = f.open();
    // Row 2 cannot be staked (its three points lie on a line); row 3 has a cell that is no number.
    ASSERT_TRUE(w.openFile(WriteIn(f.dir, QStringLiteral("r.csv"),
                                   "1,0,0,100,100,0,200,10,1,2,0\n2,0,0,100,0,200,0,10,1,2,0\n3,0,0,100,100,0,x,10,1,2,0\n")));
    const QString dxf = f.dir.filePath(QStringLiteral("r.dxf"));
    f.savePaths.push_back(dxf);
    w.exportRows(static_cast<int>(PointFileKind::Dxf));
    ASSERT_EQ(f.said.size(), 1);
    EXPECT_EQ(f.said[0].section(U("\n\n"), 0, 0), U("1 箇所の隅切りを計算しました。計算できなかった行が 2 行あります。"));
    EXPECT_TRUE(f.said[0].contains(U("\n  2 行目: ") + w.model()->row(1).message));
    EXPECT_TRUE(f.said[0].contains(U("\n  3 行目: EP Y が数値ではありません「x」。")));
    BatchOutputs out;
    out.dxf = f.dir.filePath(QStringLiteral("first.dxf"));
    ASSERT_EQ(RunBatch(WriteIn(f.dir, QStringLiteral("first.csv"), "1,0,0,100,100,0,200,10,1,2,0\n"), DefaultSettings(), out).done, 1);
    EXPECT_EQ(ReadAll(dxf), ReadAll(out.dxf));
}

}  // namespace
}  // namespace tovanel
