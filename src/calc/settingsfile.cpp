// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/settingsfile.h"

#include "calc/atomicfile.h"
#include "calc/settings.h"
#include "calc/numeric.h"
#include "calc/textfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>
#include <charconv>
#include <string>
#include <string_view>
#include <cmath>
#include <cerrno>
#include <iconv.h>

namespace tovanel {

namespace {

constexpr int kLineCount = 2 * kIniCount;

// The longest line a save can write: the longest text a box takes (32767 characters), two bytes a
// character in CP932, its quotes and CR LF. A file is read up to twenty of them and no further, so
// a huge file or a device such as /dev/zero cannot stall the start or exhaust the memory.
constexpr qint64 kMaxLineBytes = 2 * 32767 + 4;
constexpr qint64 kMaxSettingsBytes = kLineCount * kMaxLineBytes;

// The values of the file shipped with the program, line by line.
const char* const kDefaultLines[kLineCount] = {
    "4", "3", "0.05", "10", "0.01", "0", "0", "0", "0", "0",
    "C", "I", "O", "0", "2", "", "", "", "", "",
};

// Runs iconv over all of `in`; false (with the offset of the failing input byte) when a
// character has no form in the target encoding.
bool Convert(const char* to, const char* from, const QByteArray& in, QByteArray& out,
             qsizetype* badOffset)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        if (badOffset) *badOffset = 0;
        return false;
    }
    out.clear();
    QByteArray src = in;
    char* inPtr = src.data();
    size_t inLeft = static_cast<size_t>(src.size());
    char buf[4096];
    bool ok = true;
    while (inLeft > 0) {
        char* outPtr = buf;
        size_t outLeft = sizeof buf;
        const size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        out.append(buf, static_cast<qsizetype>(sizeof buf - outLeft));
        if (r == static_cast<size_t>(-1) && errno != E2BIG) {
            ok = false;
            if (badOffset) *badOffset = inPtr - src.data();
            break;
        }
    }
    iconv_close(cd);
    return ok;
}

QString FileLabel(const QString& path) { return QDir::toNativeSeparators(path); }

// A number line: plain decimal text (an exponent is accepted), nothing else.
bool ParseNumber(const QString& line, double& v)
{
    const QByteArray t = line.trimmed().toLatin1();
    if (t.isEmpty()) return false;
    const char* end = t.constData() + t.size();
    double parsed = 0;
    auto [p, ec] = std::from_chars(t.constData(), end, parsed);
    // "inf" and "nan" are no decimal numbers: a NaN limit would silently switch off its check.
    if (ec != std::errc() || p != end || !std::isfinite(parsed)) return false;
    v = parsed;
    return true;
}

bool ParseQuoted(const QString& line, QString& v)
{
    const QString t = line.trimmed();
    if (t.size() < 2 || !t.startsWith(QLatin1Char('"')) || !t.endsWith(QLatin1Char('"')))
        return false;
    // A TAB or a line end inside a value would become an extra field or line once written.
    if (HasFieldBreak(t)) return false;
    v = t.mid(1, t.size() - 2);
    return true;
}

// The remembered calculation type is a list position, −1 for none.
bool ValidType(const QString& text)
{
    double v = 0;
    if (!ParseNumber(text, v)) return false;
    const double whole = std::nearbyint(v);  // half to even
    return whole >= -1 && whole <= 3;
}

