// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/pointfile.h"

#include "calc/numeric.h"

#include <QDir>
#include <QHash>
#include <array>

namespace tovanel {

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

/// Fills the point from its four fields (the name and number as they are given); false with the reason in `r` when X or Y is no number.
bool TakePoint(QStringView number, QStringView name, QStringView x, QStringView y, int line,
               PointFileRead& r)
{
    FilePoint p;
    const std::optional<double> xv = StrictNumber(x, &p.xText);
    if (!xv) {
        r = Failed(QStringLiteral("X が数値ではありません") + QuotedCell(x.trimmed()) + QStringLiteral("。"), line, r.format);
        return false;
    }
    const std::optional<double> yv = StrictNumber(y, &p.yText);
    if (!yv) {
        r = Failed(QStringLiteral("Y が数値ではありません") + QuotedCell(y.trimmed()) + QStringLiteral("。"), line, r.format);
        return false;
    }
    p.x = *xv;
    p.y = *yv;
    p.number = number.toString();
    p.name = name.toString();
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

/// Where a CSV point file's number, name, X and Y stand (−1: not in the file).
enum CsvColumn { kNumber, kName, kX, kY, kCsvColumns };
using CsvLayout = std::array<int, kCsvColumns>;

/// The column a header cell names, or −1.
int HeaderColumn(const QString& cell)
{
    static const QHash<QString, int> names = {
        {QStringLiteral("点番号"), kNumber}, {QStringLiteral("番号"), kNumber}, {QStringLiteral("点no"), kNumber},
        {QStringLiteral("点no."), kNumber}, {QStringLiteral("no"), kNumber}, {QStringLiteral("no."), kNumber},
        {QStringLiteral("number"), kNumber}, {QStringLiteral("点名"), kName}, {QStringLiteral("名称"), kName},
        {QStringLiteral("名前"), kName}, {QStringLiteral("name"), kName}, {QStringLiteral("x"), kX},
        {QStringLiteral("x座標"), kX}, {QStringLiteral("y"), kY}, {QStringLiteral("y座標"), kY},
    };
    QString key = cell.normalized(QString::NormalizationForm_KC).toCaseFolded();
    key.remove(u' ');
    return names.value(key, -1);
}

/// The layout a header line gives, or why it gives none; `named` says whether it names any column.
QString HeaderLayout(const std::vector<QString>& f, CsvLayout& layout, bool& named)
{
    layout.fill(-1);
    named = false;
    for (size_t k = 0; k < f.size(); ++k) {
        const int column = HeaderColumn(f[k]);
        if (column < 0) continue;
        named = true;
        if (layout[static_cast<size_t>(column)] >= 0)
            return QStringLiteral("見出しに「%1」の列が二つあります。").arg(f[k]);
        layout[static_cast<size_t>(column)] = static_cast<int>(k);
    }
    if (layout[kX] < 0 || layout[kY] < 0) return QStringLiteral("見出しに X と Y の列がありません。");
    return {};
}

/// The CP932 form of a character code page 932 gives back in another form, else the character.
char16_t Cp932Form(char16_t c)
{
    switch (c) {
    case u'〜': return u'～';
    case u'−': return u'－';
    case u'‖': return u'∥';
    case u'¢': return u'￠';
    case u'£': return u'￡';
    case u'¬': return u'￢';
    case u'—': return u'―';
    default: return c;
    }
}

QString Cp932Forms(QStringView text)
{
    QString out = text.toString();
    for (QChar& c : out) c = QChar(Cp932Form(c.unicode()));
    return out;
}

}  // namespace

PointFileRead ReadSima(QStringView text)
{
    PointFileRead r;
    r.format = PointFormat::Sima;
    TextLines lines(text);
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
    TextLines lines(text);
    QStringView line;
    std::vector<QString> f;
    QString why;
    QChar separator;  // null until the first line that is not blank
    CsvLayout layout = {kNumber, kName, kX, kY};
    while (lines.next(line)) {
        if (line.trimmed().isEmpty()) continue;
        const bool first = separator.isNull();
        if (first) separator = FieldSeparator(line);
        if (!SplitFields(line, separator, f, why)) return Failed(why, lines.number(), r.format);
        if (std::all_of(f.begin(), f.end(), [](const QString& s) { return s.isEmpty(); })) {
            if (first) separator = {};
            continue;
        }
        if (first && !(f.size() >= 4 && StrictNumber(f[kX]) && StrictNumber(f[kY]))) {
            // The header: the columns it names say where the values stand.
            bool named = false;
            const QString problem = HeaderLayout(f, layout, named);
            if (problem.isEmpty()) continue;
            if (named) return Failed(problem, lines.number(), r.format);
            if (f.size() < 4)
                return Failed(QStringLiteral("SIMA 座標ファイル（A01 レコード）でも CSV 座標ファイル"
                                             "（点番号, 点名, X, Y）でもありません。"),
                              lines.number());
            // Neither a header nor a row: say what is wrong with it as a row.
            TakePoint(f[kNumber], f[kName], f[kX], f[kY], lines.number(), r);
            r.error.prepend(QStringLiteral("見出し（点番号, 点名, X, Y）の行でも座標の行でもありません。"));
            return r;
        }
        if (f.size() <= static_cast<size_t>(*std::max_element(layout.begin(), layout.end())))
            return Failed(QStringLiteral("項目が足りません（点番号, 点名, X, Y が要ります）。"), lines.number(), r.format);
        auto at = [&](CsvColumn c) { return layout[c] < 0 ? QStringView() : QStringView(f[static_cast<size_t>(layout[c])]); };
        if (!TakePoint(at(kNumber), at(kName), at(kX), at(kY), lines.number(), r)) return r;
    }
    if (r.points.empty()) return Failed(QStringLiteral("座標の行がありません。"), 0, r.format);
    return r;
}

PointFileRead ReadPointFile(const QByteArray& bytes)
{
    if (bytes.size() > kMaxPointFileBytes) return Failed(TooLargeText(kMaxPointFileBytes), 0);
    QString text;
    QString why;
    int line = 0;
    if (!DecodeText(bytes, text, why, line)) return Failed(why, line);
    TextLines lines(text);
    QStringView first;
    while (lines.next(first))
        if (!first.trimmed().isEmpty()) return IsSimaRecord(first) ? ReadSima(text) : ReadCsv(text);
    return Failed(QStringLiteral("ファイルが空です。"), 0);
}

PointFileRead LoadPointFile(const QString& path)
{
    InputFile file;
    QByteArray bytes;
    QString why = file.open(path, kMaxPointFileBytes);
    // One byte past the limit: a file that grew since it was opened is still refused as too large.
    if (why.isEmpty()) why = file.read(bytes, kMaxPointFileBytes + 1);
    if (!why.isEmpty()) return Failed(why, 0);
    return ReadPointFile(bytes);
}

QString PointFileMessage(const QString& path, const PointFileRead& read)
{
    QString where = QStringLiteral("座標ファイル ") + QDir::toNativeSeparators(path);
    if (read.line > 0) where += QStringLiteral(" の %1 行目").arg(read.line);
    return where + QStringLiteral(": ") + read.error;
}

bool SamePointName(QStringView a, QStringView b)
{
    if (a.size() != b.size()) return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (Cp932Form(a[i].unicode()) != Cp932Form(b[i].unicode())) return false;
    return true;
}

QString PointSearchKey(QStringView text)
{
    return Cp932Forms(text).normalized(QString::NormalizationForm_KC).toCaseFolded();
}

QString FindPoint(const QString& file, const PointFileRead& read, const QString& name, const FilePoint*& found)
{
    found = nullptr;
    QStringList lines;
    for (const FilePoint& p : read.points) {
        if (!SamePointName(p.name, name)) continue;
        if (!found) found = &p;
        lines << QString::number(p.line);
    }
    if (lines.isEmpty()) return QStringLiteral("座標ファイル %1 に点名「%2」がありません。").arg(file, name);
    if (lines.size() > 1)
        return QStringLiteral("座標ファイル %1 に点名「%2」が %3 点あります（%4 行目）。どれを使うか決められません。")
            .arg(file, name)
            .arg(lines.size())
            .arg(lines.mid(0, 5).join(QStringLiteral(", ")) + (lines.size() > 5 ? QStringLiteral(" …") : QString()));
    return {};
}

}  // namespace tovanel
