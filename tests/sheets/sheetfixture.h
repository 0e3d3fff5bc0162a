#pragma once
// Composes a corner the way the preview does (trial calculation, page set-up, out1) and reads
// the recorded pages back line by line.

#include "calc/calcstate.h"
#include "calc/curve.h"
#include "calc/listing.h"
#include "calc/numeric.h"
#include "calc/settingsfile.h"
#include "print/exportlist.h"
#include "print/fonts.h"
#include "print/pagelayout.h"
#include "sheets/composition.h"
#include "sheets/sheetcontext.h"

#include "../print/qstringprint.h"

#include <QStringList>
#include <algorithm>
#include <cmath>
#include <vector>

namespace tovanel::test {

struct Corner {
    double bx = 0, by = 0, ix = 100, iy = 100, ex = 0, ey = 200;
    double r = 100, wi = 3, wo = 3;
    int type = 0;
    double n = 4;
    int paper = kPaperA4;
};

struct Doc {
    CalcState s;
    PageLayout pl;
    QString refusal;
};

/// Trial calculation and composition with the shipped settings (prefixes C, I, O), IP number 12.
inline void Compose(Doc& d, const Corner& c)
{
    CalcState& s = d.s;
    InitConstants(s);
    DefaultSettings(s);
    s.CurveIn[kBP] = {0, 0, c.bx, c.by};
    s.CurveIn[kIP] = {0, 12, c.ix, c.iy, c.wi, c.wo, c.r};
    s.CurveIn[kEP] = {0, 0, c.ex, c.ey};
    s.IPNo = [] { return QStringLiteral("12"); };
    s.CalcType = static_cast<int16_t>(c.type);
    const char16_t* names[] = {u"平行", u"千鳥", u"外接", u"等曲率半径"};
    s.CalcTypeName = c.type >= 0 && c.type <= 3 ? QString::fromUtf16(names[c.type]) : QString();
    s.DivCount = c.n;
    Listing listing;
    d.refusal = S_CRT(s, listing);
    if (!d.refusal.isEmpty()) return;
    d.pl.setPaperSize(c.paper);
    d.refusal = ComposeDocument(s, d.pl);
}

/// Texts of page p whose top lies at layout y (a LineY value), left to right.
inline std::vector<const PageItem*> Line(const Doc& d, int p, double lineY)
{
    std::vector<const PageItem*> out;
    const double y = (lineY + d.s.OrgY) * d.s.MmUnit;
    for (const PageItem& it : *d.pl.page(p))
        if (it.kind == PageItemKind::Text && std::fabs(it.y - y) < 0.5) out.push_back(&it);
    std::stable_sort(out.begin(), out.end(), [](auto a, auto b) { return a->x < b->x; });
    return out;
}

inline QStringList Texts(const std::vector<const PageItem*>& items)
{
    QStringList out;
    for (const PageItem* it : items) out << it->text;
    return out;
}

}  // namespace tovanel::test