// A number line in plain decimal notation, as the file has always been written: the shortest
// digits that read back to the same double, with the exponent written out (1e-07 as 0.0000001,
// 1e+06 as 1000000, 1e300 as 1 and 300 zeros).
QString NumberLine(double v)
{
    char buf[64];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific);
    if (ec != std::errc()) return QStringLiteral("0");
    const std::string_view t(buf, static_cast<size_t>(end - buf));
    const size_t e = t.find('e');
    if (e == std::string_view::npos) return QString::fromLatin1(t.data(), static_cast<qsizetype>(t.size()));  // inf, nan
    const bool negative = t.front() == '-';
    std::string digits;
    for (char ch : t.substr(negative ? 1 : 0, e - (negative ? 1 : 0)))
        if (ch != '.') digits += ch;
    int exp = 0;
    std::from_chars(t.data() + e + 1 + (t[e + 1] == '+'), t.data() + t.size(), exp);
    // The first digit stands for 10^exp: the point goes after exp + 1 digits.
    const long point = static_cast<long>(exp) + 1;
    std::string plain;
    if (point <= 0)
        plain = "0." + std::string(static_cast<size_t>(-point), '0') + digits;
    else if (static_cast<size_t>(point) >= digits.size())
        plain = digits + std::string(static_cast<size_t>(point) - digits.size(), '0');
    else
        plain = digits.substr(0, static_cast<size_t>(point)) + '.' + digits.substr(static_cast<size_t>(point));
    if (negative) plain.insert(plain.begin(), '-');
    return QString::fromLatin1(plain.data(), static_cast<qsizetype>(plain.size()));
}

}  // namespace

Settings DefaultSettings()
{
    Settings s;
    for (int i = 1; i <= kIniCount; ++i) {
        double v = 0;
        ParseNumber(QString::fromLatin1(kDefaultLines[i - 1]), v);
        s.setNumberLine(i, v);
        s.setTextLine(i, QString::fromLatin1(kDefaultLines[kIniCount + i - 1]));
    }
    return s;
}

bool EncodeCp932(const QString& text, QByteArray& out, QString* bad)
{
    const QByteArray utf8 = text.toUtf8();
    qsizetype at = 0;
    if (Convert("CP932", "UTF-8", utf8, out, &at)) return true;
    if (bad) {  // the whole character: both halves of a surrogate pair (an emoji, 𠮷)
        const QString rest = QString::fromUtf8(utf8.mid(at));
        *bad = rest.left(rest.size() > 1 && rest.at(0).isHighSurrogate() ? 2 : 1);
    }
    return false;
}

bool DecodeCp932(const QByteArray& bytes, QString& out, qsizetype* badOffset)
{
    QByteArray utf8;
    const bool ok = Convert("UTF-8", "CP932", bytes, utf8, badOffset);
    out = QString::fromUtf8(utf8);
    return ok;
}

QStringList ReadSettings(const QString& path, Settings& s)
{
    s = DefaultSettings();
    QStringList notices;
    // Read up to one byte past the limit: a settings file is a few hundred bytes.
    InputFile f;
    QByteArray bytes;
    QString why = f.open(path);
    if (why.isEmpty()) why = f.read(bytes, kMaxSettingsBytes + 1);
    if (!why.isEmpty()) {
        notices << QStringLiteral("設定ファイル %1 を読めません: %2既定の条件で始めます。").arg(FileLabel(path), why);
        return notices;
    }
    if (bytes.size() > kMaxSettingsBytes) {
        notices << QStringLiteral("設定ファイル %1 が大きすぎます。先頭の %2 バイトだけを読みます。")
                       .arg(FileLabel(path))
                       .arg(kMaxSettingsBytes);
        bytes.truncate(bytes.lastIndexOf('\n', kMaxSettingsBytes - 1) + 1);  // whole lines only
    }
    const QList<QByteArray> raw = LinesOf(bytes);
    if (raw.size() > kLineCount)
        notices << QStringLiteral("設定ファイル %1 の %2 行目以降は使われず、終了時に書き直されます。")
                       .arg(FileLabel(path))
                       .arg(kLineCount + 1);

    for (int line = 1; line <= kLineCount; ++line) {
        const bool isNumber = line <= kIniCount;
        const int idx = isNumber ? line : line - kIniCount;
        const QString fallback = QString::fromLatin1(kDefaultLines[line - 1]);
        if (line > raw.size()) {
            notices << QStringLiteral("設定ファイル %1 の %2 行目から後がありません。既定値を使います。")
                           .arg(FileLabel(path))
                           .arg(line);
            break;
        }
        const QByteArray& lineBytes = raw[line - 1];
        QString text;
        bool ok = DecodeCp932(lineBytes, text);
        double number = 0;
        QString quoted;
        if (ok) {
            if (isNumber)
                ok = ParseNumber(text, number);
            else
                ok = ParseQuoted(text, quoted) &&
                     (idx != static_cast<int>(TextEntry::RememberedType) || ValidType(quoted));
        }
        if (ok) {
            if (isNumber)
                s.setNumberLine(idx, number);
            else
                s.setTextLine(idx, quoted);
        } else {
            if (isNumber) {
                ParseNumber(fallback, number);
                s.setNumberLine(idx, number);
            } else {
                s.setTextLine(idx, fallback);
            }
            notices << QStringLiteral("設定ファイル %1 の %2 行目が正しくありません。既定値 %3 を使います。")
                           .arg(FileLabel(path))
                           .arg(line)
                           .arg(isNumber ? fallback : QLatin1Char('"') + fallback + QLatin1Char('"'));
        }
    }
    return notices;
}

