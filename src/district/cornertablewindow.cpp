// SPDX-License-Identifier: GPL-3.0-or-later
#include "district/cornertablewindow.h"

#include "batch/batchrun.h"
#include "calc/atomicfile.h"
#include "calc/numeric.h"
#include "calc/settingsfile.h"
#include "district/cornertablemodel.h"
#include "district/pointpicker.h"
#include "exchange/pointfile.h"
#include "plan/planview.h"
#include "widgets/waitcursor.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QSplitter>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QUndoStack>
#include <algorithm>
#include <set>

namespace tovanel {

namespace {

const QString kTitle = QStringLiteral("隅切り表");
const QString kFilter = QStringLiteral("隅切り表 (*.csv *.txt);;すべてのファイル (*)");
constexpr int kRecentCount = 8;
constexpr int kShownRefusals = 20;

}  // namespace

// --- the cells' editors

QWidget* CornerCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    if (index.column() == CornerTableModel::ColType) {
        auto* list = new QComboBox(parent);
        for (int t = 0; t < 4; ++t) list->addItem(CalcTypeNameOf(t));
        return list;
    }
    return QStyledItemDelegate::createEditor(parent, option, index);
}

void CornerCellDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    if (auto* list = qobject_cast<QComboBox*>(editor)) {
        list->setCurrentIndex(list->findText(index.data(Qt::DisplayRole).toString()));
        return;
    }
    QStyledItemDelegate::setEditorData(editor, index);
}

void CornerCellDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    auto* table = qobject_cast<CornerTableModel*>(model);
    if (!table) return;
    QString text;
    if (auto* list = qobject_cast<QComboBox*>(editor))
        text = list->currentIndex() >= 0 ? QString::number(list->currentIndex()) : QString();
    else if (auto* line = qobject_cast<QLineEdit*>(editor))
        text = line->text();
    else
        return;
    if (QString why = table->setCell(index.row(), index.column(), text); !why.isEmpty()) emit refused(why);
}

// --- the window

