// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The block-point curve calculation sheet: for the centre, inner and outer curve in turn, every
// stake point from BC to EC with deflection, direction angle, chord, arc and coordinates, by the
// division scheme of the calculation type (inscribed chords, circumscribed polygon, or half
// divisions at both ends). Each kind starts on a new page; a full page continues on the next with
// the same heading. Every listed point goes to the export list under its printed name.

#include <array>

namespace tovanel {

struct Corner;
struct SheetContext;

/// The whole sheet. CalcType must be 0..3 (out1 refuses other values before calling it).
void BlockSheet(SheetContext& c);

/// How many export-list entries the sheet appends for the centre, inner and outer curve, in that
/// order, for the corner's calculation type and division count: N + 1 for inscribed chords, N + 3
/// for the polygon and half-division schemes, whose EC is appended twice. Zeros for a type outside
/// 0..3 or a count the sheets refuse. The entries follow the elements sheet's four.
std::array<int, 3> BlockExportCounts(const Corner& corner);

/// Step lengths of inscribed chords: ChordFull of a division, ChordEnd of 1/EndDiv of one.
void ChordSides(SheetContext& c);
/// Step lengths of the circumscribed polygon: full side, half side; the corners' radius.
void PolySides(SheetContext& c);
/// Lists the current kind, rows 0 to RowLast.
void BlockRows(SheetContext& c);
/// Page break: a new page with the heading when LineY is 0 or beyond 170.
void Kai_PG(SheetContext& c);
/// The page heading at LineY; advances LineY by two lines.
void BlockHead(SheetContext& c);

void RowLabel(SheetContext& c);
void RowAngles(SheetContext& c);
void RowLengths(SheetContext& c);
void RowCoords(SheetContext& c);

}  // namespace tovanel
