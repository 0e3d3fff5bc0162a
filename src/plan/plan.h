// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The plan drawing of one corner or of a whole district: every corner's tangents (BP–IP–EP), the
// circle centre, the centre, inner and outer curves as true arcs, the stake points and their
// names, north (survey X) up and east (survey Y) right, with a north arrow and a scale bar. One
// paint routine serves the screen, the SVG file and the PDF file.

#include "calc/corner.h"
#include "calc/exportlist.h"
#include "calc/settings.h"

#include <QByteArray>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <array>
#include <vector>

class QPainter;

namespace tovanel {

/// Which curve a drawn stake point belongs to.
enum class StakeCurve : unsigned char { Main, Centre, Inner, Outer };

/// One corner as the plan draws it.
struct PlanCorner {
    CornerInput in;               ///< always set: the three points are drawn even when refused
    CornerElements el;            ///< valid when refusal is empty
    QString refusal;              ///< why the corner cannot be computed (Japanese); empty when computed
    std::vector<ExportPoint> stakes;  ///< every stake point with its name, exactly the points the sheets and files name
    std::vector<StakeCurve> stakeCurves;  ///< per stake: the curve it stakes (BC, SP, EC, centre: Main)
    /// Drawing extent, east (Y) along x and north (X) along y, metres; the three points when
    /// refused. A single point gives a rectangle of no size.
    QRectF bounds;
    bool drawable = false;  ///< false when not one point of the corner is finite: nothing is drawn
};

/// The trial calculation of `in` and the stake points the sheets would name, without composing a
/// page. A corner the trial, the sheets or the geometry refuse keeps its inputs and the reason.
PlanCorner PlanCornerOf(const CornerInput& in, const Settings& settings);

/// What part of the plane is shown, and how large.
struct PlanViewport {
    QPointF centre;  ///< survey position at the middle: x = Y (east), y = X (north), metres
    double pixelsPerMetre = 1;
    QSizeF size;     ///< pixels (device units of the painter)

    /// The device position of survey point (X north, Y east).
    QPointF toDevice(double X, double Y) const
    {
        return {size.width() / 2 + (Y - centre.x()) * pixelsPerMetre,
                size.height() / 2 - (X - centre.y()) * pixelsPerMetre};
    }
    /// The survey position under a device position: x = Y (east), y = X (north).
    QPointF toPlane(QPointF device) const
    {
        return {centre.x() + (device.x() - size.width() / 2) / pixelsPerMetre,
                centre.y() - (device.y() - size.height() / 2) / pixelsPerMetre};
    }
    /// The plane rectangle (east along x, north along y) the viewport shows.
    QRectF visiblePlane() const;
};

/// The zoom range: from 1 pixel for 10 km to 2000 pixels per metre (half a millimetre a pixel).
inline constexpr double kMinPixelsPerMetre = 1e-4;
inline constexpr double kMaxPixelsPerMetre = 2000;

/// Every corner in view, centred, with a margin of a tenth of the smaller side each way. A view of
/// nothing drawable is centred on the origin at 1 pixel per metre.
PlanViewport FitAll(const std::vector<PlanCorner>& corners, QSizeF size);
/// The same for the corners of `rows` only (indices into `corners`; others are ignored).
PlanViewport FitRows(const std::vector<PlanCorner>& corners, const std::vector<int>& rows, QSizeF size);

/// Height of a corner's point names in metres, in proportion to its radius: R / 15, between
/// 0.3 m and 3 m, so that at the zoom where they become legible the stakes stand far enough
/// apart for their names.
double NameHeight(const PlanCorner& corner);

/// Names are drawn only when they come out at least this tall on the device, and at most this.
inline constexpr double kMinLabelPixels = 7;
inline constexpr double kMaxLabelPixels = 16;

/// How much of each corner is drawn.
enum class PlanDetail {
    /// On a screen: a corner under 4 pixels is a dot, one under 40 pixels its lines only; names
    /// at least kMinLabelPixels tall (at most kMaxLabelPixels), never covering one another.
    Screen,
    /// In a file, which a viewer zooms: every corner whole, every name at its height in metres
    /// beside its point, as the DXF holds them.
    Whole,
};

/// Paints `corners` as `view` shows them onto `p` (its device units are the viewport's pixels):
/// a white background, the corners (those of `selected` highlighted), then the north arrow and
/// the scale bar. Corners outside the viewport are skipped.
void PaintPlan(QPainter& p, const std::vector<PlanCorner>& corners, const PlanViewport& view,
               const std::vector<int>& selected, PlanDetail detail = PlanDetail::Screen);

/// Colours of the drawing, for the windows that show it and the tests that read it.
namespace plancolour {
inline constexpr unsigned kTangent = 0x404040;
inline constexpr unsigned kCentre = 0xC00000;  ///< centre curve and its stakes (DXF layer colour 1, red)
inline constexpr unsigned kInner = 0x008000;   ///< inner curve (colour 3, green)
inline constexpr unsigned kOuter = 0x0000C0;   ///< outer curve (colour 5, blue)
inline constexpr unsigned kMain = 0x000000;    ///< BC, SP, EC and the circle centre
inline constexpr unsigned kRefused = 0xFF8C00; ///< a refused corner's three points (warning)
inline constexpr unsigned kSelected = 0xFFD84D; ///< the halo under a selected corner
}  // namespace plancolour

/// The size the files are drawn at: 1600 pixels wide, as tall as the corners' extent needs
/// (between 600 and 2400 pixels).
QSizeF PlanFileSize(const std::vector<PlanCorner>& corners);

/// The drawing of every corner (FitAll at PlanFileSize, PlanDetail::Whole) as an SVG file into
/// `out`. Empty, or why not (Japanese); `out` is untouched then.
QString PlanSvgFile(const std::vector<PlanCorner>& corners, QByteArray& out);
/// The same drawing as a one-page PDF file, on a page of PlanFileSize at 96 dpi.
QString PlanPdfFile(const std::vector<PlanCorner>& corners, QByteArray& out);
/// PlanSvgFile / PlanPdfFile written to `path` through the atomic writer (a failure leaves the
/// previous file). Empty, or why not ("平面図 PATH を保存できません: …").
QString WritePlanSvg(const QString& path, const std::vector<PlanCorner>& corners);
QString WritePlanPdf(const QString& path, const std::vector<PlanCorner>& corners);

/// The nearest drawn point (a stake, BP, IP or EP) to a device position within `tolerance`
/// pixels: its corner's row and the point, or row −1.
struct PlanHit {
    int row = -1;
    ExportPoint point;
};
PlanHit PointAt(const std::vector<PlanCorner>& corners, const PlanViewport& view, QPointF device,
                double tolerance);
/// The corner drawn at a device position: a point of it within `tolerance` pixels, else the band
/// between its inner and outer curve, else one of its tangents. −1 when none.
int CornerAt(const std::vector<PlanCorner>& corners, const PlanViewport& view, QPointF device,
             double tolerance);

}  // namespace tovanel
