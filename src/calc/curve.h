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

/// Why this state cannot be computed (Japanese, one line), or empty when it can: a non-finite
/// input, a division count that is negative or above kMaxDivCount, or, when the count has to be
/// chosen, a middle-ordinate or LP limit of 0 or below.
QString CalcRefusal(const CornerInput& in, const Limits& limits);

/// Refusal of a result that cannot be written out: a value that would print as "inf" or "nan".
QString TooLargeToPrint();

/// The elements and main points of `in` into `el` (MainPts), with el.DivCount starting as the
/// count given. Refuses (returns the reason, `el` untouched) when CalcRefusal does; otherwise
/// returns MainPts' refusal, or a refusal when values overflow so that an element or main point is
/// not finite (el.DivCount is then the count given).
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

/// Why a computed corner is degenerate, one Japanese line per reason (empty when it is not): BP,
/// IP or EP coinciding, a zero radius, IA of 0 or 180 degrees, no positive inner radius.
QStringList DegenerateCorner(const CornerInput& in, const CornerElements& el);

}  // namespace tovanel
