// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheets/elementsheet.h"

#include "calc/curve.h"
#include "calc/numeric.h"
#include "print/pagewriter.h"
#include "sheets/sheetcontext.h"
#include "sheets/stakepoints.h"
#include "sheets/stakesketch.h"

#include <cmath>

namespace tovanel {

namespace {

constexpr double kTitleSize = 14;
constexpr double kBodySize = 11;
constexpr double kLinePitch = 7;

// Right-justified fields: the formatted value behind n blanks, of which the last n characters
// stay (a longer text loses its leftmost characters).
QString Field13(double v, int decimals) { return RightAlign(FixedText(v, decimals), 13); }
QString Field10(double v, int decimals) { return RightAlign(FixedText(v, decimals), 10); }

// Line advances are layout millimetres like every other position: the page writer scales them
// to the paper once, through MmUnit. Scaling them here as well would scale the sheet's vertical
// distances by the square of PaperScale: on A3 the main-point table would start below the edge of
// the paper (page y 299 mm of 297) and on B5 run into the stake sketch's frame.
void Advance(PageWriter& w, double n) { w.LineY = w.LineY + n; }

void Put(SheetContext& c, const QString& text, double x, double size = kBodySize)
{
    vspri(c.w, text, x, c.w.LineY, size);
}

}  // namespace

void f_OVERL1(SheetContext& c, const MainPointRow& r)
{
    PageWriter& w = c.w;
    Advance(w, kLinePitch);

    w.AlignMode = TextAlign::Start;
    Put(c, r.PtNamePrefix, 0, w.TextSize);
    Put(c, r.OutText, 90, w.TextSize);

    w.AlignMode = TextAlign::End;
    w.AlignWidth = 25;
    const struct {
        double x;
        double value;
        int decimals;
    } cells[] = {
        {20, r.PtX, 4},            {50, r.PtY, 4},              {100, r.RowHalfWidth, 3},
        {125, r.row.RowRad, 3},    {150, r.row.ArcPerDiv, 4},   {175, r.row.ChordPerDiv, 4},
        {200, r.row.OrdPerDiv, 4}, {225, r.row.ArcChordDiff, 4},
    };
    for (const auto& cell : cells) {
        c.check({cell.value});
        Put(c, FixedText(cell.value, cell.decimals), cell.x, w.TextSize);
    }
}

void f_overl(SheetContext& c)
{
    const CornerInput& in = c.in;
    const CornerElements& el = c.el;
    PageWriter& w = c.w;
    w.TextSize = 11;
    w.AlignMode = TextAlign::Centre;
    w.AlignWidth = 140;
    Put(c, QStringLiteral("Tovanel　計　算　書"), 0, kTitleSize);
    w.AlignMode = TextAlign::Start;

    const double ts = w.TextSize;
    Advance(w, 20);
    Put(c, QStringLiteral("ＩＰ ") + in.IPNo, 10, ts);
    Advance(w, kLinePitch);
    Put(c, QStringLiteral("Ｘ  ") + Field13(in.IpX, 4), 15, ts);
    Put(c, QStringLiteral("ＡＺ１  ") + AngleText(el.AzIn), 75, ts);
    Advance(w, kLinePitch);
    Put(c, QStringLiteral("Ｙ  ") + Field13(in.IpY, 4), 15, ts);
    Put(c, QStringLiteral("ＡＺ２  ") + AngleText(el.AzOut), 75, ts);
    Advance(w, kLinePitch);
    Put(c, QStringLiteral("ＩＡ  ") + AngleText(el.IA), 15, ts);
    Put(c, QStringLiteral("半径　Ｒ  ") + Field10(in.Radius, 3), 75, ts);
    Advance(w, 14);
    Put(c, QStringLiteral("曲　線　の　要　素"), 10, ts);
    Put(c, QStringLiteral("円の中心点の座標"), 75, ts);
    Advance(w, kLinePitch);
    Put(c, QStringLiteral("　　ＴＬ") + Field10(el.TL, 4), 8, ts);
    Put(c, QStringLiteral("Ｘ  ") + Field13(el.CenX, 4), 75, ts);
    Advance(w, kLinePitch);
    Put(c, QStringLiteral("　　ＣＬ") + Field10(el.CL, 4), 8, ts);
    Put(c, QStringLiteral("Ｙ  ") + Field13(el.CenY, 4), 75, ts);
    Advance(w, kLinePitch);
    Put(c, QStringLiteral("ＣＬ／２") + Field10(el.HalfCL, 4), 8, ts);
    Advance(w, kLinePitch);
    Put(c, QStringLiteral("　　ＳＬ") + Field10(el.SL, 4), 8, ts);
    Advance(w, kLinePitch);
    Put(c, QStringLiteral("　　Ｍ．") + Field10(el.M, 4), 8, ts);
    Put(c, QStringLiteral("円弧分割数　Ｎ ") + SignedNumberText(el.DivCount), 75, ts);
    // The sketch fills the right half above; the main-point table goes below it.
    Advance(w, 50);
    Put(c, QStringLiteral("曲 線 の 主 要 点 座 標"), 10, ts);
    Put(c, QStringLiteral("中 心・内 周・外 周 の 諸 元"), 135, ts);
    Advance(w, kLinePitch);
    const struct {
        double x;
        const char16_t* text;
    } headings[] = {
        {0, u"座標名"}, {32.5, u"Ｘ"},   {63, u"Ｙ"},   {112, u"半巾員"},     {138, u"半径"},
        {162, u"弧／Ｎ"}, {190, u"弦"}, {215, u"Ｍ"}, {234, u"弧/Ｎ-弦"},
    };
    for (const auto& h : headings) Put(c, QString::fromUtf16(h.text), h.x, ts);

    // The division values again, for the rows as this sheet lists them: BC with the inner curve,
    // SP with the centre line, EC with the outer curve.
    const double R = in.Radius;
    const double a = DegToRad * el.IaHalfDiv;
    const double inSin = std::sin(a), inCos = 1 - std::cos(a);
    const double outTan = std::tan(a), outSec = 1 / std::cos(a) - 1;
    const std::array<ExportPoint, 4> main = MainPoints({in, el});
    const MainPointRow rows[] = {
        {main[0].name, QStringLiteral("内 周"), main[0].x, main[0].y, in.WidthIn,
         DivRowValues(R - in.WidthIn, el.IARad, el.DivCount, inSin, inCos)},
        {main[1].name, QStringLiteral("中 心"), main[1].x, main[1].y, 0,
         DivRowValues(R, el.IARad, el.DivCount, inSin, inCos)},
        {main[2].name, QStringLiteral("外 周"), main[2].x, main[2].y, in.WidthOut,
         DivRowValues(in.WidthOut + R, el.IARad, el.DivCount, outTan, outSec)},
    };
    for (const MainPointRow& r : rows) {
        f_OVERL1(c, r);
        c.exports.PointAdd(r.PtNamePrefix, r.PtX, r.PtY);
    }
    c.exports.PointAdd(main[3].name, main[3].x, main[3].y);

    f_overl2(c);
}

}  // namespace tovanel
