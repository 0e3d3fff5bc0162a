// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The page writer: places every text of the sheets, given in layout millimetres and nominal point
// sizes designed for A4, on the page-layout component, scaled to the paper in use.
//
// Layout millimetres are measured from the layout origin (OrgX, OrgY). One layout millimetre is
// MmUnit twips, PaperScale × 56.7 held in single precision, so positions scale with the paper;
// font sizes scale by PaperScale and are cut to whole points.

#include <QString>
#include <cstdint>

namespace tovanel {

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

/// Where vspri puts a text in its box.
enum class TextAlign : int16_t {
    Start = 1,   ///< starts at X
    Centre = 2,  ///< centred in the AlignWidth-millimetre box starting at X
    End = 3,     ///< ends 1 mm before that box's right edge
};

/// The page writer: the component it writes on and where and how it writes.
struct PageWriter {
    explicit PageWriter(PageLayout& layout) : pl(layout) {}

    PageLayout& pl;
    float MmUnit = 56.7f;  ///< twips per layout millimetre
    float OrgX = 0, OrgY = 0;  ///< layout origin, millimetres
    TextAlign AlignMode = TextAlign::Start;
    float AlignWidth = 0;  ///< millimetres of the box a centred or right-aligned text sits in
    double PaperScale = 1;
    QString PaperName;
    double LineY = 0;    ///< the line being written, layout millimetres
    float TextSize = 0;  ///< nominal point size of the body text
};

/// Page set-up, run before anything is written: MmUnit, PaperScale and PaperName from the
/// component's paper, landscape forced, the sheet font selected.
void PageSetup(PageWriter& w);

/// Writes msg with its top at layout (X, Y) millimetres in Int(PaperScale × fon) points, placed
/// in its box by AlignMode. The text width is the component's measure rounded half to even to
/// whole twips.
void vspri(PageWriter& w, const QString& msg, double X, double Y, double fon);

}  // namespace tovanel