QString WriteSettings(const QString& path, const Settings& s)
{
    QByteArray bytes;
    for (int line = 1; line <= kLineCount; ++line) {
        const bool isNumber = line <= kIniCount;
        const int idx = isNumber ? line : line - kIniCount;
        const QString text = isNumber ? NumberLine(s.numberLine(idx))
                                      : QLatin1Char('"') + s.textLine(idx) + QLatin1Char('"');
        if (HasFieldBreak(text))
            return QStringLiteral("設定ファイル %1 を保存できません: %2 行目の値にタブまたは改行が含まれています。")
                .arg(FileLabel(path))
                .arg(line);
        QByteArray enc;
        QString bad;
        if (!EncodeCp932(text, enc, &bad))
            return QStringLiteral("設定ファイル %1 を保存できません: %2 行目の「%3」はShift-JISで書けない文字です。")
                .arg(FileLabel(path))
                .arg(line)
                .arg(bad);
        bytes += enc + "\r\n";
    }
    if (bytes.size() > kMaxSettingsBytes)
        return QStringLiteral("設定ファイル %1 を保存できません: 内容が %2 バイトを超えます。")
            .arg(FileLabel(path))
            .arg(kMaxSettingsBytes);
    const QString reason = WriteFileAtomically(path, bytes);
    if (!reason.isEmpty())
        return QStringLiteral("設定ファイル %1 を保存できません: %2").arg(FileLabel(path), reason);
    return {};
}

QString SettingsPlace::current() const
{
    if (QFileInfo::exists(path)) return path;
    if (!seedFrom.isEmpty() && QFileInfo::exists(seedFrom)) return seedFrom;
    return {};
}

QString UserSettingsDir()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
}

SettingsPlace LocateSettings(const QString& appDir, const QString& userDir)
{
    const QString name = QString::fromLatin1(kSettingsFileName);
    const QString local = QDir(appDir).filePath(name);
    const QFileInfo file(local);
    if (file.exists() && QFileInfo(appDir).isWritable() && file.isWritable()) return {local, {}};
    // The installed layout: bin/ and share/tovanel/ under one prefix.
    const QString shipped =
        QDir::cleanPath(QDir(appDir).filePath(QStringLiteral(TOVANEL_DATA_FROM_BIN "/") + name));
    const QString seed = file.exists() ? local : QFileInfo::exists(shipped) ? shipped : QString();
    // No per-user folder to be had: read the seed where it stands (the save then reports why it fails).
    if (userDir.isEmpty()) return {seed.isEmpty() ? local : seed, {}};
    return {QDir(userDir).filePath(name), seed};
}

QString SettingsPath(const QString& appDir, const QString& userDir)
{
    const SettingsPlace place = LocateSettings(appDir, userDir);
    if (!place.seedFrom.isEmpty() && !QFileInfo::exists(place.path)) {
        QFile seed(place.seedFrom);
        // A failure leaves no file: the start reports it cannot read one and goes on with the
        // defaults, and the save at exit names the reason.
        if (QDir().mkpath(QFileInfo(place.path).path()) && seed.open(QIODevice::ReadOnly))
            WriteFileAtomically(place.path, seed.readAll());
    }
    return place.path;
}

}  // namespace tovanel
