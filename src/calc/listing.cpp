// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/listing.h"

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
bool RowPrintable(const RowValues& r)
{
    const double values[] = {r.RowRad, r.ArcPerDiv, r.ChordPerDiv, r.OrdPerDiv, r.ArcChordDiff};
    return std::all_of(std::begin(values), std::end(values), [](double v) { return std::isfinite(v); });
}

// Why a value of the listing or the elements sheet would not fit its fixed field (which keeps
// only its rightmost characters), or empty: coordinates in 13 characters, R and the lengths in 10.
QString FieldsRefusal(const CornerInput& in, const CornerElements& el)
{
    const struct {
        const char16_t* name;
        double value;
        int decimals, width;
    } fields[] = {
        {u"IPのX座標", in.IpX, 4, 13},     {u"IPのY座標", in.IpY, 4, 13},     {u"半径R", in.Radius, 3, 10},
        {u"接線長TL", el.TL, 4, 10},       {u"曲線長CL", el.CL, 4, 10},       {u"CL/2", el.HalfCL, 4, 10},
        {u"外線長SL", el.SL, 4, 10},       {u"中央縦距M", el.M, 4, 10},
        {u"円の中心のX座標", el.CenX, 4, 13}, {u"円の中心のY座標", el.CenY, 4, 13},
    };
    for (const auto& f : fields)
        if (QString why = FieldRefusal(QString::fromUtf16(f.name), f.value, f.decimals, f.width); !why.isEmpty())
            return why;
    const char16_t* rows[] = {u"内周", u"中心", u"外周"};
    for (size_t k = 0; k < el.Rows.size(); ++k) {
        const RowValues& r = el.Rows[k];
        const std::pair<const char16_t*, double> cells[] = {
            {u"の半径", r.RowRad}, {u"のCL/N", r.ArcPerDiv}, {u"のL", r.ChordPerDiv},
            {u"のM'", r.OrdPerDiv}, {u"の(CL/N)-L", r.ArcChordDiff},
        };
        for (const auto& [name, value] : cells)
            if (QString why = FieldRefusal(QString::fromUtf16(rows[k]) + QString::fromUtf16(name), value, 4, 10);
                !why.isEmpty())
                return why;
    }
    return {};
}

/// The trial calculation, with the listing's texts when `out` is given. Every value is computed
/// in the same order either way, so both leave the same elements.
QString Trial(const CornerInput& in, const Settings& settings, CornerElements& el, Listing* out)
{
    if (QString why = LoadIn(in, settings, el); !why.isEmpty()) return why;
    el.IaPerDiv = el.IA / el.DivCount;
    // A tiny count makes IA/N too large to write.
    const bool printable = AngleWritable(el.IaPerDiv);
    el.IaHalfDiv = el.IaPerDiv / 2;

    if (out) {
        Put(*out, 20, 10, QStringLiteral("** 設定曲線試算 **"));
        Put(*out, 50, 80, QStringLiteral("IPNO.") + in.IPNo);
        Put(*out, 400, 80, QStringLiteral("分割数=") + SignedNumberText(el.DivCount));
        Put(*out, 250, 150, QStringLiteral("X=") + RightAlign(FixedText(in.IpX, 4), 13));
        Put(*out, 600, 150, QStringLiteral("Y=") + RightAlign(FixedText(in.IpY, 4), 13));
        Put(*out, 250, 190, QStringLiteral("    R=") + RightAlign(FixedText(in.Radius, 3), 10));
        Put(*out, 250, 230, QStringLiteral("   IA=") + AngleText(el.IA));
        Put(*out, 250, 270, QStringLiteral("   TL=") + F4R10(el.TL));
        Put(*out, 250, 310, QStringLiteral("   CL=") + F4R10(el.CL));
        Put(*out, 250, 350, QStringLiteral("   SL=") + F4R10(el.SL));
        Put(*out, 250, 390, QStringLiteral("    M=") + F4R10(el.M));
        Put(*out, 250, 430, QStringLiteral(" IA/N=") + AngleText(el.IaPerDiv));
        Put(*out, 250, 470, QStringLiteral("IA/2N=") + AngleText(el.IaHalfDiv));
        Put(*out, 220, 550, QStringLiteral("R         CL/N      L        M'    (CL/N)-L"));
    }

    el.IARad = el.IA * (PiVal / 180);
    const double Rad = in.Radius;
    const double half = el.IaHalfDiv * DegToRad;
    const double inSin = std::sin(half), inCos = 1 - std::cos(half);
    const double outTan = std::tan(half), outSec = 1 / std::cos(half) - 1;
    el.Rows[kInnerRow] = DivRowValues(Rad - in.WidthIn, el.IARad, el.DivCount, inSin, inCos);
    el.Rows[kCentreRow] = DivRowValues(Rad, el.IARad, el.DivCount, inSin, inCos);
    el.Rows[kOuterRow] = DivRowValues(in.WidthOut + Rad, el.IARad, el.DivCount, outTan, outSec);
    if (out) {
        const Limits limits = settings.limits();
        DivRow(el.Rows[kInnerRow], QStringLiteral("内周"), limits, 600, *out);
        DivRow(el.Rows[kCentreRow], QStringLiteral("中心"), limits, 650, *out);
        DivRow(el.Rows[kOuterRow], QStringLiteral("外周"), limits, 700, *out);
    }
    if (!printable || !std::all_of(el.Rows.begin(), el.Rows.end(), RowPrintable)) return TooLargeToPrint();
    return FieldsRefusal(in, el);
}

}  // namespace

QString S_CRT(const CornerInput& in, const Settings& settings, CornerElements& el, Listing& out)
{
    out = Listing{};
    out.caption = QStringLiteral("設定曲線試算");
    QString why = Trial(in, settings, el, &out);
    if (!why.isEmpty()) out.texts.clear();
    return why;
}

QString TrialCalculation(const CornerInput& in, const Settings& settings, CornerElements& el)
{
    return Trial(in, settings, el, nullptr);
}

void DivRow(const RowValues& row, const QString& label, const Limits& limits, int y, Listing& out)
{
    Put(out, 50, y, label);
    Put(out, 150, y, F4R10(row.RowRad));
    Put(out, 310, y, F4R10(row.ArcPerDiv), row.ArcPerDiv > limits.LP ? kRed : kBlack);
    Put(out, 470, y, F4R10(row.ChordPerDiv));
    Put(out, 630, y, F4R10(row.OrdPerDiv), row.OrdPerDiv > limits.M ? kRed : kBlack);
    Put(out, 790, y, F4R10(row.ArcChordDiff), std::fabs(row.ArcChordDiff) > limits.L1 ? kRed : kBlack);
}

}  // namespace tovanel
