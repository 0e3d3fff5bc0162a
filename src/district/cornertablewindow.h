// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "隅切り表": the corner table window. The table file opened, edited row by row (each row
// computed as it changes), saved, and sent through the batch run into sheets and point files.

#include "calc/corner.h"
#include "calc/settings.h"
#include "exchange/pointwriter.h"
#include "print/previewhooks.h"

#include <QMainWindow>
#include <QMessageBox>
#include <QStyledItemDelegate>
#include <functional>
#include <optional>

class QAction;
class QLabel;
class QMenu;
class QSplitter;
class QTableView;

namespace tovanel {
class PlanView;
}

namespace tovanel {

class CornerTableModel;
class PVIEW;

/// The modal parts of the window, replaceable so that a test answers them.
struct TableHooks {
    /// Messages, the save dialog, running a dialog modally. Empty members: the real thing.
    PreviewHooks dialogs;
    /// Asks which file to open; empty when cancelled.
    std::function<QString(QWidget* parent, const QString& caption, const QString& folder, const QString& filter)>
        openFileName;
    /// Asks what to do with unsaved changes: QMessageBox::Save, Discard or Cancel.
    std::function<QMessageBox::StandardButton(QWidget* parent, const QString& title, const QString& text)> askSave;
};

/// The cells' editors: the type as a list of the four, every other cell as a line whose text the
/// model checks when it is committed; a refused text is reported through `refused` and the cell
/// keeps its value.
class CornerCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

signals:
    void refused(const QString& why) const;
};

class CornerTableWindow : public QMainWindow {
    Q_OBJECT
public:
    struct Setup {
        /// The calculation conditions in force, read when the window opens and each time it is
        /// activated (the settings dialog may have changed them).
        std::function<Settings()> settings;
        TableHooks hooks;
        /// The list of recently used tables; empty: "recent-tables.txt" in the user's settings folder.
        QString recentList;
        /// The main window's corner as its boxes would be gathered for a trial; empty: none.
        std::function<CornerInput()> currentCorner;
        /// Fills the main window's boxes with a corner and brings it forward.
        std::function<void(const CornerInput&)> openInMain;
        /// The paper code the sheets are laid out for (the program's printer settings).
        std::function<int()> paper;
        /// Opens the preview of the corners' sheets (the print command's window), and with
        /// `print` its print dialog at once; empty: no preview.
        std::function<void(std::vector<Corner> corners, bool print)> preview;
    };

    explicit CornerTableWindow(Setup setup, QWidget* parent = nullptr);
    ~CornerTableWindow() override;

    CornerTableModel* model() const { return m_model; }
    QTableView* view() const { return m_view; }
    QSplitter* splitter() const { return m_splitter; }
    PlanView* planView() const { return m_plan; }
    /// The table file, empty for a new table not saved yet.
    QString filePath() const { return m_path; }
    bool isModified() const;
    QStringList recentFiles() const { return m_recent; }
    /// A named action of the menus (objectName), or null.
    QAction* action(const QString& name) const;

    // --- commands
    /// Asks about unsaved changes; true when the table may go (saved, or discarded).
    bool maybeSave();
    void newTable();
    /// Asks for a file and opens it.
    void open();
    /// Opens the table at `path` (after asking about unsaved changes). False when it was not
    /// opened; the reason has been shown.
    bool openFile(const QString& path, bool ask = true);
    bool save();
    bool saveAs();
    /// Writes the table to `path`; the previous file stays when it cannot. Empty or why.
    QString saveTo(const QString& path);
    void addRow();
    void deleteRows();
    void moveRows(int delta);
    void copyRows();
    void pasteRows();
    void addCurrentCorner();
    void importPoints();
    void openRowInMain();
    /// The rows the output commands take: the selected ones when "選択行のみ" is on, else all.
    std::vector<int> outputRows() const;
    /// The chosen rows through the batch run into one file of the kind (PDF for the sheets).
    void exportRows(int kind);
    /// The chosen rows' sheets in the preview; `print`: its print dialog opened at once.
    void previewRows(bool print = false);
    /// The plan drawing of the chosen rows as SVG or PDF (by the name's suffix).
    void savePlan();
    /// The rows selected in the view, in order.
    std::vector<int> selectedRows() const;

signals:
    /// The selection of rows changed (for the plan drawing).
    void rowsSelected(const std::vector<int>& rows);

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildMenus();
    void planAll();
    void updateTitle();
    void updateStatus();
    void message(QMessageBox::Icon icon, const QString& text);
    void rememberRecent(const QString& path);
    void loadRecent();
    void fillRecentMenu();
    QString recentListPath() const;
    QString startFolder() const;

    Setup m_setup;
    CornerTableModel* m_model = nullptr;
    QTableView* m_view = nullptr;
    QSplitter* m_splitter = nullptr;
    PlanView* m_plan = nullptr;
    CornerCellDelegate* m_delegate = nullptr;
    QLabel* m_counts = nullptr;
    QMenu* m_recentMenu = nullptr;
    QString m_path;
    QString m_folder;
    QStringList m_recent;
    bool m_shown = false;
};

/// The output kinds of exportRows besides the point files (PointFileKind's values).
inline constexpr int kTablePdf = 10;

}  // namespace tovanel
