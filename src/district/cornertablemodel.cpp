// SPDX-License-Identifier: GPL-3.0-or-later
#include "district/cornertablemodel.h"

#include "calc/curve.h"
#include "calc/listing.h"
#include "calc/numeric.h"
#include "calc/settingsfile.h"
#include "exchange/pointwriter.h"
#include "sheets/composition.h"

#include <QBrush>
#include <QColor>
#include <QDir>
#include <QUndoCommand>
#include <QUndoStack>
#include <algorithm>
#include <cmath>
#include <limits>
#include <set>

namespace tovanel {

namespace {

constexpr int kIpColumn = 0;
constexpr int kTypeColumn = 10;
constexpr int kDivisionColumn = 11;

/// View column → file column; −1 for the computed columns.
constexpr int kFileColumnOf[] = {0, 12, 1, 2, 13, 3, 4, 14, 5, 6, 7, 8, 9, 10, 11};

bool IsNumberColumn(int c) { return (c >= 1 && c <= 9) || c == kDivisionColumn; }

const QColor kWarningColour(255, 240, 170);
const QColor kRefusedColour(255, 200, 200);

/// The type from its digit or its name; −1 when it is neither.
int TypeOf(const QString& text)
{
    for (int t = 0; t < 4; ++t)
        if (text.trimmed() == CalcTypeNameOf(t)) return t;
    const std::optional<double> v = StrictNumber(text);
    return v && (*v == 0 || *v == 1 || *v == 2 || *v == 3) ? static_cast<int>(*v) : -1;
}

/// One undo step: rows at..at+before.size()−1 become `after`.
class RowsCommand : public QUndoCommand {
public:
    RowsCommand(CornerTableModel& model, int at, std::vector<TableRow> before, std::vector<TableRow> after,
                const QString& text, QUndoCommand* parent = nullptr)
        : QUndoCommand(text, parent), m_model(model), m_at(at), m_before(std::move(before)), m_after(std::move(after))
    {
    }
    void redo() override { m_model.replaceRows(m_at, static_cast<int>(m_before.size()), m_after); }
    void undo() override { m_model.replaceRows(m_at, static_cast<int>(m_after.size()), m_before); }

private:
    CornerTableModel& m_model;
    int m_at;
    std::vector<TableRow> m_before, m_after;
};

QString Distance(double v) { return FixedText(v, 3); }

}  // namespace

QString CellProblem(int column, const QString& text)
{
    const QString name = TableColumnName(column);
    if (IsNumberColumn(column)) {
        if (text.trimmed().isEmpty() || StrictNumber(text)) return {};
        return name + QStringLiteral(" が数値ではありません") + QuotedCell(text) + QStringLiteral("。");
    }
    if (column == kTypeColumn) {
        if (text.trimmed().isEmpty() || TypeOf(text) >= 0) return {};
        return QStringLiteral("計算方式「%1」は 0（平行）、1（千鳥）、2（外接）、3（等曲率半径）のどれでもありません。")
            .arg(text.left(20));
    }
    if (HasFieldBreak(text)) return name + QStringLiteral(" にタブや改行は入れられません。");
    QByteArray unused;
    QString bad;
    if (!EncodeCp932(text, unused, &bad))
        return name + QStringLiteral(" の「%1」は隅切り表のファイル（シフトJIS）に書けない文字です。").arg(bad);
    return {};
}

QString NormalisedCell(int column, const QString& text)
{
    if (IsNumberColumn(column)) {
        const std::optional<double> v = StrictNumber(text);
        return v ? ShortestNumberText(*v) : text.trimmed();
    }
    if (column == kTypeColumn) {
        const int t = TypeOf(text);
        return t >= 0 ? QString::number(t) : text.trimmed();
    }
    return text;
}

namespace {

/// The coordinates of cells that did not read as a corner, each one that reads on its own (the
/// plan draws what it can of a refused row); NaN for the others.
CornerInput PointsOf(const RowCells& cells)
{
    CornerInput in;
    double* const xy[] = {&in.BpX, &in.BpY, &in.IpX, &in.IpY, &in.EpX, &in.EpY};
    for (size_t k = 0; k < std::size(xy); ++k) {
        const std::optional<double> v = StrictNumber(cells[k + 1]);
        *xy[k] = v ? *v : std::numeric_limits<double>::quiet_NaN();
    }
    in.IPNo = cells[kIpColumn];
    in.BpName = cells[12];
    in.IpName = cells[13];
    in.EpName = cells[14];
    return in;
}

/// The plan's view of a row whose status is settled.
void PlanRow(TableRow& row, const Settings& settings)
{
    if (!row.read) {
        row.plan = PlanCorner{};
        row.plan.in = PointsOf(row.cells);
        row.plan.refusal = row.message;
        const double xs[] = {row.plan.in.BpX, row.plan.in.IpX, row.plan.in.EpX};
        const double ys[] = {row.plan.in.BpY, row.plan.in.IpY, row.plan.in.EpY};
        double west = 0, east = 0, south = 0, north = 0;
        bool any = false;
        for (int k = 0; k < 3; ++k) {
            if (!std::isfinite(xs[k]) || !std::isfinite(ys[k])) continue;
            west = any ? std::min(west, ys[k]) : ys[k];
            east = any ? std::max(east, ys[k]) : ys[k];
            south = any ? std::min(south, xs[k]) : xs[k];
            north = any ? std::max(north, xs[k]) : xs[k];
            any = true;
        }
        const QRectF bounds(QPointF(west, south), QPointF(east, north));
        row.plan.bounds = bounds;
        row.plan.drawable = any;
        return;
    }
    row.plan = PlanCornerOf(row.corner.in, settings);
    if (row.status == RowStatus::Refused && row.plan.refusal.isEmpty()) row.plan.refusal = row.message;
}

void ComputeOwn(TableRow& row, const Settings& settings);

}  // namespace

void ComputeRow(TableRow& row, const Settings& settings)
{
    ComputeOwn(row, settings);
    PlanRow(row, settings);
}

namespace {

void ComputeOwn(TableRow& row, const Settings& settings)
{
    row.corner = Corner{};
    row.read = false;
    row.message.clear();
    row.status = RowStatus::Refused;
    if (!row.lineError.isEmpty()) {
        row.ownRefusal = row.lineError;
        row.message = row.lineError;
        return;
    }
    TableLine line;
    ReadTableFields(std::vector<QString>(row.cells.begin(), row.cells.end()), line);
    if (line.kind == TableLineKind::Bad) {
        row.ownRefusal = line.error;
        row.message = line.error;
        return;
    }
    row.read = true;
    Corner& k = row.corner;
    k.in = CornerInputOf(line.corner);
    // What the batch refuses, the row refuses, in the same words: the trial refuses a corner that
    // cannot be staked, the composition one it cannot list.
    QString why = TrialCalculation(k.in, settings, k.el);
    if (why.isEmpty()) why = ComposeRefusal(k);
    if (!why.isEmpty()) {
        k.el = CornerElements{};
        row.ownRefusal = why;
        row.message = why;
        return;
    }
    row.ownRefusal.clear();
    // The same warnings as the trial window and the batch: the curve running past BP or EP.
    QStringList warnings = CornerWarnings(k.in, k.el);
    if (k.in.DivCount != 0) {
        CornerInput chosen = k.in;
        chosen.DivCount = 0;
        CornerElements el;
        if (TrialCalculation(chosen, settings, el).isEmpty() && el.DivCount != k.in.DivCount)
            warnings << QStringLiteral("分割数 %1 は条件から決まる %2 と違います。")
                            .arg(NumberText(k.in.DivCount), NumberText(el.DivCount));
    }
    row.message = warnings.join(QLatin1Char('\n'));
    row.status = warnings.isEmpty() ? RowStatus::Computed : RowStatus::Warning;
}

}  // namespace

TableFileRead ReadTableFile(const QString& path)
{
    TableFileRead out;
    CornerTable table;
    const QString why = table.open(path);
    if (!why.isEmpty() && !table.headerOnly()) {
        out.error = why;
        return out;
    }
    TableLine line;
    // Whether any line, the header included, has the table's shape: the columns up to the type.
    bool shaped = false;
    while (table.next(line)) {
        TableRow row;
        if (line.fields.empty()) {
            row.lineError = line.error;
        } else {
            for (size_t c = 0; c < std::min<size_t>(line.fields.size(), kTableColumns); ++c)
                row.cells[c] = NormalisedCell(static_cast<int>(c), line.fields[c]);
            // The reader passes over columns after the names; the window keeps the line unsaved
            // rather than drop them.
            if (line.fields.size() > kTableColumns)
                row.lineError = QStringLiteral("項目が %1 個あります。隅切り表の項目は %2 個までです。")
                                    .arg(line.fields.size())
                                    .arg(kTableColumns);
        }
        shaped |= line.fields.size() >= static_cast<size_t>(kTableRequiredColumns);
        out.rows.push_back(std::move(row));
    }
    if (!table.error().isEmpty()) {
        out.rows.clear();
        out.error = table.error();
        return out;
    }
    shaped |= table.headerFields() >= kTableRequiredColumns;
    if (!shaped) {
        out.rows.clear();
        out.error = QStringLiteral("隅切り表 %1: 隅切り表ではありません（IP番号 から 計算方式 までの %2 項目がそろった行が一つもありません）。")
                        .arg(QDir::toNativeSeparators(path))
                        .arg(kTableRequiredColumns);
    }
    return out;
}

QByteArray TableFileBytes(const std::vector<const RowCells*>& rows, QString& why)
{
    const QByteArray lineEnd("\r\n");
    QString header;
    for (int c = 0; c < kTableColumns; ++c) header += (c ? QStringLiteral(",") : QString()) + TableColumnName(c);
    QByteArray bytes;
    (void)EncodeCp932(header, bytes);
    bytes += lineEnd;
    QByteArray line;
    for (size_t r = 0; r < rows.size(); ++r) {
        QString text;
        for (int c = 0; c < kTableColumns; ++c) {
            if (c) text += QLatin1Char(',');
            text += CsvField((*rows[r])[static_cast<size_t>(c)]);
        }
        QString bad;
        line.clear();
        if (!EncodeCp932(text, line, &bad)) {
            why = QStringLiteral("%1 行目の「%2」は隅切り表のファイル（シフトJIS）に書けない文字です。").arg(r + 1).arg(bad);
            return {};
        }
        // A row of nothing but empty cells would be read back as a blank line, and dropped.
        if (std::all_of(rows[r]->begin(), rows[r]->end(), [](const QString& s) { return s.isEmpty(); })) {
            why = QStringLiteral("%1 行目は空です。空の行は削除してから保存してください。").arg(r + 1);
            return {};
        }
        bytes += line + lineEnd;
    }
    return bytes;
}

QString RowsClipboardText(const std::vector<const RowCells*>& rows)
{
    QString text;
    for (const RowCells* cells : rows) {
        for (int c = 0; c < kTableColumns; ++c) {
            if (c) text += QLatin1Char('\t');
            const QString& cell = (*cells)[static_cast<size_t>(c)];
            // A cell with a quote is quoted as spreadsheets quote it, so it pastes back as it was.
            text += cell.contains(u'"') ? QLatin1Char('"') + QString(cell).replace(QStringLiteral("\""), QStringLiteral("\"\"")) + QLatin1Char('"') : cell;
        }
        text += QLatin1Char('\n');
    }
    return text;
}

std::vector<RowCells> ParsePastedRows(const QString& text, QString& why)
{
    std::vector<RowCells> out;
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();
    std::vector<QString> f;
    bool first = true;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
        const QString where = QStringLiteral("貼り付けた %1 行目: ").arg(i + 1);
        if (!SplitFields(line, u'\t', f, why)) {
            why = where + why;
            return {};
        }
        if (std::all_of(f.begin(), f.end(), [](const QString& s) { return s.isEmpty(); })) continue;
        if (first) {
            first = false;
            // The table's own header, as a spreadsheet copy of a saved table starts.
            if (f.size() >= 2 && f[0] == TableColumnName(0) && f[1] == TableColumnName(1)) continue;
        }
        if (f.size() < kTableRequiredColumns || f.size() > kTableColumns) {
            why = where + QStringLiteral("%1 列あります。隅切り表の行は IP番号 から 計算方式 までの %2 列から、EP名 までの %3 列です。"
                                         "何も貼り付けていません。")
                              .arg(f.size())
                              .arg(kTableRequiredColumns)
                              .arg(kTableColumns);
            return {};
        }
        RowCells cells;
        for (size_t c = 0; c < f.size(); ++c) {
            if (QString problem = CellProblem(static_cast<int>(c), f[c]); !problem.isEmpty()) {
                why = where + problem + QStringLiteral("何も貼り付けていません。");
                return {};
            }
            cells[c] = NormalisedCell(static_cast<int>(c), f[c]);
        }
        out.push_back(std::move(cells));
    }
    if (out.empty()) why = QStringLiteral("貼り付ける行がありません。");
    return out;
}

