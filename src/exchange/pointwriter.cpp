// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/pointwriter.h"

#include "calc/numeric.h"
#include "calc/settingsfile.h"

#include <cmath>

namespace tovanel {

namespace {

const QByteArray kLineEnd("\r\n");

/// `text` in code page 932, or why it cannot be: `what` names it in the message.
QString Encode(const QString& what, const QString& text, PointFileKind kind, QByteArray& out)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return what + QStringLiteral("「%1」に改行などの制御文字があります。").arg(text.simplified());
        if (kind == PointFileKind::Sima && c == u',')
            return what + QStringLiteral("「%1」にカンマ（,）があります。SIMA ファイルには書けません。").arg(text);
    }
    QString bad;
    if (!EncodeCp932(text, out, &bad))
        return what + QStringLiteral("「%1」の「%2」は CP932（Shift-JIS）で書けない文字です。").arg(text, bad);
    return {};
}

/// X and Y of a point as the block-point sheet prints them, or why they cannot be written.
QString Coordinates(const ExportPoint& p, QByteArray& out)
{
    if (!std::isfinite(p.x) || !std::isfinite(p.y))
        return QStringLiteral("点「%1」の座標が数値になりません。").arg(p.name);
    out = (FixedText(p.x, 3) + QLatin1Char(',') + FixedText(p.y, 3)).toLatin1();
    return {};
}

}  // namespace

QString CsvField(const QString& name)
{
    const bool quote = name.contains(u',') || name.contains(u'"') ||
                       (!name.isEmpty() && (name.front().isSpace() || name.back().isSpace()));
    if (!quote) return name;
    QString q = name;
    q.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

QString PointNameProblem(const QString& name, PointFileKind kind)
{
    QByteArray unused;
    return Encode(QStringLiteral("点名"), name, kind, unused);
}

QString PointFileStream::head(const QString& site, QByteArray& out)
{
    QByteArray enc;
    if (m_kind == PointFileKind::Sima) {
        if (QString why = Encode(QStringLiteral("現場名"), site, PointFileKind::Sima, enc); !why.isEmpty())
            return why;
        out += "G00,01," + enc + "," + kLineEnd;
        EncodeCp932(QStringLiteral("Z00,座標ﾃﾞｰﾀ,"), enc);
        out += enc + kLineEnd;
        out += "A00," + kLineEnd;
    } else {
        EncodeCp932(QStringLiteral("点番号,点名,X,Y"), enc);
        out += enc + kLineEnd;
    }
    return {};
}

QString PointFileStream::points(const std::vector<ExportPoint>& points, QByteArray& out)
{
    QByteArray bytes;
    QByteArray enc;
    QByteArray xy;
    int number = m_number;
    for (const ExportPoint& p : points) {
        if (QString why = Encode(QStringLiteral("点名"), p.name, m_kind, enc); !why.isEmpty()) return why;
        if (QString why = Coordinates(p, xy); !why.isEmpty()) return why;
        if (m_kind == PointFileKind::Sima) {
            bytes += "A01," + QByteArray::number(++number) + ',' + enc + ',' + xy + ",," + kLineEnd;
        } else {
            EncodeCp932(CsvField(p.name), enc);
            bytes += QByteArray::number(++number) + ',' + enc + ',' + xy + kLineEnd;
        }
    }
    m_number = number;
    out += bytes;
    return {};
}

QByteArray PointFileStream::tail() const
{
    return m_kind == PointFileKind::Sima ? "A99," + kLineEnd : QByteArray();
}

QString SimaFile(const std::vector<ExportPoint>& points, const QString& site, QByteArray& out)
{
    PointFileStream file(PointFileKind::Sima);
    QByteArray bytes;
    if (QString why = file.head(site, bytes); !why.isEmpty()) return why;
    if (QString why = file.points(points, bytes); !why.isEmpty()) return why;
    out = bytes + file.tail();
    return {};
}

QString CsvFile(const std::vector<ExportPoint>& points, QByteArray& out)
{
    PointFileStream file(PointFileKind::Csv);
    QByteArray bytes;
    if (QString why = file.head({}, bytes); !why.isEmpty()) return why;
    if (QString why = file.points(points, bytes); !why.isEmpty()) return why;
    out = bytes + file.tail();
    return {};
}

}  // namespace tovanel
