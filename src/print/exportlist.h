// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The export list: every point the sheets name, in the order they name them, and the plain text
// that hands the list back to the CAD system through the clipboard.

#include <QString>
#include <vector>

namespace tovanel {

struct CalcState;

/// Appends the staged point (ExpName, ExpX, ExpY) as entry ExpCount + 1. The list grows as
/// needed: a document of the largest division count names about 3 × 1003 + 4 points.
void PointAdd(CalcState& s);

/// Empties the list (ExpCount 0).
void ClearExportList(CalcState& s);

/// One point as it leaves the program: its name and survey coordinates (X north, Y east).
struct ExportPoint {
    QString name;
    double x = 0;
    double y = 0;
};

/// The points of the list as they are handed on, in list order: an entry whose name equals the
/// previous entry's is left out (EC listed twice in a row is handed on once); the first is
/// compared with "". The clipboard text and every point file hold exactly these.
std::vector<ExportPoint> ExportPoints(const CalcState& s);

struct ExportText {
    QString text;   ///< one line per written point, each ending in CR LF
    int count = 0;  ///< lines written
};

/// The clipboard text of ExportPoints. Each line is the lead-in (nothing when the CAD edition
/// setting IniStr[5] is exactly "1", a TAB otherwise), the name, TAB, X, TAB, Y, CR LF, with the
/// coordinates in up to 15 significant digits.
ExportText BuildExportText(const CalcState& s);

/// The message that reports the written count: the count with a blank in place of a plus sign,
/// then "点の座標値をクリップボードに貼り付けました。".
QString ExportMessage(int count);

}  // namespace tovanel
