// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The curve elements calculation sheet: IP, azimuths, IA and R, the curve elements, the circle
// centre, N, and the table of the three main points, each row carrying the division elements of
// one of the three curves (inner, centre, outer). Its right half holds the stake sketch.

#include "calc/corner.h"

#include <QString>

namespace tovanel {

struct SheetContext;

/// Composes the sheet on the current page from LineY = 0, hands BC, SP, EC and the circle centre
/// ("M " + IP number) to the export list in that order, and draws the stake sketch last.
/// Leaves LineY at the last main-point row.
void f_overl(SheetContext& c);

/// One main-point row of the table: which point, which curve, and that curve's half width and
/// division values.
struct MainPointRow {
    QString PtNamePrefix;  ///< "BC " + IP number …
    QString OutText;       ///< "内 周" …
    double PtX = 0, PtY = 0;
    double RowHalfWidth = 0;
    RowValues row;
};

/// Writes one main-point row: LineY advanced by one line, then the name, the curve and eight
/// right-aligned numbers.
void f_OVERL1(SheetContext& c, const MainPointRow& r);

}  // namespace tovanel