int CornerTableModel::fileColumn(int viewColumn)
{
    return viewColumn >= 0 && viewColumn < ColN ? kFileColumnOf[viewColumn] : -1;
}

CornerTableModel::CornerTableModel(const Settings& settings, QObject* parent)
    : QAbstractTableModel(parent), m_settings(settings), m_undo(new QUndoStack(this))
{
}

CornerTableModel::~CornerTableModel() = default;

int CornerTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int CornerTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant CornerTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const TableRow& r = row(index.row());
    const int col = index.column();
    const bool computed = r.status != RowStatus::Refused;
    if (role == Qt::DisplayRole || role == Qt::EditRole) {
        if (const int fc = fileColumn(col); fc >= 0) {
            const QString& text = r.cells[static_cast<size_t>(fc)];
            if (fc == kTypeColumn && role == Qt::DisplayRole) {
                const int t = TypeOf(text);
                return t >= 0 ? CalcTypeNameOf(t) : text;
            }
            return text;
        }
        const CornerElements& el = r.corner.el;
        switch (col) {
        case ColN: return computed ? NumberText(el.DivCount) : QString();
        case ColIA: return computed ? AngleText(el.IA).trimmed() : QString();
        case ColTL: return computed ? Distance(el.TL) : QString();
        case ColCL: return computed ? Distance(el.CL) : QString();
        case ColStatus:
            switch (r.status) {
            case RowStatus::Computed: return QStringLiteral("計算済");
            case RowStatus::Warning: return QStringLiteral("注意: ") + r.message.section(QLatin1Char('\n'), 0, 0);
            case RowStatus::Refused: return QStringLiteral("計算不可: ") + r.message;
            }
            break;
        default: break;
        }
        return {};
    }
    if (role == Qt::ToolTipRole && col == ColStatus && !r.message.isEmpty()) return r.message;
    if (role == Qt::BackgroundRole && (col == ColStatus || col == ColIpNo)) {
        if (r.status == RowStatus::Warning) return QBrush(kWarningColour);
        if (r.status == RowStatus::Refused) return QBrush(kRefusedColour);
    }
    if (role == Qt::TextAlignmentRole) {
        const int fc = fileColumn(col);
        if ((fc >= 0 && IsNumberColumn(fc)) || (col >= ColN && col <= ColCL))
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    }
    return {};
}

