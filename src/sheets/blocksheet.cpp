// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheets/blocksheet.h"

#include "calc/curve.h"
#include "calc/numeric.h"
#include "print/pagelayout.h"
#include "print/pagewriter.h"
#include "sheets/sheetcontext.h"
#include "sheets/stakepoints.h"

#include <cmath>

namespace tovanel {

namespace {

constexpr double kLinePitch = 7;
// Rows continue on a new page once LineY passes this (layout mm, not scaled by the paper).
constexpr double kPageBottom = 170;

void Put(SheetContext& c, const QString& text, double x, double size)
{
    vspri(c.w, text, x, c.w.LineY, size);
}

}  // namespace

void BlockHead(SheetContext& c)
{
    PageWriter& s = c.w;
    s.AlignMode = TextAlign::Centre;
    s.AlignWidth = 240;
    Put(c, QStringLiteral("街 区 点 曲 線 計 算 書"), 10, 14);
    s.AlignMode = TextAlign::Start;
    Put(c, QStringLiteral("[ 型 ") + CalcTypeNameOf(c.in.CalcType) + QStringLiteral("方式 ]"), 10, s.TextSize);
    Put(c, QStringLiteral("( IP ") + c.in.IPNo + QStringLiteral("  ") + c.block.KindName +
               QStringLiteral(" )"),
        180, s.TextSize);
    s.LineY = s.LineY + kLinePitch * s.PaperScale;
    Put(c, QStringLiteral("曲線名"), 15, s.TextSize);
    Put(c, QStringLiteral("偏　角"), 50, s.TextSize);
    Put(c, QStringLiteral("方向角"), 80, s.TextSize);
    s.AlignWidth = 25;
    Put(c, QStringLiteral("弦　長"), 111, s.TextSize);
    Put(c, QStringLiteral("弧　長"), 136, s.TextSize);
    s.AlignWidth = 30;
    Put(c, QStringLiteral("Ｘ"), 170, s.TextSize);
    Put(c, QStringLiteral("Ｙ"), 200, s.TextSize);
    Put(c, QStringLiteral("測点名"), 225, s.TextSize);
    s.LineY = s.LineY + kLinePitch * s.PaperScale;
}

void Kai_PG(SheetContext& c)
{
    PageWriter& s = c.w;
    if (s.LineY == 0 || s.LineY > kPageBottom) {
        s.pl.newPage();
        s.LineY = 0;
        BlockHead(c);
    }
}

void RowLabel(SheetContext& c, const StakeRow& r)
{
    PageWriter& s = c.w;
    s.AlignMode = TextAlign::Start;
    Put(c, r.name, 10, s.TextSize);
    Put(c, r.name, 220, s.TextSize);
}

void RowAngles(SheetContext& c, const StakeRow& r)
{
    PageWriter& s = c.w;
    s.AlignMode = TextAlign::End;
    s.AlignWidth = 30;
    Put(c, AngleText(r.deflect), 35, s.TextSize);
    Put(c, AngleText(r.chordAz), 70, s.TextSize);
}

namespace {

// A chord or arc as the sheet prints it: rounded once to its 4 decimals, as the elements sheet
// rounds the same lengths. A first rounding to 5 decimals would carry 3.6071489 up to 3.6072
// here while the elements sheet prints 3.6071.
double PrintedLength(double metres) { return RoundDig(metres, 4, 1); }

}  // namespace

void RowLengths(SheetContext& c, const StakeRow& r)
{
    PageWriter& s = c.w;
    s.AlignMode = TextAlign::End;
    s.AlignWidth = 25;
    Put(c, FixedText(PrintedLength(r.chordLen), 4), 100, s.TextSize);
    Put(c, FixedText(PrintedLength(r.arcLen), 4), 125, s.TextSize);
}

void RowCoords(SheetContext& c, const StakeRow& r)
{
    PageWriter& s = c.w;
    s.AlignMode = TextAlign::End;
    s.AlignWidth = 30;
    Put(c, FixedText(r.x, 3), 150, s.TextSize);
    Put(c, FixedText(r.y, 3), 180, s.TextSize);
}

void BlockRows(SheetContext& c, const StakeKind& kind)
{
    PageWriter& w = c.w;
    w.TextSize = 11;
    const int last = static_cast<int>(kind.rows.size()) - 1;
    for (int i = 0; i <= last; ++i) {
        const StakeRow& r = kind.rows[static_cast<size_t>(i)];
        if (i == 0) {
            w.LineY = 0;
            Kai_PG(c);
        }
        c.check({PrintedLength(r.chordLen), PrintedLength(r.arcLen), r.x, r.y});

        if (i < kind.exported) c.exports.PointAdd(r.name, r.x, r.y);

        if (i == last) {
            RowAngles(c, r);
        } else {
            RowLabel(c, r);
            RowCoords(c, r);
            if (i == 0) {
                w.AlignMode = TextAlign::End;
                w.AlignWidth = 30;
                Put(c, AngleText(r.chordAz), 70, w.TextSize);
            } else {
                RowAngles(c, r);
                RowLengths(c, r);
            }
        }
        w.LineY = w.LineY + kLinePitch * w.PaperScale;
        // A page is broken only for a row that follows: after the last row of a kind the break
        // would leave a page holding the heading alone (the next kind starts a page of its own).
        if (i < last) Kai_PG(c);
    }
}

void BlockSheet(SheetContext& c)
{
    const int type = c.in.CalcType;
    if (type < 0 || type > 3) return;  // out1 refuses these before composing
    for (const StakeKind& kind : StakeKinds({c.in, c.el}, c.settings)) {
        c.block.KindName = QString::fromUtf16(kind.kindName);
        BlockRows(c, kind);
    }
}

}  // namespace tovanel
