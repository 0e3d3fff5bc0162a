// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the sheets write with: the corner and the settings they print, the page writer, the export
// list they fill, and the working values of the stake sketch and the block-point sheet, which live
// as long as one composition.

#include "calc/corner.h"
#include "calc/exportlist.h"
#include "calc/settings.h"
#include "print/pagewriter.h"

#include <QString>
#include <cmath>
#include <initializer_list>

namespace tovanel {

/// The stake sketch's box and scale. Box values are survey coordinates (X north, Y east).
struct SketchBox {
    double BoxXMax = 0, BoxYMax = 0;
    double BoxXMin = 0, BoxYMin = 0;  ///< after centring: the drawing square's lower left corner
    float SketchOrgX = 0;             ///< page mm (origin included) of that corner
    float SketchOrgY = 0;
    double SketchScale = 0;           ///< S of 1:S; 0 = nothing drawn
};

/// Working values of the block-point sheet: the kind whose rows are being listed (its pages'
/// heading names it). The rows themselves are StakeKinds'.
struct BlockWork {
    QString KindName;
};

struct SheetContext {
    const CornerInput& in;
    const CornerElements& el;
    const Settings& settings;
    PageWriter& w;
    ExportList& exports;
    SketchBox sketch;
    BlockWork block;
    /// Set when a length or coordinate about to be written was not finite: the composition is
    /// then refused rather than printing "inf" or "nan".
    bool unprintable = false;

    /// Notes the values about to be written.
    void check(std::initializer_list<double> values)
    {
        for (double v : values) unprintable = unprintable || !std::isfinite(v);
    }
};

}  // namespace tovanel
