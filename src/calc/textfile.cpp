// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/textfile.h"

#include "calc/atomicfile.h"
#include "calc/settingsfile.h"

#include <QBuffer>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tovanel {

namespace {

constexpr qint64 kReadPiece = 256 * 1024;
constexpr unsigned kDosEndOfFile = 0x1A;

/// Line (from 1) of the unit at `offset` of a text (bytes or characters), counting line ends as
/// TextLines does.
template <class Text>
int LineAt(const Text& text, qsizetype offset)
{
    int line = 1;
    for (qsizetype i = 0; i < offset && i < text.size(); ++i) {
        if (text[i] == u'\n') {
            ++line;
        } else if (text[i] == u'\r') {
            ++line;
            if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
        }
    }
    return line;
}

/// UTF-16 code units to text; false with the index of the first unit that is half a surrogate
/// pair, or of the odd byte at the end.
bool DecodeUtf16(const QByteArray& bytes, bool bigEndian, QString& text, qsizetype& badUnit)
{
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size() / 2;
    text.resize(n);
    for (qsizetype i = 0; i < n; ++i)
        text[i] = QChar(static_cast<char16_t>(bigEndian ? b[2 * i] << 8 | b[2 * i + 1] : b[2 * i + 1] << 8 | b[2 * i]));
    for (qsizetype i = 0; i < n; ++i) {
        if (text[i].isHighSurrogate() && i + 1 < n && text[i + 1].isLowSurrogate()) {
            ++i;
        } else if (text[i].isSurrogate()) {
            badUnit = i;
            return false;
        }
    }
    badUnit = n;
    return bytes.size() % 2 == 0;
}

QString Hex(const QByteArray& bytes, qsizetype at)
{
    at = std::clamp<qsizetype>(at, 0, std::max<qsizetype>(bytes.size() - 1, 0));
    return QString::fromLatin1(bytes.mid(at, 2).toHex().toUpper());
}

const QString kNotUtf8 = QStringLiteral("UTF-8 として読めない文字があります。");
const QString kNotUtf16 = QStringLiteral("UTF-16 として読めない文字があります。");

}  // namespace

bool IsAscii(const QByteArray& bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

QString TooLargeText(qint64 maxBytes)
{
    return QStringLiteral("ファイルが大きすぎます（%1 MB まで）。").arg(maxBytes >> 20);
}

QString InputFile::open(const QString& path, qint64 maxBytes)
{
    // Non-blocking: a pipe without a writer must not hang the program; only a regular file is read.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return QStringLiteral("開けません（%1）。").arg(ReadErrorText(errno));
    struct stat st {};
    QString why;
    if (::fstat(fd, &st) != 0)
        why = QStringLiteral("開けません（%1）。").arg(ReadErrorText(errno));
    else if (S_ISDIR(st.st_mode))
        why = QStringLiteral("フォルダです。ファイルを選んでください。");
    else if (!S_ISREG(st.st_mode))
        why = QStringLiteral("通常のファイルではありません。");
    else if (maxBytes > 0 && st.st_size > maxBytes)
        why = TooLargeText(maxBytes);
    else if (!m_file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        why = QStringLiteral("開けません（%1）。").arg(m_file.errorString());
    if (!why.isEmpty() && !m_file.isOpen()) ::close(fd);
    return why;
}

QString InputFile::read(QByteArray& bytes, qint64 limit)
{
    bytes.clear();
    // A file says how much it holds: a small one takes a small buffer.
    bytes.reserve(std::clamp<qint64>(m_file.bytesAvailable(), 0, std::min(limit, kReadPiece)));
    while (bytes.size() < limit) {
        const qsizetype had = bytes.size();
        const qint64 want = std::min(limit - had, kReadPiece);
        bytes.resize(had + want);
        const qint64 got = m_file.read(bytes.data() + had, want);
        bytes.resize(had + std::max<qint64>(got, 0));
        if (got < 0) return QStringLiteral("読み込めません（%1）。").arg(m_file.errorString());
        if (got == 0) break;
    }
    return {};
}

int ByteOrderMark(const QByteArray& bytes, TextEncoding& encoding)
{
    if (bytes.startsWith("\xEF\xBB\xBF")) return encoding = TextEncoding::Utf8, 3;
    if (bytes.startsWith("\xFF\xFE")) return encoding = TextEncoding::Utf16Le, 2;
    if (bytes.startsWith("\xFE\xFF")) return encoding = TextEncoding::Utf16Be, 2;
    return 0;
}

qsizetype InvalidUtf8At(const QByteArray& b)
{
    // Hand-written rather than QStringDecoder: the offset of the first bad byte names the line.
    const auto* u = reinterpret_cast<const unsigned char*>(b.constData());
    const qsizetype n = b.size();
    for (qsizetype i = 0; i < n;) {
        const unsigned c = u[i];
        qsizetype len = 0;
        unsigned lo = 0x80, hi = 0xBF;  // range of the second byte
        if (c < 0x80) len = 1;
        else if (c >= 0xC2 && c <= 0xDF) len = 2;
        else if (c >= 0xE0 && c <= 0xEF) len = 3, lo = c == 0xE0 ? 0xA0 : 0x80, hi = c == 0xED ? 0x9F : 0xBF;
        else if (c >= 0xF0 && c <= 0xF4) len = 4, lo = c == 0xF0 ? 0x90 : 0x80, hi = c == 0xF4 ? 0x8F : 0xBF;
        else return i;
        if (i + len > n) return i;
        for (qsizetype k = 1; k < len; ++k) {
            const unsigned d = u[i + k];
            if (k == 1 ? (d < lo || d > hi) : (d < 0x80 || d > 0xBF)) return i;
        }
        i += len;
    }
    return -1;
}

void EncodingEvidence::add(const QByteArray& bytes)
{
    if (IsAscii(bytes)) return;
    m_nonAscii = true;
    if (m_utf8 && InvalidUtf8At(bytes) >= 0) m_utf8 = false;
    if (!m_utf8 || m_wide) return;
    // In valid UTF-8 a byte from 0xE0 up opens a sequence of three or four bytes.
    m_wide = std::any_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) >= 0xE0; });
    QString unused;
    if (!m_wide && m_cp932) m_cp932 = DecodeCp932(bytes, unused);
}

