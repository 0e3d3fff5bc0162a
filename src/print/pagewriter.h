// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The page writer: places every text of the sheets, given in layout millimetres and nominal point
// sizes designed for A4, on the page-layout component, scaled to the paper in use.
//
// Layout millimetres are measured from the layout origin (OrgX, OrgY). One layout millimetre is
// MmUnit twips, PaperScale × 56.7 held in single precision, so positions scale with the paper;
// font sizes scale by PaperScale and are cut to whole points.

#include <QString>

namespace tovanel {

struct CalcState;
class PageLayout;

/// Twips per millimetre on paper, as the layout counts it (MmUnit holds it in single precision).
inline constexpr double kTwipsPerLayoutMm = 56.7;

/// The font every sheet is written in.
QString SheetFontName();

/// Scale and name of a paper code: 8 → 1.41 "A3", 9 → 1 "A4", 12 → 1.19 "B4",
/// 13 → 0.8666 "B5", anything else → 1 "定型外".
struct PaperInfo {
    double scale = 1;
    QString name;
};
PaperInfo PaperFromCode(int code);

/// Page set-up, run before anything is written: MmUnit, PaperScale and PaperName from the
/// component's paper, landscape forced, the sheet font selected.
void PageSetup(CalcState& s, PageLayout& pl);

/// Writes msg with its top at layout (X, Y) millimetres in Int(PaperScale × fon) points.
/// AlignMode 2 centres it in the AlignWidth-millimetre box starting at X; 3 ends it 1 mm before
/// that box's right edge; any other value starts it at X. The text width is the component's
/// measure rounded half to even to whole twips.
void vspri(CalcState& s, PageLayout& pl, const QString& msg, double X, double Y, double fon);

}  // namespace tovanel