CornerTableWindow::CornerTableWindow(Setup setup, QWidget* parent) : QMainWindow(parent), m_setup(std::move(setup))
{
    setObjectName(QStringLiteral("CornerTableWindow"));
    m_setup.hooks.dialogs = CompleteHooks(std::move(m_setup.hooks.dialogs));
    if (!m_setup.hooks.openFileName)
        m_setup.hooks.openFileName = [](QWidget* p, const QString& caption, const QString& folder, const QString& filter) {
            return QFileDialog::getOpenFileName(p, caption, folder, filter);
        };
    if (!m_setup.hooks.askSave)
        m_setup.hooks.askSave = [](QWidget* p, const QString& title, const QString& text) {
            QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, p);
            box.button(QMessageBox::Save)->setText(QStringLiteral("保存"));
            box.button(QMessageBox::Discard)->setText(QStringLiteral("保存しない"));
            box.button(QMessageBox::Cancel)->setText(QStringLiteral("キャンセル"));
            box.setDefaultButton(QMessageBox::Save);
            return static_cast<QMessageBox::StandardButton>(box.exec());
        };
    if (!m_setup.settings) m_setup.settings = [] { return DefaultSettings(); };

    m_model = new CornerTableModel(m_setup.settings(), this);
    m_view = new QTableView(this);
    m_view->setObjectName(QStringLiteral("CornerTableView"));
    m_view->setModel(m_model);
    m_view->setSelectionBehavior(QAbstractItemView::SelectItems);
    m_view->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed);
    m_view->verticalHeader()->setDefaultSectionSize(m_view->fontMetrics().height() + 6);
    m_delegate = new CornerCellDelegate(m_view);
    m_view->setItemDelegate(m_delegate);
    // The refusal is shown once the editor has gone, not from inside its commit.
    connect(m_delegate, &CornerCellDelegate::refused, this,
            [this](const QString& why) { message(QMessageBox::Warning, why); }, Qt::QueuedConnection);

    m_splitter = new QSplitter(Qt::Horizontal, this);
    m_splitter->setObjectName(QStringLiteral("TableSplitter"));
    m_splitter->addWidget(m_view);
    m_plan = new PlanView(m_splitter);
    m_plan->setObjectName(QStringLiteral("TablePlan"));
    m_splitter->addWidget(m_plan);
    m_splitter->setStretchFactor(0, 3);
    m_splitter->setStretchFactor(1, 2);
    setCentralWidget(m_splitter);
    // The drawing follows the rows: a row computed is redrawn, rows added or gone redraw all.
    connect(m_model, &QAbstractItemModel::dataChanged, this, [this](const QModelIndex& top, const QModelIndex& bottom) {
        if (top.row() == 0 && bottom.row() + 1 == m_model->rowCount() && m_model->rowCount() > 1) return planAll();
        for (int r = top.row(); r <= bottom.row(); ++r) m_plan->setCorner(r, m_model->row(r).plan);
    });
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, &CornerTableWindow::planAll);
    connect(m_model, &QAbstractItemModel::rowsInserted, this, &CornerTableWindow::planAll);
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        planAll();
        m_plan->fitAll();
    });
    // Selection both ways: rows selected light up their corners; a corner clicked selects its row.
    connect(this, &CornerTableWindow::rowsSelected, m_plan, &PlanView::setSelection);
    connect(m_plan, &PlanView::cornerClicked, this, [this](int row) {
        if (row < 0 || row >= m_model->rowCount()) return;
        m_view->selectRow(row);
        m_view->scrollTo(m_model->index(row, 0));
    });
    m_counts = new QLabel(this);
    m_counts->setObjectName(QStringLiteral("RowCounts"));
    statusBar()->addPermanentWidget(m_counts);

    buildMenus();
    connect(m_model->undoStack(), &QUndoStack::cleanChanged, this, &CornerTableWindow::updateTitle);
    connect(m_model, &QAbstractItemModel::dataChanged, this, &CornerTableWindow::updateStatus);
    connect(m_model, &QAbstractItemModel::rowsInserted, this, &CornerTableWindow::updateStatus);
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, &CornerTableWindow::updateStatus);
    connect(m_model, &QAbstractItemModel::modelReset, this, &CornerTableWindow::updateStatus);
    connect(m_view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { emit rowsSelected(selectedRows()); });
    loadRecent();
    updateTitle();
    updateStatus();
    resize(1200, 700);
    for (int c : {CornerTableModel::ColBpX, CornerTableModel::ColBpY, CornerTableModel::ColIpX, CornerTableModel::ColIpY,
                  CornerTableModel::ColEpX, CornerTableModel::ColEpY})
        m_view->setColumnWidth(c, 95);
    // The status stands next to the IP number, where a refused row is seen without scrolling.
    m_view->horizontalHeader()->moveSection(CornerTableModel::ColStatus, 1);
    m_view->setColumnWidth(CornerTableModel::ColStatus, 220);
    m_view->horizontalHeader()->setStretchLastSection(false);
    for (int c : {CornerTableModel::ColRadius, CornerTableModel::ColInner, CornerTableModel::ColOuter, CornerTableModel::ColDivisions,
                  CornerTableModel::ColN})
        m_view->setColumnWidth(c, 55);
}

CornerTableWindow::~CornerTableWindow()
{
    // The undo stack says it is clean as it goes, after this window has stopped being one: its
    // signals must not reach the window's slots then.
    m_model->undoStack()->disconnect(this);
}

