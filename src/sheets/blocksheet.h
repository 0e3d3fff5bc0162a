// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The block-point curve calculation sheet: for the centre, inner and outer curve in turn, every
// stake point from BC to EC with deflection, direction angle, chord, arc and coordinates, by the
// division scheme of the calculation type (inscribed chords, circumscribed polygon, or half
// divisions at both ends). Each kind starts on a new page; a full page continues on the next with
// the same heading. Every listed point goes to the export list under its printed name.

#include "sheets/stakepoints.h"

namespace tovanel {

struct SheetContext;

/// The whole sheet. CalcType must be 0..3 (out1 refuses other values before calling it).
void BlockSheet(SheetContext& c);

/// Lists the rows of one curve: the first on a new page, every row 7 mm (× the paper's scale)
/// below the previous one; the exported rows go to the export list.
void BlockRows(SheetContext& c, const StakeKind& kind);
/// Page break: a new page with the heading when LineY is 0 or beyond 170.
void Kai_PG(SheetContext& c);
/// The page heading at LineY; advances LineY by two lines.
void BlockHead(SheetContext& c);

void RowLabel(SheetContext& c, const StakeRow& r);
void RowAngles(SheetContext& c, const StakeRow& r);
void RowLengths(SheetContext& c, const StakeRow& r);
void RowCoords(SheetContext& c, const StakeRow& r);

}  // namespace tovanel