QVariant CornerTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole) return QAbstractTableModel::headerData(section, orientation, role);
    if (orientation == Qt::Vertical) return section + 1;
    if (const int fc = fileColumn(section); fc >= 0) return TableColumnName(fc);
    switch (section) {
    case ColN: return QStringLiteral("N");
    case ColIA: return QStringLiteral("IA");
    case ColTL: return QStringLiteral("TL");
    case ColCL: return QStringLiteral("CL");
    case ColStatus: return QStringLiteral("状態");
    default: return {};
    }
}

Qt::ItemFlags CornerTableModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && fileColumn(index.column()) >= 0) f |= Qt::ItemIsEditable;
    return f;
}

bool CornerTableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !index.isValid()) return false;
    return setCell(index.row(), index.column(), value.toString()).isEmpty();
}

void CornerTableModel::setSettings(const Settings& settings)
{
    if (settings == m_settings) return;
    m_settings = settings;
    for (TableRow& r : m_rows) ComputeRow(r, m_settings);
    markDuplicates();
    if (!m_rows.empty()) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
        emit rowsComputed(0, rowCount() - 1);
    }
}

void CornerTableModel::resetRows(std::vector<TableRow> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    for (TableRow& r : m_rows) ComputeRow(r, m_settings);
    markDuplicates();
    endResetModel();
    m_undo->clear();
    m_undo->setClean();
    if (!m_rows.empty()) emit rowsComputed(0, rowCount() - 1);
}

