// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/cornertable.h"

#include "calc/numeric.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <vector>

namespace tovanel {

namespace {

constexpr int kRequiredColumns = kTableRequiredColumns;
constexpr int kTypeColumn = 10;
constexpr int kDivisionColumn = 11;

/// The columns as the table's header names them.
const char16_t* const kColumnNames[] = {u"IP番号", u"BP X", u"BP Y", u"IP X", u"IP Y", u"EP X", u"EP Y", u"半径",
                                        u"内幅員", u"外幅員", u"計算方式", u"分割数", u"BP名", u"IP名", u"EP名"};

QString ColumnName(size_t column) { return QString::fromUtf16(kColumnNames[column]); }

/// Whether ASCII bytes hold anything but blanks, separators and quotes, of which a blank line is made.
bool HasText(const QByteArray& bytes, QChar separator)
{
    for (const char c : bytes)
        if (c != ' ' && c != '\t' && c != separator.unicode() && c != '"' && c != '\v' && c != '\f') return true;
    return false;
}

/// The kind of a line as far as its fields tell (Corner when it is to be read on), its fields,
/// and the reason when it is Bad.
TableLineKind SplitLine(const QByteArray& bytes, const TableForm& form, bool first, std::vector<QString>& f,
                        QString& why)
{
    QString text;
    if (!DecodeLine(bytes, form.encoding, text, why) || !SplitFields(text, form.separator, f, why))
        return TableLineKind::Bad;
    if (std::all_of(f.begin(), f.end(), [](const QString& s) { return s.isEmpty(); })) return TableLineKind::Blank;
    // A header names the columns: a line with a number in any of them, or nothing where BP X
    // stands, is a corner, to be read or refused.
    if (first && (f.size() < 2 || !f[1].isEmpty()) &&
        std::none_of(f.begin() + std::min<qsizetype>(1, f.size()), f.begin() + std::min<qsizetype>(kDivisionColumn + 1, f.size()),
                     [](const QString& cell) { return StrictNumber(cell).has_value(); }))
        return TableLineKind::Header;
    return TableLineKind::Corner;
}

/// Reads a number cell; the reason, naming the column and the text, when it holds none.
QString ReadCell(const std::vector<QString>& f, size_t column, double& value)
{
    if (f[column].isEmpty()) return ColumnName(column) + QStringLiteral(" が空です。");
    const std::optional<double> v = StrictNumber(f[column]);
    if (!v) return ColumnName(column) + QStringLiteral(" が数値ではありません") + QuotedCell(f[column]) + QStringLiteral("。");
    value = *v;
    return {};
}

/// The form of a line, with the separator its own when it may be the first line that is not blank.
TableForm FormOf(const QByteArray& bytes, TableForm form, bool first)
{
    if (first) form.separator = TableSeparator(bytes, form.encoding);
    return form;
}

/// Counts, as the lines go by, the lines `CornerTable::next` will give when the table is read
/// in one encoding: what is blank or the header depends on how its bytes decode.
class CornerCount {
public:
    explicit CornerCount(TextEncoding encoding) { m_form.encoding = encoding; }
    void add(const QByteArray& bytes, bool tooLong)
    {
        // After the first line, an ASCII line holding anything but blanks, separators and quotes
        // cannot be blank: the common case is settled without splitting it.
        if (!tooLong && (!m_seenFirst || IsUtf16(m_form.encoding) || !IsAscii(bytes) || !HasText(bytes, m_form.separator))) {
            const TableForm form = FormOf(bytes, m_form, !m_seenFirst);
            const TableLineKind kind = SplitLine(bytes, form, !m_seenFirst, m_fields, m_why);
            if (kind == TableLineKind::Blank) return;
            if (!m_seenFirst) m_form = form;
            m_seenFirst = true;
            if (kind == TableLineKind::Header) {  // only the first line can be
                m_header = true;
                return;
            }
        }
        m_seenFirst = true;
        ++m_corners;
    }
    int corners() const { return m_corners; }
    bool header() const { return m_header; }
    QChar separator() const { return m_form.separator; }

private:
    TableForm m_form;
    bool m_seenFirst = false;
    bool m_header = false;
    int m_corners = 0;
    std::vector<QString> m_fields;
    QString m_why;
};

}  // namespace

QChar TableSeparator(const QByteArray& firstLine, TextEncoding encoding)
{
    QString text, why;
    return DecodeLine(firstLine, encoding, text, why) ? FieldSeparator(text) : QChar(u',');
}

QString TableColumnName(int column)
{
    return column >= 0 && column < kTableColumns ? ColumnName(static_cast<size_t>(column)) : QString();
}

TableLine ReadTableLine(const QByteArray& bytes, const TableForm& form, int line, bool first)
{
    TableLine out;
    out.corner.line = line;
    out.fields.reserve(16);
    QString why;
    out.kind = SplitLine(bytes, form, first, out.fields, why);
    if (out.kind == TableLineKind::Bad) {
        out.error = why;
        out.fields.clear();
        return out;
    }
    if (out.kind == TableLineKind::Corner) ReadTableFields(out.fields, out);
    return out;
}

void ReadTableFields(const std::vector<QString>& f, TableLine& out)
{
    const int line = out.corner.line;
    out.corner = TableCorner{};
    out.corner.line = line;
    out.kind = TableLineKind::Corner;
    out.error.clear();
    auto bad = [&](const QString& why) {
        out.kind = TableLineKind::Bad;
        out.error = why;
    };
    TableCorner& c = out.corner;
    if (!f.empty()) c.ipNumber = f[0];
    if (f.size() < kRequiredColumns)
        return bad(QStringLiteral("項目が %1 個しかありません。IP番号, BP X, BP Y, IP X, IP Y, EP X, EP Y, "
                                  "半径, 内幅員, 外幅員, 計算方式 の %2 項目が要ります。")
                       .arg(f.size())
                       .arg(kRequiredColumns));
    if (c.ipNumber.isEmpty()) return bad(ColumnName(0) + QStringLiteral(" が空です。"));
    double* const numbers[] = {&c.bpX, &c.bpY, &c.ipX, &c.ipY, &c.epX, &c.epY, &c.radius, &c.inner, &c.outer};
    for (size_t k = 0; k < std::size(numbers); ++k)
        if (QString why = ReadCell(f, k + 1, *numbers[k]); !why.isEmpty()) return bad(why);
    const std::optional<double> type = StrictNumber(f[kTypeColumn]);
    if (!type || !(*type == 0 || *type == 1 || *type == 2 || *type == 3))
        return bad(QStringLiteral("計算方式「%1」は 0（平行）、1（千鳥）、2（外接）、3（等曲率半径）のどれでもありません。")
                       .arg(f[kTypeColumn].left(20)));
    c.type = static_cast<int>(*type);
    if (f.size() > kDivisionColumn && !f[kDivisionColumn].isEmpty())
        if (QString why = ReadCell(f, kDivisionColumn, c.divisions); !why.isEmpty()) return bad(why);
    if (f.size() > 12) c.bpName = f[12];
    if (f.size() > 13) c.ipName = f[13];
    if (f.size() > 14) c.epName = f[14];
}

CornerInput CornerInputOf(const TableCorner& c)
{
    CornerInput in;
    in.BpX = c.bpX;
    in.BpY = c.bpY;
    in.IpX = c.ipX;
    in.IpY = c.ipY;
    in.EpX = c.epX;
    in.EpY = c.epY;
    in.WidthIn = c.inner;
    in.WidthOut = c.outer;
    in.Radius = c.radius;
    in.IPNo = c.ipNumber;
    in.CalcType = static_cast<int16_t>(c.type);
    in.DivCount = c.divisions;
    in.BpName = c.bpName;
    in.IpName = c.ipName;
    in.EpName = c.epName;
    return in;
}

void IpNumbers::check(TableLine& line)
{
    const QString& ip = line.corner.ipNumber;
    if (ip.isEmpty()) return;
    // A refused line's IP number counts too: once it is put right, the two would clash.
    const auto it = m_first.constFind(ip);
    if (it == m_first.cend()) {
        m_first.insert(ip, line.corner.line);
        return;
    }
    if (line.kind == TableLineKind::Bad) return;
    line.kind = TableLineKind::Bad;
    line.error = QStringLiteral("IP番号「%1」は %2 行目と同じです。IP番号は点名になるため、表の中で一つずつにしてください。")
                     .arg(ip.left(40))
                     .arg(it.value());
}

QString CornerTable::open(const QString& path)
{
    m_path = path;
    const QString label = QStringLiteral("隅切り表 %1: ").arg(QDir::toNativeSeparators(path));
    if (QString why = m_file.open(path); !why.isEmpty()) return label + why;

    // Read through once: the encoding the byte-order mark names, or the one the whole file shows,
    // as point files are read; and how many lines hold corners, for the progress shown.
    // Without a mark the count is kept for either encoding until the last line decides.
    m_bom = ByteOrderMark(m_file.device().peek(3), m_form.encoding);
    EncodingEvidence evidence;
    CornerCount asUtf8(TextEncoding::Utf8), asCp932(TextEncoding::Cp932), marked(m_form.encoding);
    QByteArray bytes;
    bool tooLong = false;
    if (!rewind()) return label + QStringLiteral("読み込めません（%1）。").arg(m_file.device().errorString());
    while (nextBytes(bytes, tooLong)) {
        if (m_bom > 0) {
            marked.add(bytes, tooLong);
            continue;
        }
        if (!tooLong) evidence.add(bytes);
        asUtf8.add(bytes, tooLong);
        asCp932.add(bytes, tooLong);
    }
    if (!m_lines->error().isEmpty()) return label + m_lines->error();
    if (m_bom == 0) m_form.encoding = evidence.encoding();
    const CornerCount& count = m_bom > 0 ? marked : m_form.encoding == TextEncoding::Utf8 ? asUtf8 : asCp932;
    m_cornerLines = count.corners();
    m_form.separator = count.separator();
    m_headerOnly = m_cornerLines == 0 && count.header();
    if (!rewind()) return label + QStringLiteral("読み直せません（%1）。").arg(m_file.device().errorString());
    if (m_cornerLines == 0) return label + QStringLiteral("隅切りの行がありません。");
    return {};
}

bool CornerTable::rewind()
{
    m_lines = std::make_unique<ByteLines>(m_file.device(), kMaxTableLineBytes, m_form.encoding);
    m_seenFirst = false;
    m_ipNumbers = {};
    return m_file.device().seek(0);
}

bool CornerTable::nextBytes(QByteArray& bytes, bool& tooLong)
{
    if (!m_lines->next(bytes, tooLong)) return false;
    if (m_lines->number() == 1) bytes.remove(0, m_bom);
    return true;
}

bool CornerTable::next(TableLine& out)
{
    QByteArray bytes;
    bool tooLong = false;
    while (nextBytes(bytes, tooLong)) {
        const int line = m_lines->number();
        if (tooLong) {
            m_seenFirst = true;
            out = TableLine{};
            out.kind = TableLineKind::Bad;
            out.error = QStringLiteral("行が長すぎます（%1 KB まで）。").arg(kMaxTableLineBytes / 1024);
            out.corner.line = line;
            return true;
        }
        const TableForm form = FormOf(bytes, m_form, !m_seenFirst);
        out = ReadTableLine(bytes, form, line, !m_seenFirst);
        if (out.kind == TableLineKind::Blank) continue;
        if (!m_seenFirst) m_form = form;
        m_seenFirst = true;
        if (out.kind == TableLineKind::Header) {
            m_headerFields = static_cast<int>(out.fields.size());
            continue;
        }
        m_ipNumbers.check(out);
        return true;
    }
    if (!m_lines->error().isEmpty())
        m_error = QStringLiteral("隅切り表 %1: ").arg(QDir::toNativeSeparators(m_path)) + m_lines->error();
    return false;
}

QString TableLineMessage(const QString& path, int line, const QString& why)
{
    return QStringLiteral("%1 の %2 行目: %3").arg(QFileInfo(path).fileName()).arg(line).arg(why);
}

}  // namespace tovanel
