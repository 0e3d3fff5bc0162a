// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Curve element computation: tangents, intersection angle, elements, main points, the division
// count and the division values of one curve row. All routines read and write the state.

#include <QString>

namespace tovanel {

struct CalcState;

/// Largest division count the program works with: every sheet lists N + 3 points per curve and a
/// count has to fit the 16-bit counters of the listing; larger counts are refused.
inline constexpr int kMaxDivCount = 1000;

/// Why this state cannot be computed (Japanese, one line), or empty when it can: a non-finite
/// input, a division count that is negative or above kMaxDivCount, or, when the count has to be
/// chosen, a middle-ordinate or LP limit of 0 or below.
QString CalcRefusal(const CalcState& s);

/// Copies CurveIn into the working members and runs MainPts. Refuses (returns the reason and
/// changes nothing) when CalcRefusal does; otherwise returns MainPts' refusal, or a refusal when
/// values overflow so that an element or main point is not finite (DivCount is then left as given).
[[nodiscard]] QString LoadIn(CalcState& s);

/// Azimuths, elements (CurveElem), tangent construction points, BC, centre, EC and SP.
/// Returns empty, or CurveElem's refusal (the main points are computed all the same).
[[nodiscard]] QString MainPts(CalcState& s);

/// Turn direction, IA, CL, TL, SL, M and, when DivCount is 0, the division count from the limits.
/// A count that the limits would push above kMaxDivCount is refused: DivCount stays 0 and the
/// reason is returned.
[[nodiscard]] QString CurveElem(CalcState& s);

/// From PtX/PtY along AzBase by DistBC: LocX/LocY, and the centre CenX/CenY beside it at Rad
/// (a negative radius puts the centre on the left).
void LocPoint(CalcState& s);

/// The division values of the row whose radius is RowRad, from IARad, DivCount, RowTrig and
/// RowOrdFactor: ArcPerDiv, ChordPerDiv, OrdPerDiv, ArcChordDiff, each rounded to 4 decimals.
void DivRowValues(CalcState& s);

}  // namespace tovanel
