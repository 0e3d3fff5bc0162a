// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Composes a corner as the preview does (trial calculation, page set-up, out1) and reads the
// recorded pages back line by line.

#include "calc/corner.h"
#include "calc/curve.h"
#include "calc/listing.h"
#include "calc/settingsfile.h"
#include "print/pagelayout.h"
#include "print/pagewriter.h"
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

/// A corner composed as the preview does with the shipped settings; default-constructed, empty.
struct Doc {
    tovanel::Corner k;  ///< the corner, its elements as the trial calculation left them
    Settings st = DefaultSettings();
    PageLayout pl;
    PageWriter w{pl};
    ExportList exports;  ///< the points the composition named
    QString refusal;  ///< why the trial or the composition refused; empty when composed

    Doc() = default;
    explicit Doc(const Corner& c)
    {
        k.in = {c.bx, c.by, c.ix, c.iy, c.ex, c.ey, c.r, c.wi, c.wo, static_cast<int16_t>(c.type), c.n,
                QString::fromUtf8(c.ip), {}, {}, {}};
        Listing listing;
        pl.setPaperSize(c.paper);
        refusal = S_CRT(k.in, st, k.el, listing);
        if (refusal.isEmpty()) refusal = compose();
    }

    /// Page set-up and the composition of the corner as it stands.
    QString compose()
    {
        PageSetup(w);
        return ComposeSheets(k, st, w, exports);
    }
    /// Entry e of the export list, from 1.
    const ExportPoint& entry(size_t e) const { return exports.all().at(e - 1); }
};

/// Texts of page p whose top lies at layout y (a LineY value), left to right.
inline QStringList Texts(const Doc& d, int p, double lineY)
{
    std::vector<const PageItem*> line;
    for (const PageItem& it : *d.pl.page(p))
        if (it.kind == PageItemKind::Text && std::fabs(it.y - (lineY + d.w.OrgY) * d.w.MmUnit) < 0.5) line.push_back(&it);
    std::stable_sort(line.begin(), line.end(), [](auto a, auto b) { return a->x < b->x; });
    QStringList out;
    for (const PageItem* it : line) out << it->text;
    return out;
}

}  // namespace tovanel::test
