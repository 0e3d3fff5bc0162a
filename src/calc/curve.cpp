// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/curve.h"

#include "calc/numeric.h"

#include <QLocale>
#include <QStringList>
#include <cmath>

namespace tovanel {

namespace {

QString TooManyDivisions()
{
    return QStringLiteral("分割数が%1を超えます。制限値・半径・分割数を見直してください。")
        .arg(kMaxDivCount);
}

// A length in metres with its thousands grouped, as the messages give the bounds.
QString Grouped(double metres) { return QLocale(QLocale::English).toString(static_cast<qlonglong>(metres)); }

// The azimuth routine the settings ask for: the guarded one unless exact azimuths are chosen.
double AzimuthOf(bool exact, double dx, double dy)
{
    return exact ? AzimuthExact(dx, dy) : Azimuth(dx, dy);
}

}  // namespace

QString TooLargeToPrint()
{
    return QStringLiteral("計算結果が大きすぎて書き表せません。座標・半径・幅員・分割数を見直してください。");
}

QString CalcRefusal(const CornerInput& in, const Limits& limits)
{
    const double inputs[] = {in.BpX, in.BpY, in.IpX, in.IpY, in.EpX, in.EpY, in.WidthIn, in.WidthOut, in.Radius};
    for (double v : inputs) {
        if (!std::isfinite(v))
            return QStringLiteral("座標・半径・幅員に数値として扱えない値があります。");
    }
    const struct {
        const char* name;
        double x, y;
    } points[] = {{"BP", in.BpX, in.BpY}, {"IP", in.IpX, in.IpY}, {"EP", in.EpX, in.EpY}};
    for (const auto& p : points) {
        if (!(std::fabs(p.x) < kMaxCoordinate && std::fabs(p.y) < kMaxCoordinate))
            return QStringLiteral("%1の座標が大きすぎて扱えません。座標は絶対値 %2 m 未満で入力してください。")
                .arg(QLatin1String(p.name), Grouped(kMaxCoordinate));
    }
    if (in.Radius == 0) return QStringLiteral("半径が0です。半径は正の値で入力してください。");
    if (in.Radius < 0) return QStringLiteral("半径が負の値です。半径は正の値で入力してください。");
    if (in.Radius > kMaxRadius)
        return QStringLiteral("半径が大きすぎて扱えません。半径は %1 m 以下で入力してください。").arg(Grouped(kMaxRadius));
    if (!(std::fabs(in.WidthIn) <= kMaxWidth && std::fabs(in.WidthOut) <= kMaxWidth))
        return QStringLiteral("幅員が大きすぎて扱えません。内幅員・外幅員は絶対値 %1 m 以下で入力してください。")
            .arg(Grouped(kMaxWidth));
    if (!std::isfinite(in.DivCount) || in.DivCount < 0)
        return QStringLiteral("分割数が正しくありません。0（自動）または正の値を入力してください。");
    if (in.DivCount > kMaxDivCount) return TooManyDivisions();
    // An open count is chosen by raising it until a limit holds: a limit of 0 or below never holds.
    if (in.DivCount == 0 && !(limits.M > 0 && limits.LP > 0))
        return QStringLiteral(
            "制限中央縦距または制限ＬＰが０以下のため分割数を決められません。"
            "条件設定で正の値を入力してください。");
    return {};
}

QStringList StakeRefusal(const CornerInput& in, const CornerElements& el)
{
    QStringList why;
    const double ax = in.IpX - in.BpX, ay = in.IpY - in.BpY;
    const double bx = in.EpX - in.IpX, by = in.EpY - in.IpY;
    const bool back = std::hypot(ax, ay) >= kMinTangent, ahead = std::hypot(bx, by) >= kMinTangent;
    if (!back) why << QStringLiteral("BPとIPが同じ座標です（BP～IPが0.1 mm未満で、接線が定まりません）。");
    if (!ahead) why << QStringLiteral("IPとEPが同じ座標です（IP～EPが0.1 mm未満で、接線が定まりません）。");
    if (back && ahead) {
        // The turn from the coordinates themselves, and IA as the guarded azimuths give it and the
        // sheets print it: a corner is staked only when both keep within the bounds.
        const double turn = std::atan2(std::fabs(ax * by - ay * bx), ax * bx + ay * by) * RadToDeg;
        for (double ia : {turn, el.IA}) {
            if (ia < kMinIA) {
                why << QStringLiteral("交角IAが%1で、%2未満です（3点がほぼ一直線に並び、曲線が入りません）。")
                           .arg(AngleText(ia).trimmed(), AngleText(kMinIA).trimmed());
                break;
            }
            if (!(ia <= kMaxIA)) {
                why << QStringLiteral("交角IAが%1で、%2を超えます（EPがBPの方へ折り返し、接線長TLが定まりません）。")
                           .arg(AngleText(ia).trimmed(), AngleText(kMaxIA).trimmed());
                break;
            }
        }
    }
    if (!(in.Radius - in.WidthIn > 0))
        why << QStringLiteral("内幅員が半径以上のため、内周の半径が正になりません。");
    if (!(in.Radius + in.WidthOut > 0))
        why << QStringLiteral("外幅員が負で半径以上あるため、外周の半径が正になりません。");
    return why;
}

QString FieldRefusal(const QString& name, double value, int decimals, int width)
{
    const QString text = FixedText(value, decimals);
    if (text.size() <= width) return {};
    return QStringLiteral("%1（%2）が帳票の欄（%3文字）に収まりません。").arg(name, text).arg(width);
}

QStringList CornerWarnings(const CornerInput& in, const CornerElements& el)
{
    QStringList warn;
    const QString tl = FixedText(el.TL, 4);
    const struct {
        double distance;
        const char* text;
    } tangents[] = {
        {Dist(in.IpX - in.BpX, in.IpY - in.BpY), "接線長TL（%1 m）がBP～IP間の距離（%2 m）より長く、BCがBPの外側に出ます。"},
        {Dist(in.EpX - in.IpX, in.EpY - in.IpY), "接線長TL（%1 m）がIP～EP間の距離（%2 m）より長く、ECがEPの外側に出ます。"},
    };
    for (const auto& t : tangents) {
        // Compared as printed: a TL that only rounding puts beyond the tangent is no overrun.
        const QString distance = FixedText(t.distance, 4);
        if (tl.toDouble() > distance.toDouble()) warn << QString::fromUtf8(t.text).arg(tl, distance);
    }
    return warn;
}

QString LoadIn(const CornerInput& in, const Settings& settings, CornerElements& el)
{
    if (QString why = CalcRefusal(in, settings.limits()); !why.isEmpty()) return why;
    el = CornerElements{};
    el.DivCount = in.DivCount;
    const QString counted = MainPts(in, settings, el);
    // A corner that cannot be staked is refused for what is wrong with it, before the count its
    // impossible curve would need.
    if (const QStringList why = StakeRefusal(in, el); !why.isEmpty()) {
        el.DivCount = in.DivCount;
        return why.join(QString());
    }
    if (!counted.isEmpty()) return counted;
    // Coordinates so large that their differences overflow leave no usable curve.
    const double results[] = {el.IA,   el.TL,   el.CL,   el.SL,   el.M,     el.DistIn, el.BcX, el.BcY, el.EcX,
                              el.EcY,  el.CenX, el.CenY, el.SpX,  el.SpY,   el.TanAX,  el.TanAY, el.TanBX, el.TanBY};
    for (double v : results) {
        if (!std::isfinite(v)) {
            el.DivCount = in.DivCount;
            return QStringLiteral("座標または半径が大きすぎて計算できません。");
        }
    }
    return {};
}

QString MainPts(const CornerInput& in, const Settings& settings, CornerElements& el)
{
    const bool exact = settings.exactAzimuths();
    const double k = DegToRad;
    el.AzIn = AzimuthOf(exact, in.IpX - in.BpX, in.IpY - in.BpY);
    el.DistIn = Dist(in.IpX - in.BpX, in.IpY - in.BpY);
    el.AzOut = AzimuthOf(exact, in.EpX - in.IpX, in.EpY - in.IpY);
    const QString refusal = CurveElem(in.Radius, settings.limits(), el);

    const double back = (el.DistIn - el.TL) - el.TL / 2;
    el.TanAX = in.BpX + std::cos(el.AzIn * k) * back;
    el.TanAY = in.BpY + std::sin(el.AzIn * k) * back;
    const double ahead = el.TL / 2 + el.TL;
    el.TanBX = in.IpX + std::cos(el.AzOut * k) * ahead;
    el.TanBY = in.IpY + std::sin(el.AzOut * k) * ahead;

    const Located bc = LocPoint(in.BpX, in.BpY, el.AzIn, el.DistIn - el.TL, el.RadSigned);
    el.BcX = bc.LocX;
    el.BcY = bc.LocY;
    el.CenX = bc.CenX;
    el.CenY = bc.CenY;

    el.EcX = in.IpX + std::cos(el.AzOut * k) * el.TL;
    el.EcY = in.IpY + std::sin(el.AzOut * k) * el.TL;
    if (el.CenX == in.IpX && el.CenY == in.IpY)
        el.AzCenIP = 0;
    else
        el.AzCenIP = AzimuthOf(exact, in.IpX - el.CenX, in.IpY - el.CenY);
    el.SpX = el.CenX + std::cos(el.AzCenIP * k) * std::fabs(el.RadSigned);
    el.SpY = el.CenY + std::sin(el.AzCenIP * k) * std::fabs(el.RadSigned);
    el.HalfCL = el.CL / 2;
    return refusal;
}

QString CurveElem(double radius, const Limits& limits, CornerElements& el)
{
    const double k = DegToRad;
    double Rad = radius;
    double d = el.AzOut - el.AzIn;
    if (d < 0) d = d + 360;
    if (d > 180) {
        d = 360 - d;
        Rad = -std::fabs(Rad);
    } else {
        Rad = std::fabs(Rad);  // a straight reversal (d = 180) counts as clockwise
    }
    el.IAWork = d;
    el.TurnSign = static_cast<int16_t>(Rad > 0 ? 1 : (Rad < 0 ? -1 : 0));
    el.RadSigned = Rad;
    el.IA = d;
    el.RadAbs = std::fabs(Rad);
    el.CL = el.RadAbs * (d * PiVal / 180);
    el.TL = std::tan(d / 2 * k) * el.RadAbs;
    el.SL = el.RadAbs * (1 / std::cos(d / 2 * k) - 1);
    el.M = el.RadAbs * (1 - std::cos(d / 2 * k));
    if (el.DivCount != 0) return {};

    // The smallest count whose division keeps its external secant within the ordinate limit, then
    // raised until one division's arc is within the LP limit. Both loops stop at the largest count
    // the sheets can list; a NaN comparison ends them at once.
    double divTry = 1;
    while (el.RadAbs * (1 / std::cos(d / (2 * divTry) * k) - 1) > limits.M) {
        if (divTry >= kMaxDivCount) return TooManyDivisions();
        divTry = divTry + 1;
    }
    auto divLP = static_cast<int16_t>(divTry);
    while (limits.LP < el.CL / divLP) {
        if (divLP >= kMaxDivCount) return TooManyDivisions();
        ++divLP;
    }
    el.DivCount = divTry > divLP ? divTry : divLP;
    return {};
}

Located LocPoint(double PtX, double PtY, double AzBase, double DistBC, double Rad)
{
    const double k = DegToRad;
    Located r;
    r.LocX = PtX + std::cos(AzBase * k) * DistBC;
    r.LocY = PtY + std::sin(AzBase * k) * DistBC;
    r.CenX = r.LocX + std::cos((AzBase + 90) * k) * Rad;
    r.CenY = r.LocY + std::sin((AzBase + 90) * k) * Rad;
    return r;
}

RowValues DivRowValues(double RowRad, double IARad, double DivCount, double RowTrig, double RowOrdFactor)
{
    RowValues r;
    r.RowRad = RowRad;
    r.ArcPerDiv = RoundDig((RowRad * IARad) / DivCount, 4, 1);
    r.ChordPerDiv = RoundDig(RowRad * (2 * RowTrig), 4, 1);
    r.OrdPerDiv = RoundDig(RowRad * RowOrdFactor, 4, 1);
    r.ArcChordDiff = RoundDig(r.ArcPerDiv - r.ChordPerDiv, 4, 1);
    return r;
}

}  // namespace tovanel
