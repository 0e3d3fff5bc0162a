#pragma once
// Composes a corner the way the preview does (trial calculation, page set-up, out1) and reads
// the recorded pages back by line and column.

#include "calc/calcstate.h"
#include "calc/curve.h"
#include "calc/listing.h"
#include "calc/numeric.h"
#include "calc/settingsfile.h"
#include "print/exportlist.h"
#include "print/fonts.h"
#include "print/pagelayout.h"
#include "print/pagewriter.h"
#include "sheets/composition.h"
#include "sheets/sheetcontext.h"

#include <QString>
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
    QString ipNo = QStringLiteral("12");
};

inline const QString kTypeNames[] = {QStringLiteral("平行"), QStringLiteral("千鳥"),
                                     QStringLiteral("外接"), QStringLiteral("等曲率半径")};

struct Doc {
    CalcState s;
    PageLayout pl;
    QString refusal;
};

/// Trial calculation and composition; the settings are the shipped ones (prefixes C, I, O).
inline void Compose(Doc& d, const Corner& c)
{
    CalcState& s = d.s;
    InitConstants(s);
    DefaultSettings(s);
    s.CurveIn[kBP][kX] = c.bx;
    s.CurveIn[kBP][kY] = c.by;
    s.CurveIn[kIP][kX] = c.ix;
    s.CurveIn[kIP][kY] = c.iy;
    s.CurveIn[kEP][kX] = c.ex;
    s.CurveIn[kEP][kY] = c.ey;
    s.CurveIn[kIP][kRadius] = c.r;
    s.CurveIn[kIP][kWidthIn] = c.wi;
    s.CurveIn[kIP][kWidthOut] = c.wo;
    const QString ip = c.ipNo;
    s.IPNo = [ip] { return ip; };
    s.CalcType = static_cast<int16_t>(c.type);
    s.CalcTypeName = c.type >= 0 && c.type <= 3 ? kTypeNames[c.type] : QString();
    s.DivCount = c.n;
    Listing listing;
    d.refusal = S_CRT(s, listing);
    if (!d.refusal.isEmpty()) return;
    d.pl.setPaperSize(c.paper);
    d.refusal = ComposeDocument(s, d.pl);
}

/// Texts of page p whose top lies at layout y (LineY) on this paper, left to right.
inline std::vector<const PageItem*> Line(const Doc& d, int p, double lineY)
{
    std::vector<const PageItem*> out;
    const Page* page = d.pl.page(p);
    if (!page) return out;
    const double y = (lineY + d.s.OrgY) * d.s.MmUnit;
    for (const PageItem& it : *page)
        if (it.kind == PageItemKind::Text && std::fabs(it.y - y) < 0.5) out.push_back(&it);
    std::stable_sort(out.begin(), out.end(),
                     [](const PageItem* a, const PageItem* b) { return a->x < b->x; });
    return out;
}

inline QStringList Texts(const std::vector<const PageItem*>& items)
{
    QStringList out;
    for (const PageItem* it : items) out << it->text;
    return out;
}

/// Layout millimetres of a twip position on the x axis (origin taken off).
inline double LayoutX(const Doc& d, double twips) { return twips / d.s.MmUnit - d.s.OrgX; }

}  // namespace tovanel::test
