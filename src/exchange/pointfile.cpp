// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/pointfile.h"

#include "calc/atomicfile.h"
#include "calc/settingsfile.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tovanel {

namespace {

/// Walks text line by line; CR LF, LF and a lone CR each end a line.
class Lines {
public:
    explicit Lines(QStringView text) : m_text(text) {}
    bool next(QStringView& line)
    {
        if (m_at >= m_text.size()) return false;
        qsizetype end = m_at;
        while (end < m_text.size() && m_text[end] != u'\n' && m_text[end] != u'\r') ++end;
        line = m_text.sliced(m_at, end - m_at);
        m_at = end;
        if (m_at < m_text.size() && m_text[m_at++] == u'\r' && m_at < m_text.size() &&
            m_text[m_at] == u'\n')
            ++m_at;
        ++m_number;
        return true;
    }
    int number() const { return m_number; }

private:
    QStringView m_text;
    qsizetype m_at = 0;
    int m_number = 0;
};

/// Line (from 1) of the byte at `offset`, counting line ends as Lines does.
int LineOfOffset(const QByteArray& bytes, qsizetype offset)
{
    int line = 1;
    for (qsizetype i = 0; i < offset && i < bytes.size(); ++i) {
        if (bytes[i] == '\n') {
            ++line;
        } else if (bytes[i] == '\r') {
            ++line;
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        }
    }
    return line;
}

}  // namespace

qsizetype InvalidUtf8At(const QByteArray& b)
{
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

namespace {

bool IsDigit(QChar c) { return c >= u'0' && c <= u'9'; }

PointFileRead Failed(const QString& why, int line, PointFormat format = PointFormat::Unknown)
{
    PointFileRead r;
    r.format = format;
    r.error = why;
    r.line = line;
    return r;
}

QString Quoted(QStringView text)
{
    // Long enough to recognise, short enough for one message line.
    constexpr qsizetype kShown = 40;
    const QString t = text.size() > kShown ? text.left(kShown).toString() + QStringLiteral("…")
                                           : text.toString();
    return QStringLiteral("「") + t + QStringLiteral("」");
}

/// Fills the point from its four fields (the name and number as they are given); false with the reason in `r` when X or Y is no number.
bool TakePoint(QStringView number, QStringView name, QStringView x, QStringView y, int line,
               PointFileRead& r)
{
    FilePoint p;
    if (!ParseCoordinate(x, p.x)) {
        r = Failed(QStringLiteral("X が数値ではありません") + Quoted(x.trimmed()) + QStringLiteral("。"),
                   line, r.format);
        return false;
    }
    if (!ParseCoordinate(y, p.y)) {
        r = Failed(QStringLiteral("Y が数値ではありません") + Quoted(y.trimmed()) + QStringLiteral("。"),
                   line, r.format);
        return false;
    }
    p.number = number.toString();
    p.name = name.toString();
    p.xText = x.trimmed().toString();
    p.yText = y.trimmed().toString();
    p.line = line;
    r.points.push_back(std::move(p));
    return true;
}

bool IsSimaRecord(QStringView line)
{
    const QStringView t = line.trimmed();
    return t.size() >= 4 && t[0] >= u'A' && t[0] <= u'Z' && IsDigit(t[1]) && IsDigit(t[2]) &&
           t[3] == u',';
}

}  // namespace

bool SplitCsv(QStringView line, std::vector<QString>& fields, QString& why)
{
    fields.clear();
    qsizetype i = 0;
    const qsizetype n = line.size();
    for (;;) {
        while (i < n && (line[i] == u' ' || line[i] == u'\t')) ++i;
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
            while (i < n && (line[i] == u' ' || line[i] == u'\t')) ++i;
            if (i < n && line[i] != u',') {
                why = QStringLiteral("引用符で囲んだ項目のあとに文字があります。");
                return false;
            }
        } else {
            const qsizetype start = i;
            while (i < n && line[i] != u',') ++i;
            field = line.sliced(start, i - start).trimmed().toString();
        }
        fields.push_back(std::move(field));
        if (i >= n) return true;
        ++i;  // the comma
    }
}

bool ParseCoordinate(QStringView text, double& value)
{
    const QStringView t = text.trimmed();
    qsizetype i = 0;
    const qsizetype n = t.size();
    if (i < n && (t[i] == u'+' || t[i] == u'-')) ++i;
    const qsizetype mantissa = i;
    qsizetype digits = 0;
    while (i < n && IsDigit(t[i])) ++i, ++digits;
    if (i < n && t[i] == u'.') {
        ++i;
        while (i < n && IsDigit(t[i])) ++i, ++digits;
    }
    if (digits == 0) return false;
    if (i < n && (t[i] == u'e' || t[i] == u'E')) {
        ++i;
        if (i < n && (t[i] == u'+' || t[i] == u'-')) ++i;
        qsizetype expDigits = 0;
        while (i < n && IsDigit(t[i])) ++i, ++expDigits;
        if (expDigits == 0) return false;
    }
    if (i != n) return false;
    // from_chars takes no '+'; the sign is put back afterwards. Every character is ASCII here.
    std::string ascii(static_cast<size_t>(n - mantissa), '\0');
    for (qsizetype k = mantissa; k < n; ++k) ascii[static_cast<size_t>(k - mantissa)] = static_cast<char>(t[k].unicode());
    double v = 0;
    const auto [end, ec] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), v);
    if (ec != std::errc() || end != ascii.data() + ascii.size() || !std::isfinite(v)) return false;
    value = (mantissa > 0 && t[0] == u'-') ? -v : v;
    return true;
}