void CornerTableWindow::buildMenus()
{
    auto add = [this](QMenu* menu, const char* name, const QString& text, const QKeySequence& key, auto slot) {
        QAction* a = menu->addAction(text);
        a->setObjectName(QString::fromLatin1(name));
        if (!key.isEmpty()) a->setShortcut(key);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    QMenu* file = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    file->setObjectName(QStringLiteral("TableFileMenu"));
    add(file, "TableNew", QStringLiteral("新規作成(&N)"), QKeySequence::New, [this] { newTable(); });
    add(file, "TableOpen", QStringLiteral("開く(&O)..."), QKeySequence::Open, [this] { open(); });
    m_recentMenu = file->addMenu(QStringLiteral("最近使ったファイル(&R)"));
    m_recentMenu->setObjectName(QStringLiteral("TableRecent"));
    add(file, "TableSave", QStringLiteral("上書き保存(&S)"), QKeySequence::Save, [this] { save(); });
    add(file, "TableSaveAs", QStringLiteral("名前を付けて保存(&A)..."), QKeySequence::SaveAs, [this] { saveAs(); });
    file->addSeparator();
    QAction* only = file->addAction(QStringLiteral("選択した行だけ出力(&L)"));
    only->setObjectName(QStringLiteral("TableSelectedOnly"));
    only->setCheckable(true);
    add(file, "TablePreview", QStringLiteral("印刷プレビュー(&V)..."), {}, [this] { previewRows(); });
    add(file, "TablePrint", QStringLiteral("印刷(&P)..."), QKeySequence::Print, [this] { previewRows(true); });
    add(file, "TablePdf", QStringLiteral("計算書 PDF(&P)..."), {}, [this] { exportRows(kTablePdf); });
    add(file, "TablePlanSave", QStringLiteral("平面図を保存(&G)..."), {}, [this] { savePlan(); });
    QMenu* out = file->addMenu(QStringLiteral("座標出力(&E)"));
    out->setObjectName(QStringLiteral("TableExport"));
    add(out, "TableSima", QStringLiteral("SIMA出力(&S)..."), {}, [this] { exportRows(static_cast<int>(PointFileKind::Sima)); });
    add(out, "TableCsv", QStringLiteral("CSV出力(&C)..."), {}, [this] { exportRows(static_cast<int>(PointFileKind::Csv)); });
    add(out, "TableDxf", QStringLiteral("DXF出力(&D)..."), {}, [this] { exportRows(static_cast<int>(PointFileKind::Dxf)); });
    file->addSeparator();
    add(file, "TableClose", QStringLiteral("閉じる(&C)"), QKeySequence::Close, [this] { close(); });

    QMenu* edit = menuBar()->addMenu(QStringLiteral("編集(&E)"));
    edit->setObjectName(QStringLiteral("TableEditMenu"));
    QAction* undo = m_model->undoStack()->createUndoAction(this, QStringLiteral("元に戻す"));
    undo->setObjectName(QStringLiteral("TableUndo"));
    undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    QAction* redo = m_model->undoStack()->createRedoAction(this, QStringLiteral("やり直し"));
    redo->setObjectName(QStringLiteral("TableRedo"));
    redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    edit->addAction(undo);
    edit->addAction(redo);
    edit->addSeparator();
    add(edit, "TableCopy", QStringLiteral("行のコピー(&C)"), QKeySequence::Copy, [this] { copyRows(); });
    add(edit, "TablePaste", QStringLiteral("行の貼り付け(&P)"), QKeySequence::Paste, [this] { pasteRows(); });
    edit->addSeparator();
    add(edit, "TableAddRow", QStringLiteral("行の追加(&A)"), QKeySequence(Qt::CTRL | Qt::Key_Plus), [this] { addRow(); });
    add(edit, "TableDeleteRows", QStringLiteral("行の削除(&D)"), QKeySequence(Qt::CTRL | Qt::Key_Minus), [this] { deleteRows(); });
    add(edit, "TableUp", QStringLiteral("行を上へ(&U)"), QKeySequence(Qt::ALT | Qt::Key_Up), [this] { moveRows(-1); });
    add(edit, "TableDown", QStringLiteral("行を下へ(&W)"), QKeySequence(Qt::ALT | Qt::Key_Down), [this] { moveRows(1); });

    QMenu* corner = menuBar()->addMenu(QStringLiteral("隅切り(&K)"));
    corner->setObjectName(QStringLiteral("TableCornerMenu"));
    add(corner, "TableAddCurrent", QStringLiteral("現在の隅切りを追加(&M)"), {}, [this] { addCurrentCorner(); });
    add(corner, "TableImport", QStringLiteral("座標読込(&I)..."), {}, [this] { importPoints(); });
    add(corner, "TableOpenInMain", QStringLiteral("メイン画面で開く(&O)"), QKeySequence(Qt::CTRL | Qt::Key_Return),
        [this] { openRowInMain(); });
}

QAction* CornerTableWindow::action(const QString& name) const { return findChild<QAction*>(name); }

bool CornerTableWindow::isModified() const { return !m_model->undoStack()->isClean(); }

void CornerTableWindow::updateTitle()
{
    const QString name = m_path.isEmpty() ? QStringLiteral("無題") : QFileInfo(m_path).fileName();
    setWindowTitle(kTitle + QStringLiteral(" - ") + name + (isModified() ? QStringLiteral(" *") : QString()));
}

void CornerTableWindow::updateStatus()
{
    m_counts->setText(QStringLiteral("隅切り %1 箇所（計算済 %2、注意 %3、計算不可 %4）")
                          .arg(m_model->rowCount())
                          .arg(m_model->countOf(RowStatus::Computed))
                          .arg(m_model->countOf(RowStatus::Warning))
                          .arg(m_model->countOf(RowStatus::Refused)));
}

void CornerTableWindow::message(QMessageBox::Icon icon, const QString& text)
{
    m_setup.hooks.dialogs.message(this, icon, kTitle, text);
}

void CornerTableWindow::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    // The settings dialog may have changed the limits while another window was active.
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) m_model->setSettings(m_setup.settings());
}

void CornerTableWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // Once the splitter has given the drawing its size, every corner is shown whole.
    if (!m_shown) QTimer::singleShot(0, m_plan, &PlanView::fitAll);
    m_shown = true;
}

void CornerTableWindow::closeEvent(QCloseEvent* event)
{
    if (maybeSave())
        event->accept();
    else
        event->ignore();
}

bool CornerTableWindow::maybeSave()
{
    if (!isModified()) return true;
    const QString name = m_path.isEmpty() ? QStringLiteral("無題の隅切り表") : QFileInfo(m_path).fileName();
    switch (m_setup.hooks.askSave(this, kTitle, QStringLiteral("%1 への変更を保存しますか?").arg(name))) {
    case QMessageBox::Save: return save();
    case QMessageBox::Discard: return true;
    default: return false;
    }
}

void CornerTableWindow::newTable()
{
    if (!maybeSave()) return;
    m_model->resetRows({});
    m_path.clear();
    updateTitle();
}

QString CornerTableWindow::startFolder() const
{
    if (!m_folder.isEmpty() && QFileInfo(m_folder).isDir()) return m_folder;
    const QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !docs.isEmpty() && QFileInfo(docs).isDir() ? docs : QDir::homePath();
}

void CornerTableWindow::open()
{
    if (!maybeSave()) return;
    const QString path = m_setup.hooks.openFileName(this, kTitle, startFolder(), kFilter);
    if (!path.isEmpty()) openFile(path, false);
}

bool CornerTableWindow::openFile(const QString& path, bool ask)
{
    if (ask && !maybeSave()) return false;
    TableFileRead read;
    {
        const WaitCursor hourglass;
        read = ReadTableFile(path);
    }
    if (!read.error.isEmpty()) {
        message(QMessageBox::Warning, read.error);
        return false;
    }
    m_model->setSettings(m_setup.settings());
    m_model->resetRows(std::move(read.rows));
    m_path = QFileInfo(path).absoluteFilePath();
    m_folder = QFileInfo(m_path).absolutePath();
    rememberRecent(m_path);
    updateTitle();
    if (const int refused = m_model->countOf(RowStatus::Refused); refused > 0)
        statusBar()->showMessage(QStringLiteral("計算できない行が %1 行あります（状態の欄に理由）。").arg(refused), 10000);
    return true;
}

