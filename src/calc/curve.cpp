// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/curve.h"

#include "calc/calcstate.h"
#include "calc/numeric.h"
#include "calc/settingsfile.h"

#include <cmath>

namespace tovanel {

namespace {

QString TooManyDivisions()
{
    return QStringLiteral("分割数が%1を超えます。制限値・半径・分割数を見直してください。")
        .arg(kMaxDivCount);
}

// The azimuth routine the settings ask for: the guarded one unless exact azimuths are chosen.
double AzimuthOf(const CalcState& s, double dx, double dy)
{
    return ExactAzimuths(s) ? AzimuthExact(dx, dy) : Azimuth(dx, dy);
}

}  // namespace

QString TooLargeToPrint()
{
    return QStringLiteral("計算結果が大きすぎて書き表せません。座標・半径・幅員・分割数を見直してください。");
}

QString CalcRefusal(const CalcState& s)
{
    const double inputs[] = {
        s.CurveIn[kBP][kX], s.CurveIn[kBP][kY], s.CurveIn[kIP][kX],      s.CurveIn[kIP][kY],
        s.CurveIn[kEP][kX], s.CurveIn[kEP][kY], s.CurveIn[kIP][kWidthIn], s.CurveIn[kIP][kWidthOut],
        s.CurveIn[kIP][kRadius],
    };
    for (double v : inputs) {
        if (!std::isfinite(v))
            return QStringLiteral("座標・半径・幅員に数値として扱えない値があります。");
    }
    if (!std::isfinite(s.DivCount) || s.DivCount < 0)
        return QStringLiteral("分割数が正しくありません。0（自動）または正の値を入力してください。");
    if (s.DivCount > kMaxDivCount) return TooManyDivisions();
    // An open count is chosen by raising it until a limit holds: a limit of 0 or below never holds.
    if (s.DivCount == 0 && !(s.LimitM > 0 && s.LimitLP > 0))
        return QStringLiteral(
            "制限中央縦距または制限ＬＰが０以下のため分割数を決められません。"
            "条件設定で正の値を入力してください。");
    return {};
}

QString LoadIn(CalcState& s)
{
    if (QString why = CalcRefusal(s); !why.isEmpty()) return why;
    s.BpX = s.CurveIn[kBP][kX];
    s.BpY = s.CurveIn[kBP][kY];
    s.IpX = s.CurveIn[kIP][kX];
    s.IpY = s.CurveIn[kIP][kY];
    s.WidthIn = s.CurveIn[kIP][kWidthIn];
    s.WidthOut = s.CurveIn[kIP][kWidthOut];
    s.Rad = s.CurveIn[kIP][kRadius];
    s.RadSigned = s.Rad;
    s.EpX = s.CurveIn[kEP][kX];
    s.EpY = s.CurveIn[kEP][kY];
    const double givenCount = s.DivCount;
    if (QString why = MainPts(s); !why.isEmpty()) return why;
    // Coordinates so large that their differences overflow leave no usable curve.
    const double results[] = {s.IA, s.TL, s.CL, s.SL, s.M, s.DistIn, s.BcX, s.BcY, s.EcX, s.EcY,
                              s.CenX, s.CenY, s.SpX, s.SpY, s.TanAX, s.TanAY, s.TanBX, s.TanBY};
    for (double v : results) {
        if (!std::isfinite(v)) {
            s.DivCount = givenCount;
            return QStringLiteral("座標または半径が大きすぎて計算できません。");
        }
    }
    return {};
}

QString MainPts(CalcState& s)
{
    const double k = s.DegToRad;
    s.AzIn = AzimuthOf(s, s.IpX - s.BpX, s.IpY - s.BpY);
    s.DistIn = Dist(s.IpX - s.BpX, s.IpY - s.BpY);
    s.AzOut = AzimuthOf(s, s.EpX - s.IpX, s.EpY - s.IpY);
    const QString refusal = CurveElem(s);

    const double back = (s.DistIn - s.TL) - s.TL / 2;
    s.TanAX = s.BpX + std::cos(s.AzIn * k) * back;
    s.TanAY = s.BpY + std::sin(s.AzIn * k) * back;
    const double ahead = s.TL / 2 + s.TL;
    s.TanBX = s.IpX + std::cos(s.AzOut * k) * ahead;
    s.TanBY = s.IpY + std::sin(s.AzOut * k) * ahead;

    s.PtX = s.BpX;
    s.PtY = s.BpY;
    s.DistBC = s.DistIn - s.TL;
    s.AzBase = s.AzIn;
    s.Rad = s.RadSigned;
    LocPoint(s);
    s.BcX = s.LocX;
    s.BcY = s.LocY;

    s.EcX = s.IpX + std::cos(s.AzOut * k) * s.TL;
    s.EcY = s.IpY + std::sin(s.AzOut * k) * s.TL;
    if (s.CenX == s.IpX && s.CenY == s.IpY)
        s.AzCenIP = 0;
    else
        s.AzCenIP = AzimuthOf(s, s.IpX - s.CenX, s.IpY - s.CenY);
    s.SpX = s.CenX + std::cos(s.AzCenIP * k) * std::fabs(s.RadSigned);
    s.SpY = s.CenY + std::sin(s.AzCenIP * k) * std::fabs(s.RadSigned);
    s.HalfCL = s.CL / 2;
    return refusal;
}

QString CurveElem(CalcState& s)
{
    const double k = s.DegToRad;
    double d = s.AzOut - s.AzIn;
    if (d < 0) d = d + 360;
    if (d > 180) {
        d = 360 - d;
        s.Rad = -std::fabs(s.Rad);
    } else {
        s.Rad = std::fabs(s.Rad);  // a straight reversal (d = 180) counts as clockwise
    }
    s.IAWork = d;
    s.TurnSign = static_cast<int16_t>(s.Rad > 0 ? 1 : (s.Rad < 0 ? -1 : 0));
    s.RadSigned = s.Rad;
    s.IA = d;
    s.RadAbs = std::fabs(s.Rad);
    s.CL = s.RadAbs * (d * s.PiVal / 180);
    s.TL = std::tan(d / 2 * k) * s.RadAbs;
    s.SL = s.RadAbs * (1 / std::cos(d / 2 * k) - 1);
    s.M = s.RadAbs * (1 - std::cos(d / 2 * k));
    if (s.DivCount != 0) return {};

    // The smallest count whose division keeps its external secant within the ordinate limit, then
    // raised until one division's arc is within the LP limit. Both loops stop at the largest count
    // the sheets can list; a NaN comparison ends them at once.
    double divTry = 1;
    while (s.RadAbs * (1 / std::cos(d / (2 * divTry) * k) - 1) > s.LimitM) {
        if (divTry >= kMaxDivCount) return TooManyDivisions();
        divTry = divTry + 1;
    }
    auto divLP = static_cast<int16_t>(divTry);
    while (s.LimitLP < s.CL / divLP) {
        if (divLP >= kMaxDivCount) return TooManyDivisions();
        ++divLP;
    }
    s.DivCount = divTry > divLP ? divTry : divLP;
    return {};
}

void LocPoint(CalcState& s)
{
    const double k = s.DegToRad;
    s.LocX = s.PtX + std::cos(s.AzBase * k) * s.DistBC;
    s.LocY = s.PtY + std::sin(s.AzBase * k) * s.DistBC;
    s.CenX = s.LocX + std::cos((s.AzBase + 90) * k) * s.Rad;
    s.CenY = s.LocY + std::sin((s.AzBase + 90) * k) * s.Rad;
}

void DivRowValues(CalcState& s)
{
    s.ArcPerDiv = RoundDig((s.RowRad * s.IARad) / s.DivCount, 4, 1);
    s.ChordPerDiv = RoundDig(s.RowRad * (2 * s.RowTrig), 4, 1);
    s.OrdPerDiv = RoundDig(s.RowRad * s.RowOrdFactor, 4, 1);
    s.ArcChordDiff = RoundDig(s.ArcPerDiv - s.ChordPerDiv, 4, 1);
}

}  // namespace tovanel
