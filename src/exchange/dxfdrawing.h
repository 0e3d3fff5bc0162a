// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The drawing of one or more corners as a DXF file (written by dxflib; release 2000, code page
// 932, so that CAD programs here and independent readers get the names back exactly). Drawing
// coordinates: x = survey Y (east), y = survey X (north), in metres.
//
// Layers: TANGENT (BP–IP and IP–EP), CURVE_CENTRE / CURVE_INNER / CURVE_OUTER (the curves as
// true arcs), STAKE_CENTRE / STAKE_INNER / STAKE_OUTER (the staking path of each curve, one
// polyline through its points in order), POINT (every exported point) and POINT_NAME (its name
// beside it). Inner is the curve at R − inner width, outer the one at R + outer width.

#include "calc/exportlist.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <memory>
#include <vector>

class QIODevice;

namespace tovanel {

struct Corner;

/// A survey position: X north, Y east.
struct SurveyXY {
    double x = 0;
    double y = 0;
};

/// What the drawing shows of one corner.
struct DxfCorner {
    SurveyXY bp, ip, ep;
    SurveyXY centre;
    /// Radii of the centre, inner and outer curve; a curve whose radius is not positive has no arc.
    std::array<double, 3> radius{};
    double azBC = 0;  ///< azimuth centre → BC, degrees
    double ia = 0;    ///< intersection angle, degrees (the arc's sweep)
    int turn = 0;     ///< +1 the curve turns clockwise, −1 counter-clockwise
    /// Staking path of the centre, inner and outer curve: its points from BC to EC.
    std::array<std::vector<SurveyXY>, 3> paths;
    std::vector<ExportPoint> points;  ///< exactly the exported points, names included
};

/// The drawing of a composed corner: main points and curves from the calculation, the paths and
/// points from the export list the composition filled. `blockCounts` says how many list entries
/// each curve's block points take (after the elements sheet's four), as the composition appended
/// them.
DxfCorner CornerOf(const Corner& corner, const ExportList& exports, const std::array<int, 3>& blockCounts);

/// A DXF drawing written a corner at a time, so that a drawing of many corners holds none of them
/// in memory (they go to a private temporary file).
class DxfStream {
public:
    DxfStream();
    ~DxfStream();
    /// Starts the drawing. Returns empty, or why it cannot.
    [[nodiscard]] QString begin();
    /// Adds a corner; a point name that cannot be written returns why and adds nothing.
    [[nodiscard]] QString add(const DxfCorner& corner);
    /// Finishes the drawing and writes the whole file to `out`. Returns empty, or why not.
    [[nodiscard]] QString end(QIODevice& out);

private:
    struct Body;
    std::unique_ptr<Body> m_body;
};

/// The DXF file of `corners`. Returns empty and fills `out`, or returns why not (a name that
/// cannot be written, the library failing).
QString DxfFile(const std::vector<DxfCorner>& corners, QByteArray& out);

}  // namespace tovanel
