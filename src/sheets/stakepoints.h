// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The stake points of a corner as pure geometry: the four main points of the elements sheet and,
// for the centre, inner and outer curve, every row of the block-point sheet. The sheets print
// these rows and the plan drawing draws them, so both name the same points at the same
// coordinates; nothing here measures or lays out text.

#include "calc/corner.h"
#include "calc/exportlist.h"
#include "calc/settings.h"

#include <QString>
#include <array>
#include <vector>

namespace tovanel {

/// A deflection of 180 degrees means "no turn": the step keeps the previous direction.
inline constexpr double kStraightOn = 180;

/// One row of the block-point sheet: a stake point and the step that reaches it.
struct StakeRow {
    QString name;         ///< IP number, the curve's prefix, then "BC", " 1" … or "EC"
    double deflect = 0;   ///< deflection, degrees; kStraightOn: the step goes straight on
    double chordAz = 0;   ///< direction angle of the step, degrees, as it stands after this row
    double chordLen = 0;  ///< chord of the step, metres, unrounded
    double arcLen = 0;    ///< arc of the step, metres, unrounded
    double x = 0, y = 0;  ///< the point, survey coordinates (X north, Y east)
};

/// The rows of one curve, from BC to the closing row.
struct StakeKind {
    const char16_t* kindName = u"";  ///< "中心点", "内周点", "外周点"
    std::vector<StakeRow> rows;      ///< rows 0 .. N + 1 (inscribed chords) or 0 .. N + 2
    /// How many of the first rows go to the export list: the closing row of the chord scheme
    /// repeats no point, while the other schemes' closing row repeats EC (listed twice in a row).
    int exported = 0;
};

/// The centre, inner and outer curve in that order (the inner one is the curve of radius R − Wi;
/// its names carry the outer prefix on a counter-clockwise turn). Empty kinds for a calculation
/// type outside 0..3 or a division count the sheets refuse (see ComposeRefusal).
std::array<StakeKind, 3> StakeKinds(const Corner& corner, const Settings& settings);

/// How many export-list entries the sheet appends for the centre, inner and outer curve, in that
/// order, for the corner's calculation type and division count: N + 1 for inscribed chords, N + 3
/// for the polygon and half-division schemes, whose EC is appended twice. Zeros for a type outside
/// 0..3 or a count the sheets refuse. The entries follow the elements sheet's four.
std::array<int, 3> BlockExportCounts(const Corner& corner);

/// BC, SP and EC with their names ("BC " + IP number …) and the circle centre ("M " + IP number),
/// in the order the elements sheet lists them.
std::array<ExportPoint, 4> MainPoints(const Corner& corner);

/// Every point the document names, in naming order, exactly as a composition fills its export
/// list: the four main points, then each curve's exported rows (EC twice in a row where the
/// scheme repeats it). Empty for a corner the sheets refuse (ComposeRefusal).
ExportList StakeList(const Corner& corner, const Settings& settings);

/// The points as they are handed on to the clipboard and the point files: ExportPoints of
/// StakeList.
std::vector<ExportPoint> StakePoints(const Corner& corner, const Settings& settings);

}  // namespace tovanel