QString CornerTableWindow::saveTo(const QString& path)
{
    std::vector<int> all(static_cast<size_t>(m_model->rowCount()));
    for (size_t r = 0; r < all.size(); ++r) {
        all[r] = static_cast<int>(r);
        const TableRow& row = m_model->row(static_cast<int>(r));
        if (!row.lineError.isEmpty())
            return QStringLiteral("%1 行目は読めなかった行です（%2）。直すか削除してから保存してください。").arg(r + 1).arg(row.lineError);
    }
    QString why;
    const QByteArray bytes = TableFileBytes(m_model->cellsOf(all), why);
    if (!why.isEmpty()) return why;
    if (QString failed = WriteFileAtomically(path, bytes); !failed.isEmpty())
        return QStringLiteral("%1 に書けません: %2（前のファイルはそのままです）").arg(QDir::toNativeSeparators(path), failed);
    return {};
}

bool CornerTableWindow::save()
{
    if (m_path.isEmpty()) return saveAs();
    if (QString why = saveTo(m_path); !why.isEmpty()) {
        message(QMessageBox::Warning, why);
        return false;
    }
    m_model->undoStack()->setClean();
    rememberRecent(m_path);
    updateTitle();
    return true;
}

bool CornerTableWindow::saveAs()
{
    const QString suggested = m_path.isEmpty() ? QDir(startFolder()).filePath(QStringLiteral("隅切り表.csv")) : m_path;
    QString path = m_setup.hooks.dialogs.saveFileName(this, QStringLiteral("名前を付けて保存"), suggested,
                                                     QStringLiteral("隅切り表 (*.csv)"));
    if (path.isEmpty()) return false;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".csv");
    if (QString why = saveTo(path); !why.isEmpty()) {
        message(QMessageBox::Warning, why);
        return false;
    }
    m_path = QFileInfo(path).absoluteFilePath();
    m_folder = QFileInfo(m_path).absolutePath();
    m_model->undoStack()->setClean();
    rememberRecent(m_path);
    updateTitle();
    return true;
}

QString CornerTableWindow::recentListPath() const
{
    return m_setup.recentList.isEmpty() ? QDir(UserSettingsDir()).filePath(QStringLiteral("recent-tables.txt"))
                                        : m_setup.recentList;
}

