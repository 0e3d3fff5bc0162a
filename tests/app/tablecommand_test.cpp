// SPDX-License-Identifier: GPL-3.0-or-later
// The corner table window as the main window opens it: the File menu command, the main window's
// corner as a row and a row back into its boxes, and the preview of the table's rows.

#include "app/tablecommand.h"

#include "district/cornertablemodel.h"
#include "print/pagelayout.h"
#include "print/pview.h"
#include "sheets/composition.h"

#include "recordedwindow.h"

#include <QApplication>
#include <QTableView>

namespace tovanel {
namespace {

using test::U;

struct TableCommand : ::testing::Test, test::RecordedWindow {
    void SetUp() override
    {
        open();
        TableHooks hooks;
        hooks.askSave = [](QWidget*, const QString&, const QString&) { return QMessageBox::Discard; };
        hooks.dialogs.execDialog = [this](QDialog& d) { ran << d.objectName(); };
        InstallCornerTable(*w, hooks, dir.filePath(QStringLiteral("recent.txt")));
    }
    QStringList ran;  ///< the dialogs run modally, by name
    QAction* item(const char* name) { return w->findChild<QAction*>(QString::fromLatin1(name)); }
};

TEST_F(TableCommand, TheMainWindowsCornerGoesIntoTheTableAndARowComesBack)
{
    ASSERT_NE(item("MENUFILE1_9"), nullptr);
    EXPECT_EQ(item("MENUFILE1_9")->text(), U("隅切り表(&T)..."));
    item("MENUFILE1_9")->trigger();
    CornerTableWindow* table = OpenedCornerTable(*w);
    ASSERT_NE(table, nullptr);
    EXPECT_TRUE(table->isVisible());

    // The boxes as typed, read by their own rule ("12.5m" is 12.5).
    corner("", "12.5m");
    w->Combo1()->setCurrentIndex(1);
    w->DTText(0)->setText(U("K7"));
    w->DTText(1)->setText(U("BP点"));
    table->action(QStringLiteral("TableAddCurrent"))->trigger();
    ASSERT_EQ(table->model()->rowCount(), 1);
    const TableRow& row = table->model()->row(0);
    EXPECT_EQ(row.cells[0], U("K7"));
    EXPECT_EQ(row.cells[7], U("12.5"));
    EXPECT_EQ(row.cells[10], U("1"));
    EXPECT_EQ(row.cells[12], U("BP点"));
    EXPECT_EQ(row.status, RowStatus::Computed);

    // Back into cleared boxes: the trial then gives the table's elements, and printing waits for it.
    w->Mn_New();
    ASSERT_EQ(table->model()->setCell(0, CornerTableModel::ColDivisions, U("6")), QString());
    table->view()->setCurrentIndex(table->model()->index(0, 0));
    table->openRowInMain();
    EXPECT_EQ(w->DTText(4)->text(), U("12.5"));
    EXPECT_EQ(w->XText(1)->text(), U("100"));
    EXPECT_EQ(w->TXT1()->text(), U("6"));
    EXPECT_EQ(w->Combo1()->currentIndex(), 1);
    EXPECT_EQ(w->corner().el.DivCount, 0);
    w->CMD1_Click();
    EXPECT_EQ(w->corner().el.TL, table->model()->row(0).corner.el.TL);
    EXPECT_EQ(w->corner().el.DivCount, 6);
}

TEST_F(TableCommand, ThePreviewOfTheTableHoldsEveryComputedRowsPagesInOrder)
{
    const QString path = test::WriteIn(dir, QStringLiteral("p.csv"),
                                       "1,0,0,100,100,0,200,10,1,2,0\r\n2,0,0,100,100,0,200,10,1,2,x\r\n"
                                       "3,5,5,20,9,22,30,12.5,2.5,4,1,7\r\n");
    CornerTableWindow* table = ShowCornerTable(*w, path);  // a table named on opening
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->windowTitle(), U("隅切り表 - p.csv"));
    table->action(QStringLiteral("TablePreview"))->trigger();
    PVIEW* preview = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* p = qobject_cast<PVIEW*>(top); p && p->isVisible()) preview = p;
    ASSERT_NE(preview, nullptr);
    // The pages of rows 1 and 3 as each composes alone, one after the other; row 2 is left out.
    std::vector<Page> expected;
    for (int r : {0, 2}) {
        PageLayout pl;
        pl.setPageLayout(w->printer().pageLayout());
        ASSERT_EQ(ComposeDocument(table->model()->row(r).corner, w->settings(), pl).refusal, QString());
        expected.insert(expected.end(), pl.pages().begin(), pl.pages().end());
    }
    const PageLayout& shown = preview->PageLayout1();
    ASSERT_EQ(shown.pageCount(), static_cast<int>(expected.size()));
    for (size_t p = 0; p < expected.size(); ++p) {
        SCOPED_TRACE(p);
        EXPECT_EQ(shown.pages()[p].size(), expected[p].size());
    }
    preview->close();

    // Printing opens the same preview's print dialog.
    EXPECT_EQ(ran, QStringList{});
    table->action(QStringLiteral("TablePrint"))->trigger();
    EXPECT_EQ(ran, QStringList{U("PriForm")});
}

}  // namespace
}  // namespace tovanel
