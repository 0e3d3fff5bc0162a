// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The curve elements calculation sheet: IP, azimuths, IA and R, the curve elements, the circle
// centre, N, and the table of the three main points, each row carrying the division elements of
// one of the three curves (inner, centre, outer). Its right half holds the stake sketch.

namespace tovanel {

struct SheetContext;

/// Composes the sheet on the current page from LineY = 0, hands BC, SP, EC and the circle centre
/// ("M " + IP number) to the export list in that order, and draws the stake sketch last.
/// Leaves Rad at the radius as typed and LineY at the last main-point row.
void f_overl(SheetContext& c);

/// One main-point row: the division values of RowRad (rounded to 4 decimals), LineY advanced by
/// 7 × PaperScale, then PtNamePrefix, OutText and eight right-aligned numbers.
void f_OVERL1(SheetContext& c);

}  // namespace tovanel