void CornerTableWindow::loadRecent()
{
    QFile f(recentListPath());
    m_recent.clear();
    if (f.open(QIODevice::ReadOnly))
        for (const QString& line : QString::fromUtf8(f.read(64 * 1024)).split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            if (m_recent.size() < kRecentCount) m_recent << line.trimmed();
    fillRecentMenu();
}

void CornerTableWindow::rememberRecent(const QString& path)
{
    loadRecent();  // another window may have added to it
    m_recent.removeAll(path);
    m_recent.prepend(path);
    while (m_recent.size() > kRecentCount) m_recent.removeLast();
    QDir().mkpath(QFileInfo(recentListPath()).absolutePath());
    // The list is a convenience: a failure to keep it is not worth a message.
    (void)WriteFileAtomically(recentListPath(), (m_recent.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
    fillRecentMenu();
}

void CornerTableWindow::fillRecentMenu()
{
    m_recentMenu->clear();
    for (qsizetype i = 0; i < m_recent.size(); ++i) {
        const QString path = m_recent[i];
        QAction* a = m_recentMenu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(path)));
        connect(a, &QAction::triggered, this, [this, path] { openFile(path); });
    }
    m_recentMenu->setEnabled(!m_recent.isEmpty());
}

std::vector<int> CornerTableWindow::selectedRows() const
{
    std::set<int> rows;
    for (const QModelIndex& i : m_view->selectionModel()->selectedIndexes()) rows.insert(i.row());
    return {rows.begin(), rows.end()};
}

void CornerTableWindow::addRow()
{
    const std::vector<int> sel = selectedRows();
    const int at = sel.empty() ? m_model->rowCount() : sel.back() + 1;
    RowCells cells;
    cells[10] = QStringLiteral("0");
    m_model->insertCornerRows(at, {cells}, QStringLiteral("行の追加"));
    m_view->setCurrentIndex(m_model->index(at, CornerTableModel::ColIpNo));
}

void CornerTableWindow::deleteRows()
{
    const std::vector<int> sel = selectedRows();
    if (sel.empty()) return;
    m_model->removeRowsAt(sel);
}

void CornerTableWindow::moveRows(int delta)
{
    const std::vector<int> sel = selectedRows();
    if (sel.empty()) return;
    const int first = sel.front(), last = sel.back();
    const int column = std::max(0, m_view->currentIndex().column());
    if (!m_model->moveCornerRows(first, last, delta)) return;
    // The selection goes with the rows.
    m_view->selectionModel()->select(QItemSelection(m_model->index(first + delta, 0), m_model->index(last + delta, CornerTableModel::ColumnCount - 1)),
                                     QItemSelectionModel::ClearAndSelect);
    m_view->selectionModel()->setCurrentIndex(m_model->index(first + delta, column), QItemSelectionModel::NoUpdate);
}

void CornerTableWindow::copyRows()
{
    const std::vector<int> sel = selectedRows();
    if (sel.empty()) return;
    QGuiApplication::clipboard()->setText(RowsClipboardText(m_model->cellsOf(sel)));
    statusBar()->showMessage(QStringLiteral("%1 行をコピーしました。").arg(sel.size()), 5000);
}

void CornerTableWindow::pasteRows()
{
    const std::vector<int> sel = selectedRows();
    const int at = sel.empty() ? m_model->rowCount() : sel.back() + 1;
    if (QString why = m_model->paste(QGuiApplication::clipboard()->text(), at); !why.isEmpty())
        message(QMessageBox::Warning, why);
}

void CornerTableWindow::addCurrentCorner()
{
    if (!m_setup.currentCorner) return;
    const CornerInput in = m_setup.currentCorner();
    RowCells cells;
    cells[0] = in.IPNo;
    const double numbers[] = {in.BpX, in.BpY, in.IpX, in.IpY, in.EpX, in.EpY, in.Radius, in.WidthIn, in.WidthOut};
    for (size_t k = 0; k < std::size(numbers); ++k) cells[k + 1] = std::isfinite(numbers[k]) ? ShortestNumberText(numbers[k]) : QString();
    cells[10] = in.CalcType >= 0 && in.CalcType <= 3 ? QString::number(in.CalcType) : QString();
    cells[11] = in.DivCount != 0 && std::isfinite(in.DivCount) ? ShortestNumberText(in.DivCount) : QString();
    cells[12] = in.BpName;
    cells[13] = in.IpName;
    cells[14] = in.EpName;
    // What the table file cannot hold is refused here as it would be when typed into the cell.
    for (int c = 0; c < kTableColumns; ++c)
        if (QString why = CellProblem(c, cells[static_cast<size_t>(c)]); !why.isEmpty()) {
            message(QMessageBox::Warning, why);
            return;
        }
    const int at = m_model->rowCount();
    m_model->insertCornerRows(at, {cells}, QStringLiteral("現在の隅切りを追加"));
    m_view->setCurrentIndex(m_model->index(at, CornerTableModel::ColIpNo));
}

void CornerTableWindow::importPoints()
{
    QString folder = startFolder();
    const auto points = PickCornerPoints(this, folder, m_setup.hooks.openFileName, m_setup.hooks.dialogs);
    m_folder = folder;  // the folder of a file chosen, even when nothing was picked from it
    if (!points) return;
    const FilePoint* p[3] = {&(*points)[0], &(*points)[1], &(*points)[2]};
    RowCells cells;
    for (int n = 0; n < 3; ++n) {
        cells[static_cast<size_t>(1 + 2 * n)] = NormalisedCell(1 + 2 * n, p[n]->xText);
        cells[static_cast<size_t>(2 + 2 * n)] = NormalisedCell(2 + 2 * n, p[n]->yText);
        if (QString why = CellProblem(12 + n, p[n]->name); !why.isEmpty()) {
            message(QMessageBox::Warning, why);
            return;
        }
        cells[static_cast<size_t>(12 + n)] = p[n]->name;
    }
    cells[10] = QStringLiteral("0");
    const int at = m_model->rowCount();
    m_model->insertCornerRows(at, {cells}, QStringLiteral("座標読込で行を追加"));
    // The IP number, radius and widths are still to be typed.
    m_view->setCurrentIndex(m_model->index(at, CornerTableModel::ColIpNo));
}

void CornerTableWindow::openRowInMain()
{
    const QModelIndex current = m_view->currentIndex();
    if (!current.isValid() || !m_setup.openInMain) return;
    const TableRow& row = m_model->row(current.row());
    if (!row.read) {
        // The cells did not read as a corner: there is nothing to put into the boxes.
        message(QMessageBox::Warning, QStringLiteral("%1 行目は隅切りとして読めません: %2").arg(current.row() + 1).arg(row.ownRefusal));
        return;
    }
    m_setup.openInMain(row.corner.in);
}

std::vector<int> CornerTableWindow::outputRows() const
{
    if (QAction* only = action(QStringLiteral("TableSelectedOnly")); only && only->isChecked()) return selectedRows();
    std::vector<int> all(static_cast<size_t>(m_model->rowCount()));
    for (size_t r = 0; r < all.size(); ++r) all[r] = static_cast<int>(r);
    return all;
}

void CornerTableWindow::exportRows(int kind)
{
    // A row the table refuses is named below, not sent: nothing goes out that the table marks
    // as not computable (the run checks the rows it is sent once more).
    std::vector<int> rows, unread;
    for (int r : outputRows()) (m_model->row(r).status != RowStatus::Refused ? rows : unread).push_back(r);
    if (rows.empty()) {
        message(QMessageBox::Warning, unread.empty() ? QStringLiteral("出力する行がありません。")
                                                     : QStringLiteral("計算できる行がないため、何も出力していません。"));
        return;
    }
    struct Kind {
        const char16_t* title;
        const char16_t* filter;
        const char* suffix;
    };
    const Kind kinds[] = {{u"SIMA出力", u"SIMA 座標ファイル (*.sim)", "sim"},
                          {u"CSV出力", u"CSV ファイル (*.csv)", "csv"},
                          {u"DXF出力", u"DXF ファイル (*.dxf)", "dxf"},
                          {u"計算書 PDF", u"PDF ファイル (*.pdf)", "pdf"}};
    const Kind& k = kinds[kind == kTablePdf ? 3 : std::clamp(kind, 0, 2)];
    const QString base = m_path.isEmpty() ? QStringLiteral("隅切り表") : QFileInfo(m_path).completeBaseName();
    const QString suffix = QString::fromLatin1(k.suffix);
    const QString suggested = QDir(startFolder()).filePath(base + (kind == kTablePdf ? QStringLiteral("_計算書.") : QStringLiteral("_座標.")) + suffix);
    QString path = m_setup.hooks.dialogs.saveFileName(this, QString::fromUtf16(k.title), suggested, QString::fromUtf16(k.filter));
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().compare(suffix, Qt::CaseInsensitive) != 0) path += QLatin1Char('.') + suffix;
    m_folder = QFileInfo(path).absolutePath();

    // The rows go to the batch run as a table of their own, named as this one (the sheets and the
    // SIMA file carry the name): one path for every corner, the run's own.
    QTemporaryDir dir;
    QString why;
    const QByteArray table = TableFileBytes(m_model->cellsOf(rows), why);
    const QString tablePath = dir.filePath(base + QStringLiteral(".csv"));
    if (why.isEmpty() && !dir.isValid()) why = QStringLiteral("一時フォルダを作れません。");
    if (why.isEmpty()) why = WriteFileAtomically(tablePath, table);
    if (!why.isEmpty()) {
        message(QMessageBox::Warning, why);
        return;
    }
    BatchOutputs outputs;
    (kind == kTablePdf ? outputs.pdf : kind == 0 ? outputs.sima : kind == 1 ? outputs.csv : outputs.dxf) = path;
    if (m_setup.paper) outputs.paper = m_setup.paper();
    QStringList refusals;
    BatchCallbacks callbacks;
    callbacks.refused = [&](const BatchRefusal& r) {
        // Line 1 is the header: line n is the chosen rows' (n − 1)th.
        const size_t i = static_cast<size_t>(std::max(r.line - 2, 0));
        const int shown = i < rows.size() ? rows[i] + 1 : r.line;
        if (refusals.size() < kShownRefusals) refusals << QStringLiteral("%1 行目: %2").arg(shown).arg(r.reason);
    };
    BatchResult result;
    {
        const WaitCursor hourglass;
        result = RunBatch(tablePath, m_model->settings(), outputs, callbacks);
    }
    for (int r : unread)
        if (refusals.size() < kShownRefusals) refusals << QStringLiteral("%1 行目: %2").arg(r + 1).arg(m_model->row(r).message);
    result.refused += static_cast<int>(unread.size());
    result.total += static_cast<int>(unread.size());
    QStringList parts{BatchSummary(result)};
    if (!result.failure.isEmpty()) parts << result.failure;
    if (!result.written.isEmpty()) parts << QStringLiteral("書き出したファイル:\n  ") + QDir::toNativeSeparators(path);
    if (!refusals.isEmpty()) {
        QString lines = QStringLiteral("計算できなかった行:");
        for (const QString& line : refusals) lines += QStringLiteral("\n  ") + line;
        if (result.refused > refusals.size()) lines += QStringLiteral("\n  …ほか %1 行").arg(result.refused - refusals.size());
        parts << lines;
    }
    const bool clean = result.failure.isEmpty() && result.refused == 0 && !result.written.isEmpty();
    message(clean ? QMessageBox::Information : QMessageBox::Warning, parts.join(QStringLiteral("\n\n")));
}

