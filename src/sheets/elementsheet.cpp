// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheets/elementsheet.h"

#include "calc/calcstate.h"
#include "calc/curve.h"
#include "calc/numeric.h"
#include "print/exportlist.h"
#include "print/pagewriter.h"
#include "sheets/sheetcontext.h"
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
void Advance(CalcState& s, double n) { s.LineY = s.LineY + n; }

void Put(SheetContext& c, const QString& text, double x, double size = kBodySize)
{
    vspri(c.s, c.pl, text, x, c.s.LineY, size);
}

void ExportRowPoint(CalcState& s)
{
    s.ExpName = s.PtNamePrefix;
    s.ExpX = s.PtX;
    s.ExpY = s.PtY;
    PointAdd(s);
}

}  // namespace

void f_OVERL1(SheetContext& c)
{
    CalcState& s = c.s;
    DivRowValues(s);
    Advance(s, kLinePitch);

    s.AlignMode = 1;
    Put(c, s.PtNamePrefix, 0, s.TextSize);
    Put(c, s.OutText, 90, s.TextSize);

    s.AlignMode = 3;
    s.AlignWidth = 25;
    const struct {
        double x;
        double value;
        int decimals;
    } cells[] = {
        {20, s.PtX, 4},          {50, s.PtY, 4},           {100, s.RowHalfWidth, 3},
        {125, s.RowRad, 3},      {150, s.ArcPerDiv, 4},    {175, s.ChordPerDiv, 4},
        {200, s.OrdPerDiv, 4},   {225, s.ArcChordDiff, 4},
    };
    for (const auto& cell : cells) Put(c, FixedText(cell.value, cell.decimals), cell.x, s.TextSize);
}

void f_overl(SheetContext& c)
{
    CalcState& s = c.s;
    s.TextSize = 11;
    s.AlignMode = 2;
    s.AlignWidth = 140;
    Put(c, QStringLiteral("Tovanel　計　算　書"), 0, kTitleSize);
    s.AlignMode = 1;

    const double ts = s.TextSize;
    Advance(s, 20);
    Put(c, QStringLiteral("ＩＰ ") + s.ipNo(), 10, ts);
    Advance(s, kLinePitch);
    Put(c, QStringLiteral("Ｘ  ") + Field13(s.CurveIn[kIP][kX], 4), 15, ts);
    Put(c, QStringLiteral("ＡＺ１  ") + AngleText(s, s.AzIn), 75, ts);
    Advance(s, kLinePitch);
    Put(c, QStringLiteral("Ｙ  ") + Field13(s.CurveIn[kIP][kY], 4), 15, ts);
    Put(c, QStringLiteral("ＡＺ２  ") + AngleText(s, s.AzOut), 75, ts);
    Advance(s, kLinePitch);
    Put(c, QStringLiteral("ＩＡ  ") + AngleText(s, s.IA), 15, ts);
    Put(c, QStringLiteral("半径　Ｒ  ") + Field10(s.CurveIn[kIP][kRadius], 3), 75, ts);
    Advance(s, 14);
    Put(c, QStringLiteral("曲　線　の　要　素"), 10, ts);
    Put(c, QStringLiteral("円の中心点の座標"), 75, ts);
    Advance(s, kLinePitch);
    Put(c, QStringLiteral("　　ＴＬ") + Field10(s.TL, 4), 8, ts);
    Put(c, QStringLiteral("Ｘ  ") + Field13(s.CenX, 4), 75, ts);
    Advance(s, kLinePitch);
    Put(c, QStringLiteral("　　ＣＬ") + Field10(s.CL, 4), 8, ts);
    Put(c, QStringLiteral("Ｙ  ") + Field13(s.CenY, 4), 75, ts);
    Advance(s, kLinePitch);
    Put(c, QStringLiteral("ＣＬ／２") + Field10(s.HalfCL, 4), 8, ts);
    Advance(s, kLinePitch);
    Put(c, QStringLiteral("　　ＳＬ") + Field10(s.SL, 4), 8, ts);
    Advance(s, kLinePitch);
    Put(c, QStringLiteral("　　Ｍ．") + Field10(s.M, 4), 8, ts);
    Put(c, QStringLiteral("円弧分割数　Ｎ ") + SignedNumberText(s.DivCount), 75, ts);
    // The sketch fills the right half above; the main-point table goes below it.
    Advance(s, 50);
    Put(c, QStringLiteral("曲 線 の 主 要 点 座 標"), 10, ts);
    Put(c, QStringLiteral("中 心・内 周・外 周 の 諸 元"), 135, ts);
    Advance(s, kLinePitch);
    const struct {
        double x;
        const char16_t* text;
    } headings[] = {
        {0, u"座標名"}, {32.5, u"Ｘ"},   {63, u"Ｙ"},   {112, u"半巾員"},     {138, u"半径"},
        {162, u"弧／Ｎ"}, {190, u"弦"}, {215, u"Ｍ"}, {234, u"弧/Ｎ-弦"},
    };
    for (const auto& h : headings) Put(c, QString::fromUtf16(h.text), h.x, ts);

    const double R = s.CurveIn[kIP][kRadius];
    const double a = s.DegToRad * s.IaHalfDiv;
    s.Rad = R;
    s.RowTrig = std::sin(a);
    s.RowOrdFactor = 1 - std::cos(a);

    s.RowHalfWidth = s.CurveIn[kIP][kWidthIn];
    s.RowRad = R - s.RowHalfWidth;
    s.PtX = s.BcX;
    s.PtY = s.BcY;
    s.PtNamePrefix = QStringLiteral("BC ") + s.ipNo();
    s.OutText = QStringLiteral("内 周");
    f_OVERL1(c);
    ExportRowPoint(s);

    s.RowHalfWidth = 0;
    s.RowRad = R;
    s.PtX = s.SpX;
    s.PtY = s.SpY;
    s.PtNamePrefix = QStringLiteral("SP ") + s.ipNo();
    s.OutText = QStringLiteral("中 心");
    f_OVERL1(c);
    ExportRowPoint(s);

    s.RowTrig = std::tan(a);
    s.RowOrdFactor = 1 / std::cos(a) - 1;
    s.RowHalfWidth = s.CurveIn[kIP][kWidthOut];
    s.RowRad = s.RowHalfWidth + R;
    s.PtX = s.EcX;
    s.PtY = s.EcY;
    s.PtNamePrefix = QStringLiteral("EC ") + s.ipNo();
    s.OutText = QStringLiteral("外 周");
    f_OVERL1(c);
    ExportRowPoint(s);

    s.ExpName = QStringLiteral("M ") + s.ipNo();
    s.ExpX = s.CenX;
    s.ExpY = s.CenY;
    PointAdd(s);

    f_overl2(c);
}

}  // namespace tovanel