TableRow CornerTableModel::rowOf(const RowCells& cells) const
{
    TableRow r;
    r.cells = cells;
    return r;
}

QString CornerTableModel::setCell(int r, int viewColumn, const QString& text)
{
    const int fc = fileColumn(viewColumn);
    if (r < 0 || r >= rowCount() || fc < 0) return QStringLiteral("この欄は書き換えられません。");
    if (QString problem = CellProblem(fc, text); !problem.isEmpty()) return problem;
    TableRow after = row(r);
    const QString value = NormalisedCell(fc, text);
    if (after.cells[static_cast<size_t>(fc)] == value) return {};
    after.cells[static_cast<size_t>(fc)] = value;
    after.lineError.clear();  // the row is being put right
    m_undo->push(new RowsCommand(*this, r, {row(r)}, {std::move(after)},
                                 QStringLiteral("%1 行目の %2 の変更").arg(r + 1).arg(TableColumnName(fc))));
    return {};
}

void CornerTableModel::insertCornerRows(int at, const std::vector<RowCells>& rows, const QString& what)
{
    if (rows.empty()) return;
    at = std::clamp(at, 0, rowCount());
    std::vector<TableRow> after;
    after.reserve(rows.size());
    for (const RowCells& c : rows) after.push_back(rowOf(c));
    m_undo->push(new RowsCommand(*this, at, {}, std::move(after), what));
}

