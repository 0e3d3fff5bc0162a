// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The stake sketch: the tangents through IP, the centre curve from BC to EC and the four main
// points, to a scale 1:S (S a multiple of 100) that fits a 100 mm square, in a 120 mm frame with
// its caption. North is up, east to the right.

#include <QString>

namespace tovanel {

struct SheetContext;

/// Draws the sketch. Nothing at all is drawn when the larger range of IP and the two tangent
/// construction points is below 1 m (S = 0).
void f_overl2(SheetContext& c);

/// Widens the sketch box by the survey point (PtX, PtY).
void ExtendBox(SheetContext& c, double PtX, double PtY);

/// Marks the survey point (PtX, PtY) with a dot of 0.5 mm radius and writes `label` 2 mm right of
/// and 1 mm above it in 9 points.
void Outmoj1(SheetContext& c, double PtX, double PtY, const QString& label);

}  // namespace tovanel
