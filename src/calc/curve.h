// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Curve element computation: tangents, intersection angle, elements, main points, the division
// count and the division values of one curve row. Each routine takes the corner and the settings
// it reads and fills the elements it computes.

#include "calc/corner.h"
#include "calc/settings.h"

#include <QString>
#include <QStringList>

namespace tovanel {

/// Largest division count the program works with: every sheet lists N + 3 points per curve and a
/// count has to fit the 16-bit counters of the listing; larger counts are refused.
inline constexpr int kMaxDivCount = 1000;

/// What a corner that can be staked keeps within (metres, degrees). The magnitudes lie far beyond
/// any survey and are refused before anything is computed, so that no writer is handed a number
/// it cannot print; the angles and lengths keep a curve that exists and can be set out.
/// |X|, |Y| of BP, IP and EP: below 10,000 km, what the sheets' 13-character coordinate fields
/// hold with four decimals (−9999999.9999).
inline constexpr double kMaxCoordinate = 1e7;
/// R: above 0, at most 10 km.
inline constexpr double kMaxRadius = 1e4;
/// |Wi|, |Wo|: at most 1 km.
inline constexpr double kMaxWidth = 1e3;
/// BP–IP and IP–EP: at least 0.1 mm, the last digit the sheets print; shorter is the same point.
inline constexpr double kMinTangent = 1e-4;
/// IA: at least 0°01′. Below it the three points are as good as one straight line: the curve
/// would lie within the rounding of the tangents, and the guarded azimuths alone can be 2″ off.
inline constexpr double kMinIA = 1.0 / 60;
/// IA: at most 179°. Beyond it EP turns back along the back tangent and TL (R·tan(IA/2), over
/// 114 R at 179°) runs towards infinity; TL, CL, SL and M must also fit the sheets' fields.
inline constexpr double kMaxIA = 179;

/// Why this state cannot be computed (Japanese, one line), or empty when it can: a non-finite
/// input, a coordinate, radius or width beyond the bounds above, a radius of 0 or below, a
/// division count that is negative or above kMaxDivCount, or, when the count has to be chosen, a
/// middle-ordinate or LP limit of 0 or below.
QString CalcRefusal(const CornerInput& in, const Limits& limits);

/// Why the corner whose main points `el` holds cannot be staked (Japanese, one sentence per
/// reason, empty when it can): BP on IP or IP on EP (a tangent shorter than kMinTangent), an
/// intersection angle below kMinIA (no turn) or above kMaxIA (a reversal) — taken both from the
/// coordinates themselves and from the azimuths the sheets print — or the curve at the inner or
/// outer width with a radius of 0 or below.
QStringList StakeRefusal(const CornerInput& in, const CornerElements& el);

/// Why a value cannot be written into its fixed field of the listing or the elements sheet
/// (`decimals` decimals, `width` characters, which would cut off its leading digits), naming it
/// as `name`; empty when it fits.
QString FieldRefusal(const QString& name, double value, int decimals, int width);

/// Warnings for a computed corner that is staked all the same (Japanese, one line each, empty
/// when there is none): the curve runs past BP (TL longer than BP–IP) or past EP (TL longer than
/// IP–EP), compared as the sheets print them, to 0.1 mm.
QStringList CornerWarnings(const CornerInput& in, const CornerElements& el);

/// Refusal of a result that cannot be written out: a value that would print as "inf" or "nan".
QString TooLargeToPrint();

/// The elements and main points of `in` into `el` (MainPts), with el.DivCount starting as the
/// count given. Refuses (returns the reason, `el` untouched) when CalcRefusal does; otherwise
/// returns StakeRefusal's reasons as one line, MainPts' refusal, or a refusal when values
/// overflow so that an element or main point is not finite (el.DivCount is then the count given).
[[nodiscard]] QString LoadIn(const CornerInput& in, const Settings& settings, CornerElements& el);

/// Azimuths, elements (CurveElem), tangent construction points, BC, centre, EC and SP.
/// Returns empty, or CurveElem's refusal (the main points are computed all the same).
[[nodiscard]] QString MainPts(const CornerInput& in, const Settings& settings, CornerElements& el);

/// From AzIn and AzOut: turn direction, IA, CL, TL, SL, M and, when el.DivCount is 0, the
/// division count from the limits. `radius` is the radius as typed. A count that the limits would
/// push above kMaxDivCount is refused: el.DivCount stays 0 and the reason is returned.
[[nodiscard]] QString CurveElem(double radius, const Limits& limits, CornerElements& el);

/// The point found by LocPoint and the centre beside it.
struct Located {
    double LocX = 0, LocY = 0;
    double CenX = 0, CenY = 0;
};

/// From (PtX, PtY) along AzBase by DistBC: the point, and the centre beside it at Rad (a negative
/// radius puts the centre on the left).
Located LocPoint(double PtX, double PtY, double AzBase, double DistBC, double Rad);

/// The division values of the curve of radius RowRad, from IARad, the division count and the
/// row's trigonometric factors (sin and 1 − cos of IA/2N inside, tan and 1/cos − 1 outside).
RowValues DivRowValues(double RowRad, double IARad, double DivCount, double RowTrig, double RowOrdFactor);

}  // namespace tovanel
