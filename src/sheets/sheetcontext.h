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

/// Working values of the block-point sheet, overwritten per kind and per row.
struct BlockWork {
    QString KindName;
    QString PtNamePrefix;  ///< prefix of this kind's point names (from the settings)
    QString PtName;        ///< the current row's point: "BC", " 1" …, "EC"
    QString OutText;       ///< the current row's full name: IP number, prefix, point
    double KindRad = 0;    ///< ρ, radius of this kind's curve
    double PtRad = 0;      ///< centre distance of the current row's point
    double VertexRad = 0;  ///< centre distance of intermediate points (ρ, or ρ / cos(IA/2N))
    double ChordFull = 0, ChordEnd = 0, ChordLen = 0;
    double ArcFull = 0, ArcHalf = 0, ArcLen = 0;
    double RadAz = 0;      ///< azimuth centre → current point, degrees
    double ChordAz = 0;    ///< direction angle of the current step, degrees
    double RadStep = 0;
    double Deflect = 0;    ///< 180 = the step goes on in the previous direction
    int RowIdx = 0;
    int RowLast = 0;
    int EndDiv = 1;
    int PolyMode = 0;
    int HalfEnds = 0;
    double RowX = 0, RowY = 0;
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