void CornerTableWindow::previewRows(bool print)
{
    if (!m_setup.preview) return;
    std::vector<Corner> corners;
    int refused = 0;
    for (int r : outputRows()) {
        const TableRow& row = m_model->row(r);
        if (row.status == RowStatus::Refused)
            ++refused;
        else
            corners.push_back(row.corner);
    }
    if (corners.empty()) {
        message(QMessageBox::Warning, QStringLiteral("計算できた行がないため、プレビューするものがありません。"));
        return;
    }
    if (refused > 0)
        statusBar()->showMessage(QStringLiteral("計算できない %1 行はプレビューに含めていません。").arg(refused), 10000);
    m_setup.preview(std::move(corners), print);
}

void CornerTableWindow::planAll()
{
    std::vector<PlanCorner> corners;
    corners.reserve(m_model->rows().size());
    for (const TableRow& r : m_model->rows()) corners.push_back(r.plan);
    m_plan->setCorners(std::move(corners));
    m_plan->setSelection(selectedRows());
}

void CornerTableWindow::savePlan()
{
    std::vector<PlanCorner> corners;
    for (int r : outputRows()) corners.push_back(m_model->row(r).plan);
    if (corners.empty()) {
        message(QMessageBox::Warning, QStringLiteral("出力する行がありません。"));
        return;
    }
    const QString base = m_path.isEmpty() ? QStringLiteral("隅切り表") : QFileInfo(m_path).completeBaseName();
    QString path = m_setup.hooks.dialogs.saveFileName(this, QStringLiteral("平面図を保存"),
                                                     QDir(startFolder()).filePath(base + QStringLiteral("_平面図.svg")),
                                                     QStringLiteral("SVG ファイル (*.svg);;PDF ファイル (*.pdf)"));
    if (path.isEmpty()) return;
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix != QLatin1String("svg") && suffix != QLatin1String("pdf")) path += QStringLiteral(".svg");
    m_folder = QFileInfo(path).absolutePath();
    QString why;
    {
        const WaitCursor hourglass;
        why = path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive) ? WritePlanPdf(path, corners) : WritePlanSvg(path, corners);
    }
    if (!why.isEmpty())
        message(QMessageBox::Warning, why);
    else
        statusBar()->showMessage(QStringLiteral("平面図を %1 に保存しました。").arg(QDir::toNativeSeparators(path)), 10000);
}

}  // namespace tovanel