TextEncoding EncodingEvidence::encoding() const
{
    return m_utf8 && (m_wide || !m_nonAscii || !m_cp932) ? TextEncoding::Utf8 : TextEncoding::Cp932;
}

bool DecodeLine(const QByteArray& bytes, TextEncoding encoding, QString& text, QString& why)
{
    if (IsUtf16(encoding)) {
        qsizetype bad = 0;
        if (DecodeUtf16(bytes, encoding == TextEncoding::Utf16Be, text, bad)) return true;
        why = kNotUtf16;
        return false;
    }
    if (IsAscii(bytes)) {
        text = QString::fromLatin1(bytes);
        return true;
    }
    if (encoding == TextEncoding::Utf8) {
        if (InvalidUtf8At(bytes) < 0) {
            text = QString::fromUtf8(bytes);
            return true;
        }
        why = kNotUtf8;
        return false;
    }
    qsizetype bad = 0;
    if (DecodeCp932(bytes, text, &bad)) return true;
    why = QStringLiteral("CP932（Shift-JIS）として読めない文字があります（0x%1）。").arg(Hex(bytes, bad));
    return false;
}

bool DecodeText(const QByteArray& bytes, QString& text, QString& why, int& line)
{
    TextEncoding encoding = TextEncoding::Utf8;
    const int bom = ByteOrderMark(bytes, encoding);
    const QByteArray body = bytes.sliced(bom);
    if (bom == 0) {
        EncodingEvidence evidence;
        evidence.add(body);
        encoding = evidence.encoding();
    }
    qsizetype bad = -1;
    if (IsUtf16(encoding)) {
        if (!DecodeUtf16(body, encoding == TextEncoding::Utf16Be, text, bad)) {
            why = kNotUtf16;
            line = LineAt(text, bad);
        }
    } else if (encoding == TextEncoding::Utf8) {
        bad = InvalidUtf8At(body);
        if (bad < 0) text = QString::fromUtf8(body);
        else why = kNotUtf8;  // only after a byte-order mark: otherwise the evidence says CP932
    } else if (!DecodeCp932(body, text, &bad)) {
        why = QStringLiteral("CP932（Shift-JIS）でも UTF-8 でも読めない文字があります（0x%1）。").arg(Hex(body, bad));
    }
    if (!why.isEmpty()) {
        if (!IsUtf16(encoding)) line = LineAt(body, bad);
        text.clear();
        return false;
    }
    if (text.endsWith(QChar(kDosEndOfFile))) text.chop(1);
    return true;
}

bool TextLines::next(QStringView& line)
{
    if (m_at >= m_text.size()) return false;
    qsizetype end = m_at;
    while (end < m_text.size() && m_text[end] != u'\n' && m_text[end] != u'\r') ++end;
    line = m_text.sliced(m_at, end - m_at);
    m_at = end;
    if (m_at < m_text.size() && m_text[m_at++] == u'\r' && m_at < m_text.size() && m_text[m_at] == u'\n') ++m_at;
    ++m_number;
    return true;
}

ByteLines::ByteLines(QIODevice& device, qsizetype maxLineBytes, TextEncoding encoding)
    : m_device(device), m_maxLine(maxLineBytes), m_unit(IsUtf16(encoding) ? 2 : 1),
      m_bigEndian(encoding == TextEncoding::Utf16Be)
{
}

unsigned ByteLines::unitAt(qsizetype i) const
{
    const auto* b = reinterpret_cast<const unsigned char*>(m_buffer.constData());
    if (m_unit == 1) return b[i];
    return m_bigEndian ? b[i] << 8 | b[i + 1] : b[i + 1] << 8 | b[i];
}

