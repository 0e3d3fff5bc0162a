// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The drawing of one or more corners as a DXF file (written by dxflib; release 2000, code page
// 932, so that CAD programs here and independent readers get the names back exactly). Drawing
// coordinates: x = survey Y (east), y = survey X (north), in metres.
//
// Layers: TANGENT (BP–IP and IP–EP), CURVE_CENTRE / CURVE_INNER / CURVE_OUTER (the curves as
// true arcs), STAKE_CENTRE / STAKE_INNER / STAKE_OUTER (the staking path of each curve, one
// polyline through its points in order), POINT (every exported point) and POINT_NAME (its name
// beside it). A curve's layers follow the names of its points: INNER holds the curve whose points
// carry the inner prefix (内周点名), OUTER the one with the outer prefix. On a right-hand curve
// these are the curves at R − inner width and R + outer width; on a left-hand curve the point
// names, and so the layers, are the other way round.
//
// The names are TEXT in the style "Standard", whose font is the TrueType "msgothic.ttc" (the
// Japanese Gothic of every Japanese Windows; a reader without it puts its own font in its place).
// Their height is 2.5 mm on paper at the drawing's scale (1.25 m at 1/500). Each name lies along
// the radius through its point, half its height clear of the point: the main points BC, SP and EC
// towards the centre, the centre curve's points away from it, the curve at R − Wi towards and the
// one at R + Wo away from the centre on the other side of the radial line, so that names of points
// on one spot or one radius never cover each other. Points show as a circle with a cross
// ($PDMODE 34) half the name height across; $EXTMIN / $EXTMAX and the saved view (*Active) hold
// every line, arc, point and name.

#include "calc/exportlist.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <memory>
#include <vector>

class QIODevice;

namespace tovanel {

struct Corner;

/// The drawing scale when none is given: 1/500.
inline constexpr double kDefaultDxfScale = 500;
/// The scale denominators the drawing takes, 1/1 to 1/100,000.
inline constexpr double kMinDxfScale = 1, kMaxDxfScale = 1e5;
/// Height of the point names on paper, millimetres.
inline constexpr double kNamePaperHeightMm = 2.5;
/// The largest magnitude of a coordinate or radius the drawing takes, metres: far beyond any
/// survey, and far within what the library can write (its numbers go through a fixed buffer).
inline constexpr double kMaxDxfValue = 1e9;

/// Where a point's name goes: along the radius through the point, outward or inward, on one side
/// of that radial line (A) or the other (B); or, for the centre, to its right.
enum class LabelPlace { OutwardA, OutwardB, InwardA, InwardB, Beside };

/// A survey position: X north, Y east.
struct SurveyXY {
    double x = 0;
    double y = 0;
};

/// What the drawing shows of one corner.
struct DxfCorner {
    SurveyXY bp, ip, ep;
    SurveyXY centre;
    /// Radii of the centre curve and of the curves whose points carry the inner and the outer
    /// prefix (see above); a curve whose radius is not positive has no arc.
    std::array<double, 3> radius{};
    double azBC = 0;  ///< azimuth centre → BC, degrees
    double ia = 0;    ///< intersection angle, degrees (the arc's sweep)
    int turn = 0;     ///< +1 the curve turns clockwise, −1 counter-clockwise
    /// Staking path of the same three curves: its points from BC to EC.
    std::array<std::vector<SurveyXY>, 3> paths;
    std::vector<ExportPoint> points;  ///< exactly the exported points, names included
    /// Where each point's name goes, by the index in `points`; a point beyond its end is named
    /// outward, on side A.
    std::vector<LabelPlace> places;
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
    /// A drawing at 1 : `scale` (kMinDxfScale to kMaxDxfScale), which sets the names' height.
    explicit DxfStream(double scale = kDefaultDxfScale);
    ~DxfStream();
    /// Starts the drawing. Returns empty, or why it cannot (a scale out of range, no temporary
    /// file).
    [[nodiscard]] QString begin();
    /// Adds a corner; a point name, or a number (not finite, or beyond kMaxDxfValue) that cannot
    /// be written, returns why and adds nothing.
    [[nodiscard]] QString add(const DxfCorner& corner);
    /// Finishes the drawing and writes the whole file to `out`. Returns empty, or why not.
    [[nodiscard]] QString end(QIODevice& out);

private:
    struct Body;
    /// The names' height in the drawing, metres.
    double NameHeight() const;
    double m_scale;
    std::unique_ptr<Body> m_body;
};

/// The DXF file of `corners` at 1 : `scale`. Returns empty and fills `out`, or returns why not (a
/// name or number that cannot be written, the library failing or cut short).
QString DxfFile(const std::vector<DxfCorner>& corners, QByteArray& out, double scale = kDefaultDxfScale);

}  // namespace tovanel
