// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Composes a corner as the preview does (trial calculation, page set-up, out1) and reads the
// recorded pages back line by line.

#include "calc/calcstate.h"
#include "calc/curve.h"
#include "calc/listing.h"
#include "calc/settingsfile.h"
#include "print/pagelayout.h"
#include "sheets/composition.h"

#include "../print/qstringprint.h"

#include <QStringList>
#include <algorithm>
#include <cmath>
#include <vector>

namespace tovanel::test {

struct Corner {
    double bx = 0, by = 0, ix = 100, iy = 100, ex = 0, ey = 200, r = 100, wi = 3, wo = 3;
    int type = 0;
    double n = 4;
    int paper = kPaperA4;
    const char* ip = "12";  ///< the IP number (UTF-8)
};

/// A corner composed as the preview composes it, with the shipped settings (prefixes C, I, O) and
/// the corner's IP number; or, default-constructed, an empty state for calling one sheet routine.
struct Doc {
    CalcState s;
    CalcState trial;  ///< the state as the trial calculation left it, before the composition
    PageLayout pl;
    QString refusal;  ///< why the trial or the composition refused; empty when composed

    Doc() = default;
    explicit Doc(const Corner& c)
    {
        InitConstants(s);
        DefaultSettings(s);
        s.CurveIn[kBP] = {0, 0, c.bx, c.by};
        s.CurveIn[kIP] = {0, 12, c.ix, c.iy, c.wi, c.wo, c.r};
        s.CurveIn[kEP] = {0, 0, c.ex, c.ey};
        s.IPNo = [ip = QString::fromUtf8(c.ip)] { return ip; };
        s.CalcType = static_cast<int16_t>(c.type);
        s.CalcTypeName = QStringList{"平行", "千鳥", "外接", "等曲率半径"}.value(c.type);
        s.DivCount = c.n;
        Listing listing;
        pl.setPaperSize(c.paper);
        refusal = S_CRT(s, listing);
        trial = s;
        if (refusal.isEmpty()) refusal = ComposeDocument(s, pl);
    }
};

/// Texts of page p whose top lies at layout y (a LineY value), left to right.
inline QStringList Texts(const Doc& d, int p, double lineY)
{
    std::vector<const PageItem*> line;
    for (const PageItem& it : *d.pl.page(p))
        if (it.kind == PageItemKind::Text && std::fabs(it.y - (lineY + d.s.OrgY) * d.s.MmUnit) < 0.5) line.push_back(&it);
    std::stable_sort(line.begin(), line.end(), [](auto a, auto b) { return a->x < b->x; });
    QStringList out;
    for (const PageItem* it : line) out << it->text;
    return out;
}

}  // namespace tovanel::test