bool ByteLines::fill()
{
    if (m_end) return false;
    if (m_at > 0) {
        m_buffer.remove(0, m_at);
        m_at = 0;
    }
    // A file says how much is left: a small table takes a small buffer.
    const qint64 want = m_device.isSequential() ? kReadPiece : std::clamp<qint64>(m_device.bytesAvailable(), 1, kReadPiece);
    const qsizetype had = m_buffer.size();
    m_buffer.resize(had + want);
    const qint64 got = m_device.read(m_buffer.data() + had, want);
    m_buffer.resize(had + std::max<qint64>(got, 0));
    if (got < 0) m_error = QStringLiteral("読み込めません（%1）。").arg(m_device.errorString());
    if (got <= 0) m_end = true;
    return got > 0;
}

bool ByteLines::take(qsizetype length, qsizetype after, bool& tooLong, QByteArray& line)
{
    tooLong = tooLong || length > m_maxLine;
    line = tooLong ? QByteArray() : m_buffer.sliced(m_at, length);
    m_at = after;
    ++m_number;
    return true;
}

bool ByteLines::next(QByteArray& line, bool& tooLong)
{
    tooLong = false;
    qsizetype scanned = 0;  // bytes of the pending line already searched for its end
    for (;;) {
        const qsizetype n = m_buffer.size();
        qsizetype i = m_at + scanned;
        unsigned c = 0;
        while (i + m_unit <= n && (c = unitAt(i)) != '\n' && c != '\r') i += m_unit;
        const bool found = i + m_unit <= n;
        // A CR as the last unit read may be the first half of CR LF: read on before deciding.
        if (found && !(c == '\r' && i + m_unit == n && !m_end)) {
            qsizetype after = i + m_unit;
            if (c == '\r' && after + m_unit <= n && unitAt(after) == '\n') after += m_unit;
            return take(i - m_at, after, tooLong, line);
        }
        scanned = i - m_at;
        if (scanned > m_maxLine) {
            // Too long to be kept: what was read of it is dropped, the rest skipped.
            tooLong = true;
            m_buffer.remove(m_at, scanned);
            scanned = 0;
        }
        if (!fill()) {
            if (found) continue;  // the final CR ends the last line
            qsizetype length = m_buffer.size() - m_at;
            // A DOS end-of-file mark closing the file is no text.
            if (length >= m_unit && length % m_unit == 0 && unitAt(m_buffer.size() - m_unit) == kDosEndOfFile)
                length -= m_unit;
            if (length == 0 && !tooLong) return false;
            return take(length, m_buffer.size(), tooLong, line);
        }
    }
}

QList<QByteArray> LinesOf(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    ByteLines walk(buffer, bytes.size());
    QList<QByteArray> lines;
    QByteArray line;
    bool tooLong = false;
    while (walk.next(line, tooLong)) lines.append(line);
    return lines;
}

QChar FieldSeparator(QStringView line)
{
    qsizetype tabs = 0, commas = 0;
    bool quoted = false;
    for (const QChar c : line) {
        if (c == u'"') quoted = !quoted;
        else if (!quoted && c == u'\t') ++tabs;
        else if (!quoted && c == u',') ++commas;
    }
    return tabs > commas ? u'\t' : u',';
}

bool SplitFields(QStringView line, QChar separator, std::vector<QString>& fields, QString& why)
{
    fields.clear();
    qsizetype i = 0;
    const qsizetype n = line.size();
    auto blank = [&](QChar c) { return c == u' ' || (c == u'\t' && separator != u'\t'); };
    for (;;) {
        while (i < n && blank(line[i])) ++i;
        QString field;
        if (i < n && line[i] == u'"') {
            ++i;
            for (;;) {
                if (i >= n) {
                    why = QStringLiteral("引用符 \" が閉じていません。");
                    return false;
                }
                if (line[i] == u'"') {
                    if (i + 1 < n && line[i + 1] == u'"') {
                        field += u'"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field += line[i++];
            }
            while (i < n && blank(line[i])) ++i;
            if (i < n && line[i] != separator) {
                why = QStringLiteral("引用符で囲んだ項目のあとに文字があります。");
                return false;
            }
        } else {
            const qsizetype start = i;
            while (i < n && line[i] != separator) ++i;
            field = line.sliced(start, i - start).trimmed().toString();
        }
        fields.push_back(std::move(field));
        if (i >= n) return true;
        ++i;  // the separator
    }
}

QString QuotedCell(QStringView text)
{
    // Long enough to recognise, short enough for one message line.
    constexpr qsizetype kShown = 40;
    const QString t = text.size() > kShown ? text.left(kShown).toString() + QStringLiteral("…") : text.toString();
    return QStringLiteral("「") + t + QStringLiteral("」");
}

}  // namespace tovanel
