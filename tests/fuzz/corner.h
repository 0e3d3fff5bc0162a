// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A corner as text, one "key value" line per box of the main window and entry of the settings,
// so that seeds read like real corners and a reproducer says what it holds:
//   bp 0,0 / ip 100,100 / ep 0,200   the three points, X,Y
//   r 100 / wi 3 / wo 3 / n 8        radius, inner and outer width, division count box
//   m 0.5 / lp 20 / l1 0.01          the limits (settings lines 3 to 5)
//   type 1 / ipno 12 / edition 2     calculation type, IP number box, CAD edition (line 15)
//   c C / i I / o O                  point-name prefixes (lines 11 to 13)
//   paper 9 / pdf                    paper code; write the document as PDF too
// Numbers go through the leading-number rule as the boxes' texts do. In texts, \t \r and \n stand
// for TAB, CR and LF, which a paste can bring into a box. Keys left out keep the shipped settings,
// an empty box, or A4.

#include "calc/calcstate.h"
#include "calc/numeric.h"
#include "calc/settingsfile.h"

#include <QByteArray>
#include <QStringList>
#include <cmath>
#include <map>

namespace tovanel::fuzz {

struct Corner {
    CalcState s;
    int paper = 9;
    bool pdf = false;
};

inline QString Unescape(QString t)
{
    return t.replace(QLatin1String("\\t"), QLatin1String("\t"))
        .replace(QLatin1String("\\r"), QLatin1String("\r"))
        .replace(QLatin1String("\\n"), QLatin1String("\n"));
}

inline Corner ReadCorner(const QByteArray& bytes)
{
    std::map<QString, QString> v;
    for (const QString& line : QString::fromUtf8(bytes).split(QLatin1Char('\n'))) {
        const qsizetype blank = line.indexOf(QLatin1Char(' '));
        v[line.left(blank)] = blank < 0 ? QString() : line.mid(blank + 1);
    }
    auto number = [&](const char* key) { return LeadingNumber(v[QString::fromLatin1(key)]); };
    auto point = [&](const char* key, int row, CalcState& s) {
        const QString xy = v[QString::fromLatin1(key)];
        const qsizetype comma = xy.indexOf(QLatin1Char(','));
        s.CurveIn[row][kX] = LeadingNumber(xy.left(comma));
        s.CurveIn[row][kY] = comma < 0 ? 0 : LeadingNumber(xy.mid(comma + 1));
    };

    Corner c;
    CalcState& s = c.s;
    InitConstants(s);
    DefaultSettings(s);
    for (const auto& [key, entry] : {std::pair{"m", 3}, {"lp", 4}, {"l1", 5}})
        if (v.count(QString::fromLatin1(key))) s.IniNum[entry] = number(key);
    for (const auto& [key, entry] : {std::pair{"c", 1}, {"i", 2}, {"o", 3}, {"edition", 5}})
        if (v.count(QString::fromLatin1(key))) s.IniStr[entry] = Unescape(v[QString::fromLatin1(key)]);
    point("bp", kBP, s);
    point("ip", kIP, s);
    point("ep", kEP, s);
    s.CurveIn[kIP][kRadius] = number("r");
    s.CurveIn[kIP][kWidthIn] = number("wi");
    s.CurveIn[kIP][kWidthOut] = number("wo");
    s.DivCount = number("n");
    const QString ipNo = Unescape(v[QStringLiteral("ipno")]);
    s.CurveIn[kIP][kNumber] = LeadingNumber(ipNo);
    s.IPNo = [ipNo] { return ipNo; };
    // The type list offers positions −1..3; anything else is taken as "none selected".
    const double type = v.count(QStringLiteral("type")) ? std::nearbyint(number("type")) : 0;
    s.CalcType = static_cast<int16_t>(type >= -1 && type <= 3 ? type : -1);
    s.CalcTypeName = QStringList{"平行", "千鳥", "外接", "等曲率半径"}.value(s.CalcType);
    const double paper = number("paper");
    if (v.count(QStringLiteral("paper")) && paper >= 0 && paper <= 300) c.paper = static_cast<int>(paper);
    c.pdf = v.count(QStringLiteral("pdf")) > 0;
    return c;
}

/// True when the text holds what FixedText writes for a value that is not finite.
inline bool ShowsNonFinite(const QString& t) { return t.contains(QLatin1String("inf")) || t.contains(QLatin1String("nan")); }

}  // namespace tovanel::fuzz
