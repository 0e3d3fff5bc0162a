// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The corner table: a CSV file with one street-block corner a line, in CP932 or UTF-8 (with or
// without a byte-order mark), CR LF, LF or CR line ends. Columns: IP number, BP X, BP Y, IP X,
// IP Y, EP X, EP Y, radius, inner width, outer width, calculation type (0..3), division count
// (empty or 0: chosen from the limits), then optionally the BP, IP and EP names. A first line
// whose BP X is no number is a header.
//
// One line is read by a plain function on its bytes; the file is read as a stream of lines, so a
// table of any length is read in bounded memory.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <memory>

namespace tovanel {

/// One corner as the table gives it. Numbers have been read by the input boxes' leading-number
/// rule, so they are what the same texts typed into the boxes would give.
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
    Header,  ///< the first line that is not blank, when its BP X is no number
    Bad,     ///< cannot be read: `error` says why
};

struct TableLine {
    TableLineKind kind = TableLineKind::Blank;
    TableCorner corner;  ///< its line is set whatever the kind
    QString error;
};

enum class TextEncoding { Utf8, Cp932 };

/// Reads one line of the table: its bytes without the line end (and without a byte-order mark).
/// `first` is true for the first line that is not blank, which may be the header.
TableLine ReadTableLine(const QByteArray& bytes, TextEncoding encoding, int line, bool first);

/// Lines of a device one at a time, ended by CR LF, LF or a lone CR. A line longer than
/// kMaxTableLineBytes is not kept: it comes back empty with `tooLong` set.
class ByteLines {
public:
    explicit ByteLines(QIODevice& device) : m_device(device) {}
    bool next(QByteArray& line, bool& tooLong);
    int number() const { return m_number; }
    /// Why reading stopped early (empty at a normal end).
    QString error() const { return m_error; }

private:
    bool fill();

    QIODevice& m_device;
    QByteArray m_buffer;
    qsizetype m_at = 0;
    bool m_end = false;
    int m_number = 0;
    QString m_error;
};

inline constexpr qsizetype kMaxTableLineBytes = 64 * 1024;

/// The table file read as a stream: opening reads it through once (the encoding, the number of
/// corner lines, that every byte can be read), then `next` gives line after line.
class CornerTable {
public:
    /// Opens the table at `path`. Returns empty, or why it cannot be read (in Japanese, naming
    /// the file).
    [[nodiscard]] QString open(const QString& path);
    TextEncoding encoding() const { return m_encoding; }
    /// Lines that are neither blank nor the header: the corners the run goes through, lines that
    /// will be refused included.
    int cornerLines() const { return m_cornerLines; }
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
    QFile m_file;
    std::unique_ptr<ByteLines> m_lines;
    TextEncoding m_encoding = TextEncoding::Utf8;
    int m_cornerLines = 0;
    bool m_seenFirst = false;
    bool m_bom = false;
    QString m_error;
};

/// "corners.csv の 12 行目: " and the reason: how every message about a line of the table reads.
QString TableLineMessage(const QString& path, int line, const QString& why);

}  // namespace tovanel
