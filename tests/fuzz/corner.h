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

#include "calc/corner.h"
#include "calc/settings.h"
#include "calc/numeric.h"
#include "calc/settingsfile.h"

#include <QByteArray>
#include <QStringList>
#include <cmath>
#include <map>

namespace tovanel::fuzz {

struct Corner {
    CornerInput in;
    Settings st;
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
    auto point = [&](const char* key, double& x, double& y) {
        const QString xy = v[QString::fromLatin1(key)];
        const qsizetype comma = xy.indexOf(QLatin1Char(','));
        x = LeadingNumber(xy.left(comma));
        y = comma < 0 ? 0 : LeadingNumber(xy.mid(comma + 1));
    };

    Corner c;
    CornerInput& s = c.in;
    c.st = DefaultSettings();
    for (const auto& [key, entry] : {std::pair{"m", NumberEntry::LimitM}, {"lp", NumberEntry::LimitLP}, {"l1", NumberEntry::LimitL1}})
        if (v.count(QString::fromLatin1(key))) c.st.setNumber(entry, number(key));
    for (const auto& [key, entry] : {std::pair{"c", TextEntry::CentrePrefix}, {"i", TextEntry::InnerPrefix},
                                     {"o", TextEntry::OuterPrefix}, {"edition", TextEntry::CadEdition}})
        if (v.count(QString::fromLatin1(key))) c.st.setText(entry, Unescape(v[QString::fromLatin1(key)]));
    point("bp", s.BpX, s.BpY);
    point("ip", s.IpX, s.IpY);
    point("ep", s.EpX, s.EpY);
    s.Radius = number("r");
    s.WidthIn = number("wi");
    s.WidthOut = number("wo");
    s.DivCount = number("n");
    s.IPNo = Unescape(v[QStringLiteral("ipno")]);
    // The type list offers positions −1..3; anything else is taken as "none selected".
    const double type = v.count(QStringLiteral("type")) ? std::nearbyint(number("type")) : 0;
    s.CalcType = static_cast<int16_t>(type >= -1 && type <= 3 ? type : -1);
    const double paper = number("paper");
    if (v.count(QStringLiteral("paper")) && paper >= 0 && paper <= 300) c.paper = static_cast<int>(paper);
    c.pdf = v.count(QStringLiteral("pdf")) > 0;
    return c;
}

/// True when the text holds what FixedText writes for a value that is not finite.
inline bool ShowsNonFinite(const QString& t) { return t.contains(QLatin1String("inf")) || t.contains(QLatin1String("nan")); }

}  // namespace tovanel::fuzz
