// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The corner table as a document being edited: one row per corner, its cells as the table file
// holds them (the batch run's columns), each row computed through the single-corner path as soon
// as it changes. Every change goes through the model's undo stack.
//
// Cells hold text. A number cell takes only what the file's strict rule reads (StrictNumber) and
// is kept in its shortest round-trip form, so a table saved and opened again gives the same
// bytes. Rows that cannot be computed are kept with the reason: a table with refused lines opens
// with those lines as rows, nothing dropped.

#include "batch/cornertable.h"
#include "calc/corner.h"
#include "calc/settings.h"
#include "plan/plan.h"

#include <QAbstractTableModel>
#include <QString>
#include <array>
#include <vector>

class QUndoStack;

namespace tovanel {

/// A row's cells, by the file's column (TableColumnName): 0 IP number, 1–6 BP X … EP Y, 7 radius,
/// 8 inner, 9 outer width, 10 type (0..3), 11 division count, 12–14 BP, IP, EP names.
using RowCells = std::array<QString, kTableColumns>;

enum class RowStatus { Computed, Warning, Refused };

/// One row of the table: its cells and what came of them.
struct TableRow {
    RowCells cells;
    /// The reason a line of the file could not even be split into cells (its cells are then
    /// empty); kept until the row is edited. A table holding such a row is not saved.
    QString lineError;
    RowStatus status = RowStatus::Refused;
    QString message;  ///< the refusal, or the warnings (one per line); empty when computed cleanly
    Corner corner;    ///< the inputs read from the cells and, unless refused, the elements
    int duplicateOf = 0;  ///< 1 when its IP number repeats an earlier row's (refused), else 0
    QString ownRefusal;   ///< refusal from the row's own cells, before the duplicate check
    bool read = false;    ///< the cells read as a corner (corner.in holds them)
    /// The row as the plan draws it: computed from the same inputs; a row refused for any
    /// reason is drawn as its refused three points (those of its coordinates that read).
    PlanCorner plan;
};

/// Why `text` cannot go into a cell of file column `column`, or empty. Numbers under the strict
/// rule (empty allowed: a row is filled a cell at a time); the type as 0..3 or its name; texts
/// without TAB or line ends and with a code page 932 form (the file is written in it).
QString CellProblem(int column, const QString& text);

/// The cell's text as stored: numbers in their shortest round-trip form, the type as its digit.
/// `text` must have passed CellProblem.
QString NormalisedCell(int column, const QString& text);

/// Computes the row under `settings`: reads the cells by the table's rule, then the trial
/// calculation, and sets status and message (not the duplicate check, which needs the table).
void ComputeRow(TableRow& row, const Settings& settings);

/// What a file read gives: the rows, or why the file is not a table.
struct TableFileRead {
    std::vector<TableRow> rows;  ///< not yet computed
    QString error;
};

/// Reads the table file at `path` with the batch run's reader (the same rules): every corner
/// line becomes a row, refused ones included. A file with no readable corner line and no header
/// is no table.
TableFileRead ReadTableFile(const QString& path);

/// The table file's bytes: the header, then one line per row, CP932, CR LF. Empty with the
/// reason in `why` when a row cannot be written (a line that was never read, a character code
/// page 932 has no code for).
QByteArray TableFileBytes(const std::vector<const RowCells*>& rows, QString& why);

/// Rows as a spreadsheet takes them: cells in the file's column order, TAB-separated, one line
/// per row.
QString RowsClipboardText(const std::vector<const RowCells*>& rows);

/// Pasted text → rows of cells. A header line is skipped. Empty with the reason when a line
/// has a column count the table has no place for, or a cell CellProblem refuses: the block is
/// refused whole.
std::vector<RowCells> ParsePastedRows(const QString& text, QString& why);

class CornerTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    /// The view's columns: the file's columns in reading order, then the computed ones.
    enum Column {
        ColIpNo, ColBpName, ColBpX, ColBpY, ColIpName, ColIpX, ColIpY, ColEpName, ColEpX, ColEpY,
        ColRadius, ColInner, ColOuter, ColType, ColDivisions,
        ColN, ColIA, ColTL, ColCL, ColStatus, ColumnCount
    };
    /// The file column of an editable view column, −1 for a computed one.
    static int fileColumn(int viewColumn);

    explicit CornerTableModel(const Settings& settings, QObject* parent = nullptr);
    ~CornerTableModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    /// Edits through setCell; false when the text is refused.
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    QUndoStack* undoStack() const { return m_undo; }
    const TableRow& row(int r) const { return m_rows[static_cast<size_t>(r)]; }
    const std::vector<TableRow>& rows() const { return m_rows; }

    /// Recomputes every row when the settings differ from those in use.
    void setSettings(const Settings& settings);
    const Settings& settings() const { return m_settings; }

    /// Replaces the whole table (a file opened, a new table): no undo across it, clean.
    void resetRows(std::vector<TableRow> rows);

    // --- edits, each one step of the undo stack
    /// Sets one cell (view column). Empty, or why the text is refused (nothing changes).
    QString setCell(int row, int viewColumn, const QString& text);
    /// Inserts rows of cells at `at` (clamped to the table) under the undo text `what`.
    void insertCornerRows(int at, const std::vector<RowCells>& rows, const QString& what);
    /// Deletes the given rows (any order, repeats ignored).
    void removeRowsAt(std::vector<int> rows);
    /// Moves rows first..last one place up (delta −1) or down (+1); false when they cannot go.
    bool moveCornerRows(int first, int last, int delta);
    /// Pastes TAB-separated rows at `at`. Empty, or why the block is refused (nothing changes).
    QString paste(const QString& text, int at);

    /// The cells of the given rows as a table file / as clipboard text.
    std::vector<const RowCells*> cellsOf(const std::vector<int>& rows) const;

    int countOf(RowStatus status) const;

    /// Replaces rows at..at+count−1 by `cells` (recomputed); the undo commands' one way in.
    void replaceRows(int at, int count, const std::vector<TableRow>& rows);

signals:
    /// A row was recomputed (its elements may have changed).
    void rowsComputed(int first, int last);

private:
    void markDuplicates();
    TableRow rowOf(const RowCells& cells) const;

    Settings m_settings;
    std::vector<TableRow> m_rows;
    QUndoStack* m_undo = nullptr;
};

}  // namespace tovanel
