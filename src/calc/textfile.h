// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Text files coming in, read the same way by the point files, the corner table and the settings:
// - opened only when they are regular files (a folder, a device or a pipe is refused before a
//   byte is read, and a pipe without a writer never blocks), within a size limit;
// - decoded from UTF-8 (with or without a byte-order mark), UTF-16 LE or BE after a byte-order
//   mark, or CP932; without a mark the whole file decides between UTF-8 and CP932;
// - walked line by line, a line ended by CR LF, LF or a lone CR; a DOS end-of-file mark (0x1A)
//   closing the file is no text;
// - split into fields: commas, or TABs when the first line is TAB-separated; a field in double
//   quotes may hold the separator and doubled quotes.
// The operating-system calls of reading files are here and nowhere else (writing: atomicfile.h).

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringView>
#include <vector>

namespace tovanel {

enum class TextEncoding { Utf8, Cp932, Utf16Le, Utf16Be };

inline bool IsUtf16(TextEncoding e) { return e == TextEncoding::Utf16Le || e == TextEncoding::Utf16Be; }

/// Whether every byte is ASCII (then every 8-bit encoding reads the bytes alike).
bool IsAscii(const QByteArray& bytes);

/// A file opened to be read. Every reason is a Japanese sentence without the file's name; the
/// caller puts the name in front ("隅切り表 a.csv: " + reason).
class InputFile {
public:
    /// Opens `path` when it is a regular file of at most `maxBytes` bytes (0: any size).
    [[nodiscard]] QString open(const QString& path, qint64 maxBytes = 0);
    /// Reads from the current position up to `limit` bytes, fewer at the end of the file.
    [[nodiscard]] QString read(QByteArray& bytes, qint64 limit);
    QFile& device() { return m_file; }

private:
    QFile m_file;
};

/// The reason given for a file over `maxBytes`.
QString TooLargeText(qint64 maxBytes);

/// The encoding a byte-order mark at the start of `bytes` names, and the mark's length (0 and
/// `encoding` unchanged when there is none).
int ByteOrderMark(const QByteArray& bytes, TextEncoding& encoding);

/// UTF-8 or CP932 for text without a byte-order mark, decided on the whole of it: UTF-8 when every
/// byte is, unless the only characters beyond ASCII take two bytes and the same bytes are also
/// CP932. Japanese text in UTF-8 takes three bytes a character, while half-width katakana in CP932
/// (ｺｰﾅｰ) often pair up into valid two-byte UTF-8 sequences of accented Latin letters.
class EncodingEvidence {
public:
    /// Adds a piece of the text split at ASCII bytes (a line).
    void add(const QByteArray& bytes);
    TextEncoding encoding() const;

private:
    bool m_utf8 = true;
    bool m_wide = false;      ///< a UTF-8 sequence of three or four bytes seen
    bool m_nonAscii = false;
    bool m_cp932 = true;      ///< the two-byte-only UTF-8 text seen so far also reads as CP932
};

/// Decodes one line (or any piece split at a line end) in `encoding`; false with the reason.
bool DecodeLine(const QByteArray& bytes, TextEncoding encoding, QString& text, QString& why);

/// Decodes a whole file: after a byte-order mark in its encoding, otherwise as EncodingEvidence
/// decides. One final DOS end-of-file mark is dropped. On failure returns false with the reason
/// and the line of the first character that cannot be decoded.
bool DecodeText(const QByteArray& bytes, QString& text, QString& why, int& line);

/// Offset of the first byte that does not belong to well-formed UTF-8, or −1 when all do.
qsizetype InvalidUtf8At(const QByteArray& b);

/// Walks decoded text line by line.
class TextLines {
public:
    explicit TextLines(QStringView text) : m_text(text) {}
    bool next(QStringView& line);
    /// The line last given, from 1.
    int number() const { return m_number; }

private:
    QStringView m_text;
    qsizetype m_at = 0;
    int m_number = 0;
};

/// The lines of a device one at a time, as bytes without their line ends, in bounded memory.
/// A line longer than `maxLineBytes` is not kept: it comes back empty with `tooLong` set. In
/// UTF-16 (`encoding`) line ends are code units, and the lines keep to whole units.
class ByteLines {
public:
    ByteLines(QIODevice& device, qsizetype maxLineBytes, TextEncoding encoding = TextEncoding::Utf8);
    bool next(QByteArray& line, bool& tooLong);
    int number() const { return m_number; }
    /// Why reading stopped early (empty at a normal end).
    QString error() const { return m_error; }

private:
    bool fill();
    /// The code unit at byte `i` of the buffer.
    unsigned unitAt(qsizetype i) const;
    bool take(qsizetype length, qsizetype after, bool& tooLong, QByteArray& line);

    QIODevice& m_device;
    qsizetype m_maxLine;
    int m_unit = 1;
    bool m_bigEndian = false;
    QByteArray m_buffer;
    qsizetype m_at = 0;
    bool m_end = false;
    int m_number = 0;
    QString m_error;
};

/// The lines of bytes held in memory, as ByteLines gives them (no line after the last line end).
QList<QByteArray> LinesOf(const QByteArray& bytes);

/// The separator of a file whose first line that is not blank is `line`: TAB when it holds more
/// TABs than commas outside quotes (a spreadsheet's "Unicode text"), otherwise the comma.
QChar FieldSeparator(QStringView line);

/// Splits one line into fields at `separator`: a field in double quotes may hold the separator
/// and doubled quotes; blanks around a field are dropped. False with the reason on a quote that
/// is not closed or is followed by more than blanks.
bool SplitFields(QStringView line, QChar separator, std::vector<QString>& fields, QString& why);

/// SplitFields at commas.
inline bool SplitCsv(QStringView line, std::vector<QString>& fields, QString& why)
{
    return SplitFields(line, u',', fields, why);
}

/// A cell's text as a message shows it: in 「」, cut after 40 characters.
QString QuotedCell(QStringView text);

}  // namespace tovanel