void CornerTableModel::removeRowsAt(std::vector<int> rows)
{
    std::set<int, std::greater<int>> gone;
    for (int r : rows)
        if (r >= 0 && r < rowCount()) gone.insert(r);
    if (gone.empty()) return;
    // Children run in order, from the last row up, so each row number still holds when it runs.
    auto* parent = new QUndoCommand(QStringLiteral("%1 行の削除").arg(gone.size()));
    for (int r : gone) new RowsCommand(*this, r, {row(r)}, {}, {}, parent);
    m_undo->push(parent);
}

bool CornerTableModel::moveCornerRows(int first, int last, int delta)
{
    if (first > last || first < 0 || last >= rowCount() || (delta != -1 && delta != 1)) return false;
    if ((delta < 0 && first == 0) || (delta > 0 && last + 1 >= rowCount())) return false;
    const int from = delta < 0 ? first - 1 : first;
    const int to = delta < 0 ? last : last + 1;
    std::vector<TableRow> before(m_rows.begin() + from, m_rows.begin() + to + 1);
    std::vector<TableRow> after = before;
    if (delta < 0)
        std::rotate(after.begin(), after.begin() + 1, after.end());
    else
        std::rotate(after.rbegin(), after.rbegin() + 1, after.rend());
    m_undo->push(new RowsCommand(*this, from, std::move(before), std::move(after),
                                 delta < 0 ? QStringLiteral("行を上へ移動") : QStringLiteral("行を下へ移動")));
    return true;
}

QString CornerTableModel::paste(const QString& text, int at)
{
    QString why;
    const std::vector<RowCells> rows = ParsePastedRows(text, why);
    if (rows.empty()) return why;
    insertCornerRows(at, rows, QStringLiteral("%1 行の貼り付け").arg(rows.size()));
    return {};
}

std::vector<const RowCells*> CornerTableModel::cellsOf(const std::vector<int>& rows) const
{
    std::vector<const RowCells*> out;
    out.reserve(rows.size());
    for (int r : rows)
        if (r >= 0 && r < rowCount()) out.push_back(&row(r).cells);
    return out;
}

int CornerTableModel::countOf(RowStatus status) const
{
    return static_cast<int>(std::count_if(m_rows.begin(), m_rows.end(), [&](const TableRow& r) { return r.status == status; }));
}

void CornerTableModel::replaceRows(int at, int count, const std::vector<TableRow>& rows)
{
    const int n = static_cast<int>(rows.size());
    auto computed = [&] {
        std::vector<TableRow> out = rows;
        for (TableRow& r : out) ComputeRow(r, m_settings);
        return out;
    };
    if (count == n) {
        std::vector<TableRow> fresh = computed();
        std::move(fresh.begin(), fresh.end(), m_rows.begin() + at);
    } else {
        if (count > 0) {
            beginRemoveRows({}, at, at + count - 1);
            m_rows.erase(m_rows.begin() + at, m_rows.begin() + at + count);
            endRemoveRows();
        }
        if (n > 0) {
            std::vector<TableRow> fresh = computed();
            beginInsertRows({}, at, at + n - 1);
            m_rows.insert(m_rows.begin() + at, std::make_move_iterator(fresh.begin()), std::make_move_iterator(fresh.end()));
            endInsertRows();
        }
    }
    markDuplicates();
    if (n > 0) {
        emit dataChanged(index(at, 0), index(at + n - 1, ColumnCount - 1));
        emit rowsComputed(at, at + n - 1);
    }
}

void CornerTableModel::markDuplicates()
{
    // The reader's own check, over the rows in order: the first row holding an IP number keeps it.
    IpNumbers seen;
    for (size_t i = 0; i < m_rows.size(); ++i) {
        TableRow& r = m_rows[i];
        TableLine line;
        line.kind = r.ownRefusal.isEmpty() ? TableLineKind::Corner : TableLineKind::Bad;
        line.corner.line = static_cast<int>(i) + 1;
        line.corner.ipNumber = r.cells[kIpColumn];
        seen.check(line);
        const bool duplicate = r.ownRefusal.isEmpty() && line.kind == TableLineKind::Bad;
        const int before = r.duplicateOf;
        r.duplicateOf = duplicate ? 1 : 0;
        if (duplicate) {
            r.status = RowStatus::Refused;
            r.message = line.error;
            r.plan.refusal = line.error;
        } else if (before && r.ownRefusal.isEmpty()) {
            // No longer a repeat: its own result stands again.
            ComputeRow(r, m_settings);
        }
        if (before != r.duplicateOf || duplicate)
            emit dataChanged(index(static_cast<int>(i), ColN), index(static_cast<int>(i), ColStatus));
    }
}

}  // namespace tovanel
