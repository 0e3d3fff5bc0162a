// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The corner table: one street-block corner a line, comma- or TAB-separated, read as every text
// file is (textfile.h: CP932, UTF-8, UTF-16 with a byte-order mark; CR LF, LF or CR line ends; a
// final DOS end-of-file mark). Columns: IP number, BP X, BP Y, IP X, IP Y, EP X, EP Y, radius,
// inner width, outer width, calculation type (0..3), division count (empty or 0: chosen from the
// limits), then optionally the BP, IP and EP names. The first line that is not blank is a header
// when none of its number columns holds a number and its BP X is not empty.
//
// Every number is read whole or the line is refused (StrictNumber), naming the column and the
// text found. An IP number names the corner's points, so it must be there and be the table's only
// one of its kind.
//
// One line is read by a plain function on its bytes; the file is read as a stream of lines, so a
// table of any length is read in bounded memory.

#include "calc/corner.h"
#include "calc/textfile.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <memory>
#include <vector>

namespace tovanel {

/// One corner as the table gives it.
struct TableCorner {
    int line = 0;  ///< line of the table, from 1
    QString ipNumber;
    double bpX = 0, bpY = 0, ipX = 0, ipY = 0, epX = 0, epY = 0;
    double radius = 0, inner = 0, outer = 0;
    int type = 0;          ///< 0 平行, 1 千鳥, 2 外接, 3 等曲率半径
    double divisions = 0;  ///< 0: chosen from the limits
    QString bpName, ipName, epName;
};

enum class TableLineKind {
    Corner,  ///< a corner to compute
    Blank,   ///< nothing but blanks and commas
    Header,  ///< the first line that is not blank, when no number column holds a number and BP X is not empty
    Bad,     ///< cannot be read: `error` says why
};

struct TableLine {
    TableLineKind kind = TableLineKind::Blank;
    TableCorner corner;  ///< its line is set whatever the kind; its IP number once it was read
    QString error;
    /// The line's fields as split, blanks around them dropped; empty when it could not be split
    /// (not decoded, a quote not closed, too long).
    std::vector<QString> fields;
};

/// Number of columns a table line may have: the required ones up to the calculation type, then
/// the division count and the three names.
inline constexpr int kTableRequiredColumns = 11;
inline constexpr int kTableColumns = 15;

/// The header row's names of the columns, in order.
QString TableColumnName(int column);

/// Reads the fields of a corner line into `out` (its kind Corner, or Bad with the reason); its
/// line number is kept. The same rule as a line of the file.
void ReadTableFields(const std::vector<QString>& fields, TableLine& out);

/// The corner a table line gives, as the calculation takes it.
CornerInput CornerInputOf(const TableCorner& c);

/// How a table's lines are written: the encoding and the field separator.
struct TableForm {
    TextEncoding encoding = TextEncoding::Utf8;
    QChar separator = u',';
};

/// Reads one line of the table: its bytes without the line end (and without a byte-order mark).
/// `first` is true for the first line that is not blank, which may be the header.
TableLine ReadTableLine(const QByteArray& bytes, const TableForm& form, int line, bool first);

/// The separator of a table whose first line that is not blank has these bytes (FieldSeparator).
QChar TableSeparator(const QByteArray& firstLine, TextEncoding encoding);

/// Longest table line kept (bytes without its line end); a longer one is refused.
inline constexpr qsizetype kMaxTableLineBytes = 64 * 1024;

/// The IP numbers of the lines read so far: a line repeating one, or without one, is refused.
class IpNumbers {
public:
    /// Turns `line` Bad when its IP number is empty or was on an earlier line (it names that line).
    void check(TableLine& line);

private:
    QHash<QString, int> m_first;  ///< IP number → the line it was first on
};

/// The table file read as a stream: opening reads it through once (the encoding, the number of
/// corner lines, that every byte can be read), then `next` gives line after line.
class CornerTable {
public:
    /// Opens the table at `path`. Returns empty, or why it cannot be read (in Japanese, naming
    /// the file).
    [[nodiscard]] QString open(const QString& path);
    TableForm form() const { return m_form; }
    /// Lines that are neither blank nor the header: the corners the run goes through, lines that
    /// will be refused included.
    int cornerLines() const { return m_cornerLines; }
    /// True when the table was read through and holds a header and no corner line (open then
    /// refuses it as holding no corners, ready all the same for `next` to go past the header):
    /// a table with its rows all deleted.
    bool headerOnly() const { return m_headerOnly; }
    /// The number of fields of the header line once `next` has gone past it; 0 without one.
    int headerFields() const { return m_headerFields; }
    /// The next line that is not skipped; false at the end of the table or when reading failed
    /// (then `error()` says why).
    bool next(TableLine& out);
    QString error() const { return m_error; }

private:
    /// Starts reading lines from the beginning.
    bool rewind();
    /// The next line's bytes, the byte-order mark dropped; false at the end.
    bool nextBytes(QByteArray& bytes, bool& tooLong);

    QString m_path;
    InputFile m_file;
    std::unique_ptr<ByteLines> m_lines;
    TableForm m_form;
    int m_bom = 0;  ///< length of the byte-order mark
    int m_cornerLines = 0;
    bool m_headerOnly = false;
    int m_headerFields = 0;
    bool m_seenFirst = false;
    IpNumbers m_ipNumbers;
    QString m_error;
};

/// "corners.csv の 12 行目: " and the reason: how every message about a line of the table reads.
QString TableLineMessage(const QString& path, int line, const QString& why);

}  // namespace tovanel
