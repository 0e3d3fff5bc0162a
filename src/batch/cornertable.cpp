// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/cornertable.h"

#include "calc/atomicfile.h"
#include "calc/numeric.h"
#include "calc/settingsfile.h"
#include "exchange/pointfile.h"

#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace tovanel {

namespace {

constexpr qint64 kChunk = 256 * 1024;
const QByteArray kBom("\xEF\xBB\xBF");

/// Columns up to the calculation type must be there; the division count and the names may not.
constexpr int kRequiredColumns = 11;

bool IsAscii(const QByteArray& bytes)
{
    for (const char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

bool Decode(const QByteArray& bytes, TextEncoding encoding, QString& text, QString& why)
{
    if (IsAscii(bytes)) {
        text = QString::fromLatin1(bytes);
        return true;
    }
    if (encoding == TextEncoding::Utf8) {
        if (InvalidUtf8At(bytes) < 0) {
            text = QString::fromUtf8(bytes);
            return true;
        }
        why = QStringLiteral("UTF-8 として読めない文字があります。");
        return false;
    }
    qsizetype bad = 0;
    if (DecodeCp932(bytes, text, &bad)) return true;
    bad = std::clamp<qsizetype>(bad, 0, bytes.size() - 1);
    why = QStringLiteral("CP932（Shift-JIS）として読めない文字があります（0x%1）。")
              .arg(QString::fromLatin1(bytes.mid(bad, 2).toHex().toUpper()));
    return false;
}

/// Whether ASCII bytes hold anything but blanks, commas and quotes, of which a blank line is made.
bool HasText(const QByteArray& bytes)
{
    for (const char c : bytes)
        if (c != ' ' && c != '\t' && c != ',' && c != '"' && c != '\v' && c != '\f') return true;
    return false;
}

bool IsAsciiDigit(QChar c) { return c >= u'0' && c <= u'9'; }

/// Whether the leading-number rule finds a number at the start of the text (rather than
/// reading 0 for want of one).
bool HasLeadingNumber(const QString& text)
{
    const QString t = text.normalized(QString::NormalizationForm_KC);
    qsizetype i = 0;
    const qsizetype n = t.size();
    while (i < n && (t[i] == u' ' || t[i] == u'\t')) ++i;
    if (i < n && (t[i] == u'+' || t[i] == u'-')) ++i;
    if (i < n && IsAsciiDigit(t[i])) return true;
    return i + 1 < n && t[i] == u'.' && IsAsciiDigit(t[i + 1]);
}

/// A field by the leading-number rule; false when the rule finds no number (the value is then 0).
/// A field that is nothing but a plain number, the common case, is read directly: the rule gives
/// it the same value, only by a longer way.
bool ReadNumber(const QString& field, double& value)
{
    if (ParseCoordinate(field, value)) return true;
    value = LeadingNumber(field);
    return HasLeadingNumber(field);
}

double Number(const QString& field)
{
    double v = 0;
    ReadNumber(field, v);
    return v;
}

/// The kind of a line as far as its fields tell (Corner when it is to be read on), its fields,
/// and the reason when it is Bad.
TableLineKind SplitLine(const QByteArray& bytes, TextEncoding encoding, bool first,
                        std::vector<QString>& f, QString& why)
{
    QString text;
    if (!Decode(bytes, encoding, text, why) || !SplitCsv(text, f, why)) return TableLineKind::Bad;
    if (std::all_of(f.begin(), f.end(), [](const QString& s) { return s.isEmpty(); })) return TableLineKind::Blank;
    if (first && (f.size() < 2 || !HasLeadingNumber(f[1]))) return TableLineKind::Header;
    return TableLineKind::Corner;
}

/// Counts, as the lines go by, the lines `CornerTable::next` will give when the table is read
/// in one encoding: what is blank or the header depends on how its bytes decode.
class CornerCount {
public:
    explicit CornerCount(TextEncoding encoding) : m_encoding(encoding) {}
    void add(const QByteArray& bytes, bool tooLong)
    {
        // After the first line, an ASCII line holding anything but blanks, commas and quotes
        // cannot be blank: the common case is settled without splitting it.
        if (!tooLong && (!m_seenFirst || !IsAscii(bytes) || !HasText(bytes))) {
            const TableLineKind kind = SplitLine(bytes, m_encoding, !m_seenFirst, m_fields, m_why);
            if (kind == TableLineKind::Blank) return;
            m_seenFirst = true;
            if (kind == TableLineKind::Header) return;  // only the first line can be
        }
        m_seenFirst = true;
        ++m_corners;
    }
    int corners() const { return m_corners; }

private:
    TextEncoding m_encoding;
    bool m_seenFirst = false;
    int m_corners = 0;
    std::vector<QString> m_fields;
    QString m_why;
};

}  // namespace

TableLine ReadTableLine(const QByteArray& bytes, TextEncoding encoding, int line, bool first)
{
    TableLine out;
    out.corner.line = line;
    auto bad = [&](const QString& why) {
        out.kind = TableLineKind::Bad;
        out.error = why;
        return out;
    };
    std::vector<QString> f;
    f.reserve(16);
    QString why;
    out.kind = SplitLine(bytes, encoding, first, f, why);
    if (out.kind == TableLineKind::Bad) return bad(why);
    if (out.kind != TableLineKind::Corner) return out;
    if (f.size() < kRequiredColumns)
        return bad(QStringLiteral("項目が %1 個しかありません。IP番号, BP X, BP Y, IP X, IP Y, EP X, EP Y, "
                                  "半径, 内幅員, 外幅員, 計算方式 の %2 項目が要ります。")
                       .arg(f.size())
                       .arg(kRequiredColumns));
    double type = 0;
    if (!ReadNumber(f[10], type) || !(type == 0 || type == 1 || type == 2 || type == 3))
        return bad(QStringLiteral("計算方式「%1」は 0（平行）、1（千鳥）、2（外接）、3（等曲率半径）のどれでもありません。")
                       .arg(f[10].left(20)));
    TableCorner& c = out.corner;
    c.ipNumber = f[0];
    double* const numbers[] = {&c.bpX, &c.bpY, &c.ipX, &c.ipY, &c.epX, &c.epY, &c.radius, &c.inner, &c.outer};
    for (size_t k = 0; k < std::size(numbers); ++k) *numbers[k] = Number(f[k + 1]);
    c.type = static_cast<int>(type);
    if (f.size() > 11) c.divisions = Number(f[11]);
    if (f.size() > 12) c.bpName = f[12];
    if (f.size() > 13) c.ipName = f[13];
    if (f.size() > 14) c.epName = f[14];
    out.kind = TableLineKind::Corner;
    return out;
}

bool ByteLines::fill()
{
    if (m_end) return false;
    if (m_at > 0) {
        m_buffer.remove(0, m_at);
        m_at = 0;
    }
    // A file says how much is left: a small table takes a small buffer.
    const qint64 want = m_device.isSequential() ? kChunk : std::clamp<qint64>(m_device.bytesAvailable(), 1, kChunk);
    const qsizetype had = m_buffer.size();
    m_buffer.resize(had + want);
    const qint64 got = m_device.read(m_buffer.data() + had, want);
    m_buffer.resize(had + std::max<qint64>(got, 0));
    if (got < 0) m_error = QStringLiteral("読み込めません（%1）。").arg(m_device.errorString());
    if (got <= 0) m_end = true;
    return got > 0;
}

bool ByteLines::next(QByteArray& line, bool& tooLong)
{
    tooLong = false;
    qsizetype scanned = 0;  // bytes of the pending line already searched for its end
    for (;;) {
        const char* b = m_buffer.constData();
        const qsizetype n = m_buffer.size();
        qsizetype i = m_at + scanned;
        while (i < n && b[i] != '\n' && b[i] != '\r') ++i;
        // A CR as the last byte read may be the first half of CR LF: read on before deciding.
        if (i < n && !(b[i] == '\r' && i + 1 == n && !m_end)) {
            tooLong = tooLong || i - m_at > kMaxTableLineBytes;
            line = tooLong ? QByteArray() : m_buffer.sliced(m_at, i - m_at);
            qsizetype after = i + 1;
            if (b[i] == '\r' && after < n && b[after] == '\n') ++after;
            m_at = after;
            ++m_number;
            return true;
        }
        scanned = i - m_at;
        if (scanned > kMaxTableLineBytes) {
            // Too long to be a corner: what was read of it is dropped, the rest skipped.
            tooLong = true;
            m_buffer.remove(m_at, scanned);
            scanned = 0;
        }
        if (!fill()) {
            if (i < n) continue;  // the final CR ends the last line
            if (m_at >= m_buffer.size() && !tooLong) return false;
            tooLong = tooLong || m_buffer.size() - m_at > kMaxTableLineBytes;
            line = tooLong ? QByteArray() : m_buffer.sliced(m_at);
            m_at = m_buffer.size();
            ++m_number;
            return true;
        }
    }
}

QString CornerTable::open(const QString& path)
{
    m_path = path;
    const QString label = QStringLiteral("隅切り表 %1: ").arg(QDir::toNativeSeparators(path));
    // Non-blocking: a pipe without a writer must not hang the program; only a regular file is read.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return label + QStringLiteral("開けません（%1）。").arg(ReadErrorText(errno));
    struct stat st {};
    QString why;
    if (::fstat(fd, &st) != 0)
        why = QStringLiteral("開けません（%1）。").arg(ReadErrorText(errno));
    else if (S_ISDIR(st.st_mode))
        why = QStringLiteral("フォルダです。ファイルを選んでください。");
    else if (!S_ISREG(st.st_mode))
        why = QStringLiteral("通常のファイルではありません。");
    else if (!m_file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        why = QStringLiteral("開けません（%1）。").arg(m_file.errorString());
    if (!why.isEmpty()) {
        if (!m_file.isOpen()) ::close(fd);
        return label + why;
    }

    // Read through once: UTF-8 when every line is (or after a byte-order mark), otherwise CP932,
    // as point files are read; and how many lines hold corners, for the progress shown.
    // The count is kept for either encoding until the last line decides between them.
    bool utf8 = true;
    CornerCount asUtf8(TextEncoding::Utf8), asCp932(TextEncoding::Cp932);
    QByteArray bytes;
    bool tooLong = false;
    rewind();
    while (nextBytes(bytes, tooLong)) {
        if (utf8 && !tooLong && !IsAscii(bytes) && InvalidUtf8At(bytes) >= 0) utf8 = false;
        if (utf8 || m_bom) asUtf8.add(bytes, tooLong);
        if (!m_bom) asCp932.add(bytes, tooLong);
    }
    if (!m_lines->error().isEmpty()) return label + m_lines->error();
    m_encoding = utf8 || m_bom ? TextEncoding::Utf8 : TextEncoding::Cp932;
    m_cornerLines = m_encoding == TextEncoding::Utf8 ? asUtf8.corners() : asCp932.corners();
    if (m_cornerLines == 0) return label + QStringLiteral("隅切りの行がありません。");
    if (!rewind()) return label + QStringLiteral("読み直せません（%1）。").arg(m_file.errorString());
    return {};
}

bool CornerTable::rewind()
{
    m_lines = std::make_unique<ByteLines>(m_file);
    m_seenFirst = false;
    return m_file.seek(0);
}

bool CornerTable::nextBytes(QByteArray& bytes, bool& tooLong)
{
    if (!m_lines->next(bytes, tooLong)) return false;
    if (m_lines->number() == 1 && bytes.startsWith(kBom)) {
        bytes.remove(0, kBom.size());
        m_bom = true;
    }
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
            out = TableLine{TableLineKind::Bad, {}, QStringLiteral("行が長すぎます（%1 KB まで）。").arg(kMaxTableLineBytes / 1024)};
            out.corner.line = line;
            return true;
        }
        out = ReadTableLine(bytes, m_encoding, line, !m_seenFirst);
        if (out.kind == TableLineKind::Blank) continue;
        m_seenFirst = true;
        if (out.kind == TableLineKind::Header) continue;
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
