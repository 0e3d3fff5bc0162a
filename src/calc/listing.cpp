// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/listing.h"

#include "calc/calcstate.h"
#include "calc/curve.h"
#include "calc/numeric.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace tovanel {

namespace {

QString F4R10(double v) { return RightAlign(FixedText(v, 4), 10); }

void Put(Listing& out, int x, int y, const QString& text, int colour = kBlack)
{
    out.texts.push_back({x, y, colour, text});
}

// The numbers a division row prints, each finite (a huge radius or width, or a tiny count, can
// overflow them).
bool RowPrintable(const CalcState& s)
{
    const double values[] = {s.RowRad, s.ArcPerDiv, s.ChordPerDiv, s.OrdPerDiv, s.ArcChordDiff};
    return std::all_of(std::begin(values), std::end(values), [](double v) { return std::isfinite(v); });
}

/// One division row: its values, and its texts at height y when a listing is composed.
void Row(CalcState& s, int y, Listing* out)
{
    if (out)
        DivRow(s, y, *out);
    else
        DivRowValues(s);
}

/// The trial calculation, with the listing's texts when `out` is given. Every value is computed
/// in the same order either way, so both leave the same state.
QString Trial(CalcState& s, Listing* out)
{
    s.LimitM = s.IniNum[3];
    s.LimitLP = s.IniNum[4];
    s.LimitL1 = s.IniNum[5];
    if (QString why = LoadIn(s); !why.isEmpty()) return why;
    s.IaPerDiv = s.IA / s.DivCount;
    // A tiny count makes IA/N too large to write.
    bool printable = AngleWritable(s.IaPerDiv);
    s.IaHalfDiv = s.IaPerDiv / 2;

    if (out) {
        Put(*out, 20, 10, QStringLiteral("** 設定曲線試算 **"));
        Put(*out, 50, 80, QStringLiteral("IPNO.") + s.ipNo());
        Put(*out, 400, 80, QStringLiteral("分割数=") + SignedNumberText(s.DivCount));
        Put(*out, 250, 150, QStringLiteral("X=") + RightAlign(FixedText(s.CurveIn[kIP][kX], 4), 13));
        Put(*out, 600, 150, QStringLiteral("Y=") + RightAlign(FixedText(s.CurveIn[kIP][kY], 4), 13));
        Put(*out, 250, 190,
            QStringLiteral("    R=") + RightAlign(FixedText(s.CurveIn[kIP][kRadius], 3), 10));
        Put(*out, 250, 230, QStringLiteral("   IA=") + AngleText(s, s.IA));
        Put(*out, 250, 270, QStringLiteral("   TL=") + F4R10(s.TL));
        Put(*out, 250, 310, QStringLiteral("   CL=") + F4R10(s.CL));
        Put(*out, 250, 350, QStringLiteral("   SL=") + F4R10(s.SL));
        Put(*out, 250, 390, QStringLiteral("    M=") + F4R10(s.M));
        Put(*out, 250, 430, QStringLiteral(" IA/N=") + AngleText(s, s.IaPerDiv));
        Put(*out, 250, 470, QStringLiteral("IA/2N=") + AngleText(s, s.IaHalfDiv));
        Put(*out, 220, 550, QStringLiteral("R         CL/N      L        M'    (CL/N)-L"));
    }

    s.IARad = s.IA * (s.PiVal / 180);
    s.Rad = s.CurveIn[kIP][kRadius];
    s.RowRad = s.Rad - s.CurveIn[kIP][kWidthIn];
    s.RowTrig = std::sin(s.IaHalfDiv * s.DegToRad);
    s.RowOrdFactor = 1 - std::cos(s.IaHalfDiv * s.DegToRad);
    s.OutText = QStringLiteral("内周");
    Row(s, 600, out);
    printable = printable && RowPrintable(s);

    s.RowRad = s.Rad;
    s.OutText = QStringLiteral("中心");
    Row(s, 650, out);
    printable = printable && RowPrintable(s);

    s.RowTrig = std::tan(s.IaHalfDiv * s.DegToRad);
    s.RowOrdFactor = 1 / std::cos(s.IaHalfDiv * s.DegToRad) - 1;
    s.RowRad = s.CurveIn[kIP][kWidthOut] + s.Rad;
    s.OutText = QStringLiteral("外周");
    Row(s, 700, out);
    if (!printable || !RowPrintable(s)) return TooLargeToPrint();
    return {};
}

}  // namespace

QString S_CRT(CalcState& s, Listing& out)
{
    out = Listing{};
    out.caption = QStringLiteral("設定曲線試算");
    QString why = Trial(s, &out);
    if (!why.isEmpty()) out.texts.clear();
    return why;
}

QString TrialCalculation(CalcState& s) { return Trial(s, nullptr); }

void DivRow(CalcState& s, int y, Listing& out)
{
    DivRowValues(s);
    Put(out, 50, y, s.OutText);
    Put(out, 150, y, F4R10(s.RowRad));
    Put(out, 310, y, F4R10(s.ArcPerDiv), s.ArcPerDiv > s.LimitLP ? kRed : kBlack);
    Put(out, 470, y, F4R10(s.ChordPerDiv));
    Put(out, 630, y, F4R10(s.OrdPerDiv), s.OrdPerDiv > s.LimitM ? kRed : kBlack);
    Put(out, 790, y, F4R10(s.ArcChordDiff),
        std::fabs(s.ArcChordDiff) > s.LimitL1 ? kRed : kBlack);
}

}  // namespace tovanel