bool DecodePointText(const QByteArray& bytes, QString& text, QString& error, int& line)
{
    static const QByteArray bom("\xEF\xBB\xBF");
    const bool hasBom = bytes.startsWith(bom);
    const QByteArray body = hasBom ? bytes.sliced(bom.size()) : bytes;
    qsizetype bad = InvalidUtf8At(body);
    if (bad < 0) {
        text = QString::fromUtf8(body);
        return true;
    }
    if (hasBom) {
        error = QStringLiteral("UTF-8 として読めない文字があります。");
    } else {
        if (DecodeCp932(body, text, &bad)) return true;
        bad = std::clamp<qsizetype>(bad, 0, body.size());
        error = QStringLiteral("CP932（Shift-JIS）でも UTF-8 でも読めない文字があります（0x%1）。")
                    .arg(QString::fromLatin1(body.sliced(bad, std::min<qsizetype>(2, body.size() - bad)).toHex().toUpper()));
    }
    text.clear();
    line = LineOfOffset(body, bad);
    return false;
}

PointFileRead ReadSima(QStringView text)
{
    PointFileRead r;
    r.format = PointFormat::Sima;
    Lines lines(text);
    QStringView line;
    while (lines.next(line)) {
        const QStringView t = line.trimmed();
        if (!t.startsWith(u"A01,")) continue;
        const QList<QStringView> f = t.split(u',');
        if (f.size() < 5)
            return Failed(QStringLiteral("A01 レコードの項目が足りません（点番号, 点名, X, Y が要ります）。"),
                          lines.number(), r.format);
        // Fields may be padded with blanks to a fixed width.
        if (!TakePoint(f[1].trimmed(), f[2].trimmed(), f[3], f[4], lines.number(), r)) return r;
    }
    if (r.points.empty()) return Failed(QStringLiteral("座標（A01 レコード）がありません。"), 0, r.format);
    return r;
}

PointFileRead ReadCsv(QStringView text)
{
    PointFileRead r;
    r.format = PointFormat::Csv;
    Lines lines(text);
    QStringView line;
    std::vector<QString> f;
    QString why;
    bool first = true;
    while (lines.next(line)) {
        if (line.trimmed().isEmpty()) continue;
        if (!SplitCsv(line, f, why)) return Failed(why, lines.number(), r.format);
        if (std::all_of(f.begin(), f.end(), [](const QString& s) { return s.isEmpty(); })) continue;
        if (f.size() < 4) {
            if (first)
                return Failed(QStringLiteral("SIMA 座標ファイル（A01 レコード）でも CSV 座標ファイル"
                                             "（点番号, 点名, X, Y）でもありません。"),
                              lines.number());
            return Failed(QStringLiteral("項目が足りません（点番号, 点名, X, Y が要ります）。"),
                          lines.number(), r.format);
        }
        double unused = 0;
        if (first && !(ParseCoordinate(f[2], unused) && ParseCoordinate(f[3], unused))) {
            first = false;  // the header
            continue;
        }
        first = false;
        if (!TakePoint(f[0], f[1], f[2], f[3], lines.number(), r)) return r;
    }
    if (r.points.empty()) return Failed(QStringLiteral("座標の行がありません。"), 0, r.format);
    return r;
}

PointFileRead ReadPointFile(const QByteArray& bytes)
{
    if (bytes.size() > kMaxPointFileBytes)
        return Failed(QStringLiteral("ファイルが大きすぎます（%1 MB まで）。").arg(kMaxPointFileBytes >> 20), 0);
    QString text;
    QString why;
    int line = 0;
    if (!DecodePointText(bytes, text, why, line)) return Failed(why, line);
    Lines lines(text);
    QStringView first;
    while (lines.next(first))
        if (!first.trimmed().isEmpty()) return IsSimaRecord(first) ? ReadSima(text) : ReadCsv(text);
    return Failed(QStringLiteral("ファイルが空です。"), 0);
}

PointFileRead LoadPointFile(const QString& path)
{
    const QByteArray local = QFile::encodeName(path);
    // Non-blocking open: a pipe without a writer must not hang the program.
    const int fd = ::open(local.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return Failed(QStringLiteral("開けません（%1）。").arg(ReadErrorText(errno)), 0);
    QByteArray bytes;
    QString why;
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        why = ReadErrorText(errno);
    } else if (!S_ISREG(st.st_mode)) {
        why = S_ISDIR(st.st_mode) ? QStringLiteral("フォルダです。ファイルを選んでください。")
                                  : QStringLiteral("通常のファイルではありません。");
    } else if (st.st_size > kMaxPointFileBytes) {
        why = QStringLiteral("ファイルが大きすぎます（%1 MB まで）。").arg(kMaxPointFileBytes >> 20);
    } else {
        bytes.resize(static_cast<qsizetype>(st.st_size));
        qsizetype got = 0;
        while (got < bytes.size()) {
            const ssize_t n = ::read(fd, bytes.data() + got, static_cast<size_t>(bytes.size() - got));
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                why = QStringLiteral("読み込めません（%1）。").arg(ReadErrorText(errno));
                break;
            }
            if (n == 0) break;  // shrank while being read
            got += n;
        }
        bytes.truncate(got);
    }
    ::close(fd);
    if (!why.isEmpty()) return Failed(why, 0);
    return ReadPointFile(bytes);
}

QString PointFileMessage(const QString& path, const PointFileRead& read)
{
    QString where = QStringLiteral("座標ファイル ") + QDir::toNativeSeparators(path);
    if (read.line > 0) where += QStringLiteral(" の %1 行目").arg(read.line);
    return where + QStringLiteral(": ") + read.error;
}

}  // namespace tovanel
