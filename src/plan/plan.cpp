// SPDX-License-Identifier: GPL-3.0-or-later
#include "plan/plan.h"

#include "calc/atomicfile.h"
#include "calc/curve.h"
#include "calc/listing.h"
#include "calc/numeric.h"
#include "print/fonts.h"
#include "sheets/composition.h"
#include "sheets/stakepoints.h"

#include <QBuffer>
#include <QFont>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <algorithm>
#include <cmath>
#include <limits>

namespace tovanel {

namespace {

bool Finite(double x, double y) { return std::isfinite(x) && std::isfinite(y); }

/// Drawing angle (degrees counter-clockwise from east) of a survey azimuth (clockwise from north).
double DrawingAngle(double azimuth)
{
    const double a = std::fmod(90 - azimuth, 360.0);
    return a < 0 ? a + 360 : a;
}

/// One curve of a computed corner as an arc: the drawing's BC angle and signed sweep.
struct Arc {
    double radius = 0;  ///< metres; not drawn unless positive
    double start = 0;   ///< drawing angle of BC, degrees counter-clockwise from east
    double sweep = 0;   ///< degrees, counter-clockwise positive (−IA on a clockwise turn)
};

/// The centre, inner and outer curve: radii R, R − Wi, R + Wo about the circle centre, from the
/// azimuth centre → BC through IA in the direction of the turn.
std::array<Arc, 3> ArcsOf(const PlanCorner& c)
{
    const CornerElements& el = c.el;
    double az = el.AzIn - 90 * el.TurnSign;
    const double start = DrawingAngle(Norm360(az));
    const double sweep = -el.TurnSign * el.IAWork;
    const double r = el.RadAbs;
    return {{{r, start, sweep}, {r - c.in.WidthIn, start, sweep}, {r + c.in.WidthOut, start, sweep}}};
}

bool Drawable(const Arc& a)
{
    return std::isfinite(a.radius) && a.radius > 0 && std::isfinite(a.start) && std::isfinite(a.sweep) &&
           a.sweep != 0 && std::fabs(a.sweep) < 360;
}

/// The extent of what is drawn, east along x and north along y; points that are not finite are
/// left out.
struct Extent {
    double minE = 0, minN = 0, maxE = 0, maxN = 0;
    bool any = false;

    void take(double east, double north)
    {
        if (!Finite(east, north)) return;
        if (!any) {
            minE = maxE = east, minN = maxN = north, any = true;
            return;
        }
        minE = std::min(minE, east), maxE = std::max(maxE, east);
        minN = std::min(minN, north), maxN = std::max(maxN, north);
    }
    void take(const PlanCorner& c)
    {
        if (!c.drawable) return;
        take(c.bounds.left(), c.bounds.top());
        take(c.bounds.right(), c.bounds.bottom());
    }
    /// The rectangle that holds every point taken. A rectangle keeps its width, not its right
    /// edge, and left + width can round below the largest value: the width is widened by the
    /// last units until the edge holds it.
    QRectF rect() const
    {
        if (!any) return {};
        const auto span = [](double lo, double hi) {
            double w = hi - lo;
            while (lo + w < hi) w = std::nextafter(w, std::numeric_limits<double>::infinity());
            return w;
        };
        return QRectF(minE, minN, span(minE, maxE), span(minN, maxN));
    }
};

QColor Colour(unsigned rgb) { return QColor(static_cast<QRgb>(rgb)); }

/// A line one device pixel wide however a viewer scales the file (cosmetic: SVG's
/// non-scaling stroke), so that a zoomed drawing keeps fine lines.
QPen Hairline(const QColor& colour)
{
    QPen pen(colour, 1);
    pen.setCosmetic(true);
    return pen;
}

/// A name that reads "BP 12" when the point was given none.
QString InputName(const QString& name, const char* role, const QString& ipNo)
{
    return name.isEmpty() ? QLatin1String(role) + QLatin1Char(' ') + ipNo : name;
}

/// The three given points with their names, in the order BP, IP, EP.
std::array<ExportPoint, 3> InputPoints(const CornerInput& in)
{
    return {{{InputName(in.BpName, "BP", in.IPNo), in.BpX, in.BpY},
             {InputName(in.IpName, "IP", in.IPNo), in.IpX, in.IpY},
             {InputName(in.EpName, "EP", in.IPNo), in.EpX, in.EpY}}};
}

}  // namespace

PlanCorner PlanCornerOf(const CornerInput& in, const Settings& settings)
{
    PlanCorner pc;
    pc.in = in;
    Corner k{in, {}};
    // The trial refuses a corner that cannot be staked (coinciding points, no turn, no inner
    // radius); the composition one it cannot list.
    QString why = TrialCalculation(in, settings, k.el);
    if (why.isEmpty()) why = ComposeRefusal(k);
    if (why.isEmpty()) {
        const ExportList list = StakeList(k, settings);
        // Which curve each entry of the list stakes: the four main points, then each curve's
        // exported rows, in the order the list names them.
        std::vector<StakeCurve> listCurves(4, StakeCurve::Main);
        const std::array<int, 3> counts = BlockExportCounts(k);
        for (size_t kind = 0; kind < 3; ++kind)
            listCurves.insert(listCurves.end(), static_cast<size_t>(counts[kind]),
                              static_cast<StakeCurve>(static_cast<int>(StakeCurve::Centre) + static_cast<int>(kind)));
        pc.stakes = ExportPoints(list);
        // The curve of each point handed on, by the list entry it comes from (names cannot say:
        // the handed-on names lose their TABs and line ends).
        for (size_t j : ExportedEntries(list))
            pc.stakeCurves.push_back(j < listCurves.size() ? listCurves[j] : StakeCurve::Main);
        for (const ExportPoint& p : pc.stakes)
            if (!Finite(p.x, p.y)) {
                why = TooLargeToPrint();
                break;
            }
    }
    if (!why.isEmpty()) {
        pc.refusal = why;
        pc.stakes.clear();
        pc.stakeCurves.clear();
    } else {
        pc.el = k.el;
    }

    Extent b;
    for (const ExportPoint& p : InputPoints(in)) b.take(p.y, p.x);
    if (pc.refusal.isEmpty()) {
        for (const ExportPoint& p : pc.stakes) b.take(p.y, p.x);
        // The arcs bulge beyond their chords: take points along each of them as well.
        for (const Arc& a : ArcsOf(pc)) {
            if (!Drawable(a)) continue;
            for (int i = 0; i <= 16; ++i) {
                const double t = (a.start + a.sweep * i / 16) * DegToRad;
                b.take(pc.el.CenY + a.radius * std::cos(t), pc.el.CenX + a.radius * std::sin(t));
            }
        }
    }
    pc.bounds = b.rect();
    pc.drawable = b.any;
    return pc;
}

QRectF PlanViewport::visiblePlane() const
{
    const QPointF a = toPlane(QPointF(0, size.height())), b = toPlane(QPointF(size.width(), 0));
    return QRectF(a, b);
}

PlanViewport FitRows(const std::vector<PlanCorner>& corners, const std::vector<int>& rows, QSizeF size)
{
    Extent e;
    for (int r : rows)
        if (r >= 0 && static_cast<size_t>(r) < corners.size()) e.take(corners[static_cast<size_t>(r)]);
    PlanViewport v;
    v.size = size;
    if (!e.any) return v;
    v.centre = QPointF((e.minE + e.maxE) / 2, (e.minN + e.maxN) / 2);
    // A margin of a tenth of the smaller side all round; a single point is shown 20 m across.
    const double margin = 0.1 * std::min(size.width(), size.height());
    const double w = std::max(size.width() - 2 * margin, 1.0), h = std::max(size.height() - 2 * margin, 1.0);
    const double spanE = std::max(e.maxE - e.minE, 0.0), spanN = std::max(e.maxN - e.minN, 0.0);
    double ppm = std::min(spanE > 0 ? w / spanE : HUGE_VAL, spanN > 0 ? h / spanN : HUGE_VAL);
    if (!std::isfinite(ppm)) ppm = std::min(w, h) / 20;
    v.pixelsPerMetre = std::clamp(ppm, kMinPixelsPerMetre, kMaxPixelsPerMetre);
    return v;
}

PlanViewport FitAll(const std::vector<PlanCorner>& corners, QSizeF size)
{
    std::vector<int> rows(corners.size());
    for (size_t i = 0; i < rows.size(); ++i) rows[i] = static_cast<int>(i);
    return FitRows(corners, rows, size);
}

double NameHeight(const PlanCorner& corner)
{
    const double r = corner.refusal.isEmpty() ? corner.el.RadAbs : std::fabs(corner.in.Radius);
    return std::isfinite(r) ? std::clamp(r / 15, 0.3, 3.0) : 0.3;
}

namespace {

/// Where names already stand, in cells of a few pixels: a name that would cover one is left out.
class LabelSpace {
public:
    explicit LabelSpace(QSizeF size)
        : m_cols(std::max(1, static_cast<int>(size.width() / kCell) + 1)),
          m_rows(std::max(1, static_cast<int>(size.height() / kCell) + 1)),
          m_taken(static_cast<size_t>(m_cols) * static_cast<size_t>(m_rows), false)
    {
    }
    /// Takes the cells of `r` when all are free.
    bool claim(const QRectF& r)
    {
        const int c0 = std::max(0, static_cast<int>(r.left() / kCell)), c1 = std::min(m_cols - 1, static_cast<int>(r.right() / kCell));
        const int r0 = std::max(0, static_cast<int>(r.top() / kCell)), r1 = std::min(m_rows - 1, static_cast<int>(r.bottom() / kCell));
        if (c0 > c1 || r0 > r1) return false;
        for (int y = r0; y <= r1; ++y)
            for (int x = c0; x <= c1; ++x)
                if (m_taken[Index(x, y)]) return false;
        for (int y = r0; y <= r1; ++y)
            for (int x = c0; x <= c1; ++x) m_taken[Index(x, y)] = true;
        return true;
    }

private:
    static constexpr double kCell = 4;
    size_t Index(int x, int y) const { return static_cast<size_t>(y) * static_cast<size_t>(m_cols) + static_cast<size_t>(x); }
    int m_cols, m_rows;
    std::vector<bool> m_taken;
};

QColor CurveColour(StakeCurve k)
{
    switch (k) {
    case StakeCurve::Centre: return Colour(plancolour::kCentre);
    case StakeCurve::Inner: return Colour(plancolour::kInner);
    case StakeCurve::Outer: return Colour(plancolour::kOuter);
    case StakeCurve::Main: break;
    }
    return Colour(plancolour::kMain);
}

/// An arc on the device (y down) about `centre`, from drawing angle `start` through `sweep`
/// degrees (counter-clockwise positive), as cubic curves of at most 22.5 degrees each. It begins
/// and ends exactly at the points of those angles, and strays from the circle by less than 1e-7
/// of its radius between them; QPainterPath::arcTo ends a partial quadrant at an approximate
/// parameter, 0.03 % of the radius off the end point.
QPainterPath ArcPath(QPointF centre, double radius, double start, double sweep)
{
    const int pieces = std::max(1, static_cast<int>(std::ceil(std::fabs(sweep) / 22.5)));
    const double step = sweep / pieces * DegToRad;
    const double k = 4.0 / 3.0 * std::tan(step / 4) * radius;
    const auto point = [&](double a) { return centre + QPointF(radius * std::cos(a), -radius * std::sin(a)); };
    const auto ahead = [&](double a) { return QPointF(-std::sin(a), -std::cos(a)); };  // d/da, unit
    QPainterPath path;
    double a0 = start * DegToRad;
    path.moveTo(point(a0));
    for (int i = 1; i <= pieces; ++i) {
        const double a1 = i == pieces ? (start + sweep) * DegToRad : start * DegToRad + step * i;
        path.cubicTo(point(a0) + k * ahead(a0), point(a1) - k * ahead(a1), point(a1));
        a0 = a1;
    }
    return path;
}

/// The label font at a pixel height.
QFont LabelFont(const QPainter& p, double pixels)
{
    // The family the window font resolves to, named as such: an SVG viewer does not know the
    // substituted name.
    static const QString family = QFontInfo(QFont(kPGothicFont)).family();
    QFont f(family);
    // In points of the device, not whole pixels: a file's names keep their exact height.
    const int dpi = p.device() ? p.device()->logicalDpiY() : 96;
    f.setPointSizeF(std::max(pixels, 0.01) * 72.0 / (dpi > 0 ? dpi : 96));
    return f;
}

/// Cuts the segment a–b to `r` (Liang–Barsky); false when none of it lies inside.
bool Clip(const QRectF& r, QPointF& a, QPointF& b)
{
    const QPointF d = b - a;
    double t0 = 0, t1 = 1;
    const double p[4] = {-d.x(), d.x(), -d.y(), d.y()};
    const double q[4] = {a.x() - r.left(), r.right() - a.x(), a.y() - r.top(), r.bottom() - a.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0) t0 = std::max(t0, t);
        else t1 = std::min(t1, t);
        if (t0 > t1) return false;
    }
    const QPointF from = a + t0 * d, to = a + t1 * d;
    a = from, b = to;
    return std::isfinite(a.x()) && std::isfinite(a.y()) && std::isfinite(b.x()) && std::isfinite(b.y());
}

// A corner smaller than this on the device is drawn as a dot at its IP; one smaller than
// kMarkerPixels as its lines without point markers.
constexpr double kDotPixels = 4;
constexpr double kMarkerPixels = 40;
// An arc whose radius exceeds this many times the view's larger side is drawn piecewise, in at
// most kLargeArcSteps lines.
constexpr double kLargeArc = 4;
constexpr int kLargeArcSteps = 100000;

class Painter {
public:
    Painter(QPainter& p, const PlanViewport& v, bool whole) : m_p(p), m_v(v), m_whole(whole), m_labels(v.size)
    {
        // No name under the north arrow or the scale bar.
        m_labels.claim(QRectF(v.size.width() - 64, 0, 64, 84));
        m_labels.claim(QRectF(0, v.size.height() - 40, 260, 40));
    }

    void corner(const PlanCorner& c, bool selected)
    {
        if (!c.drawable) return;
        if (!c.refusal.isEmpty()) {
            refused(c, selected);
            return;
        }
        // Level of detail by the corner's size on the device: a dot, then the lines, then the
        // points, then the names.
        const double extent = std::max(c.bounds.width(), c.bounds.height()) * m_v.pixelsPerMetre;
        if (extent < kDotPixels && !m_whole) {
            m_p.setPen(QPen(selected ? Colour(plancolour::kSelected) : Colour(plancolour::kTangent), selected ? 6 : 2.5,
                            Qt::SolidLine, Qt::RoundCap));
            if (shown(at(c.in.IpX, c.in.IpY))) m_p.drawPoint(at(c.in.IpX, c.in.IpY));
            return;
        }
        const std::array<Arc, 3> arcs = ArcsOf(c);
        const QPointF bp = at(c.in.BpX, c.in.BpY), ip = at(c.in.IpX, c.in.IpY), ep = at(c.in.EpX, c.in.EpY);
        const QPointF tangents[3] = {bp, ip, ep};
        if (selected) {
            QPen halo(Colour(plancolour::kSelected), 9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
            m_p.setPen(halo);
            lines(tangents);
            for (const Arc& a : arcs) arc(a, c);
        }
        m_p.setPen(Hairline(Colour(plancolour::kTangent)));
        lines(tangents);
        const QColor curveColours[3] = {Colour(plancolour::kCentre), Colour(plancolour::kInner), Colour(plancolour::kOuter)};
        for (size_t k = 0; k < 3; ++k) {
            m_p.setPen(Hairline(curveColours[k]));
            arc(arcs[k], c);
        }
        // Points only where the corner is large enough on the device to tell them apart.
        const double radiusPx = c.el.RadAbs * m_v.pixelsPerMetre;
        if (extent < kMarkerPixels && !m_whole) return;
        inputPoints(c, Colour(plancolour::kTangent));
        if (radiusPx < 6 && !m_whole) return;
        const double dot = mark(c, 0.25, std::clamp(radiusPx / 12, 2.5, 5.0));
        for (StakeCurve kind : {StakeCurve::Centre, StakeCurve::Inner, StakeCurve::Outer, StakeCurve::Main}) {
            m_points.clear();
            for (size_t i = 0; i < c.stakes.size(); ++i)
                if (c.stakeCurves[i] == kind && shown(at(c.stakes[i].x, c.stakes[i].y)))
                    m_points.push_back(at(c.stakes[i].x, c.stakes[i].y));
            m_p.setPen(QPen(CurveColour(kind), kind == StakeCurve::Main ? dot * 1.5 : dot, Qt::SolidLine, Qt::RoundCap));
            m_p.drawPoints(m_points.data(), static_cast<int>(m_points.size()));
        }
        // The circle centre as a cross.
        const QPointF m = at(c.el.CenX, c.el.CenY);
        if (shown(m)) {
            m_p.setPen(Hairline(Colour(plancolour::kMain)));
            const double arm = mark(c, 0.5, 5);
            m_p.drawLine(m + QPointF(-arm, 0), m + QPointF(arm, 0));
            m_p.drawLine(m + QPointF(0, -arm), m + QPointF(0, arm));
        }

        double size = 0;
        if (!nameSize(c, size)) return;
        const QFontMetricsF fm(m_p.font());
        for (size_t i = 0; i < c.stakes.size(); ++i)
            label(fm, c.stakes[i], CurveColour(c.stakeCurves[i]), size);
        for (const ExportPoint& p : InputPoints(c.in)) label(fm, p, Colour(plancolour::kTangent), size);
    }

    void northArrow()
    {
        const double x = m_v.size.width() - 36, top = 18, len = 46;
        m_p.setPen(QPen(Qt::black, 1.5));
        m_p.drawLine(QPointF(x, top + 14), QPointF(x, top + 14 + len));
        QPainterPath head;
        head.moveTo(x, top + 10);
        head.lineTo(x - 7, top + 26);
        head.lineTo(x, top + 21);
        head.lineTo(x + 7, top + 26);
        head.closeSubpath();
        m_p.fillPath(head, Qt::black);
        m_p.setFont(LabelFont(m_p, 14));
        m_p.drawText(QRectF(x - 10, top - 8, 20, 18), Qt::AlignCenter, QStringLiteral("N"));
    }

    void scaleBar()
    {
        // The longest of 1, 2 or 5 times a power of ten that stays within 160 pixels.
        const double ppm = m_v.pixelsPerMetre;
        double metres = std::pow(10.0, std::floor(std::log10(160 / ppm)));
        for (double f : {5.0, 2.0, 1.0})
            if (f * metres * ppm <= 160) {
                metres *= f;
                break;
            }
        const double len = metres * ppm, x = 20, y = m_v.size.height() - 20;
        m_p.setPen(QPen(Qt::black, 1.5));
        m_p.drawLine(QPointF(x, y), QPointF(x + len, y));
        m_p.drawLine(QPointF(x, y - 5), QPointF(x, y + 1));
        m_p.drawLine(QPointF(x + len, y - 5), QPointF(x + len, y + 1));
        m_p.drawLine(QPointF(x + len / 2, y - 3), QPointF(x + len / 2, y));
        m_p.setFont(LabelFont(m_p, 12));
        m_p.drawText(QPointF(x + len + 6, y + 4), QString::number(metres, 'g', 6) + QStringLiteral(" m"));
    }

private:
    QPointF at(double X, double Y) const { return m_v.toDevice(X, Y); }

    void arc(const Arc& a, const PlanCorner& c)
    {
        if (!Drawable(a)) return;
        const QPointF centre = at(c.el.CenX, c.el.CenY);
        const double r = a.radius * m_v.pixelsPerMetre;
        if (r <= kLargeArc * std::max(m_v.size.width(), m_v.size.height())) {
            m_p.drawPath(ArcPath(centre, r, a.start, a.sweep));
            return;
        }
        // Far larger than the view: the painter would flatten all of it, so only its pieces near
        // the view are drawn, as lines that stray less than a tenth of a pixel from it.
        const QRectF near = QRectF(QPointF(), m_v.size).adjusted(-10, -10, 10, 10);
        const double step = std::max(2 * std::sqrt(0.2 / r), std::fabs(a.sweep) * DegToRad / kLargeArcSteps);
        const int steps = static_cast<int>(std::ceil(std::fabs(a.sweep) * DegToRad / step));
        m_points.clear();
        QPointF previous;
        for (int i = 0; i <= steps; ++i) {
            const double t = (a.start + a.sweep * i / steps) * DegToRad;
            const QPointF q = centre + QPointF(r * std::cos(t), -r * std::sin(t));
            if (near.contains(q)) {
                if (m_points.empty() && i > 0) m_points.push_back(previous);  // in from the edge
                m_points.push_back(q);
            } else if (!m_points.empty()) {
                m_points.push_back(q);  // on out to the edge
                m_p.drawPolyline(m_points.data(), static_cast<int>(m_points.size()));
                m_points.clear();
            }
            previous = q;
        }
        if (m_points.size() > 1) m_p.drawPolyline(m_points.data(), static_cast<int>(m_points.size()));
        m_points.clear();
    }

    /// The size of a point mark in pixels: on a screen `pixels`; in a file, which a viewer zooms,
    /// `names` times the corner's name height, so that marks grow with the drawing as names do.
    double mark(const PlanCorner& c, double names, double pixels) const
    {
        return m_whole ? names * NameHeight(c) * m_v.pixelsPerMetre : pixels;
    }

    /// Whether a mark at a device point can reach the view. Marks, lines and names far outside
    /// are not handed to the painter, whose rasteriser works in a fixed-point range.
    bool shown(QPointF q) const { return m_near.contains(q); }

    /// The polyline through `pts`, each segment cut to the neighbourhood of the view.
    void lines(const QPointF (&pts)[3])
    {
        for (int i = 0; i < 2; ++i) {
            QPointF a = pts[i], b = pts[i + 1];
            if (Clip(m_near, a, b)) m_p.drawLine(a, b);
        }
    }

    void inputPoints(const PlanCorner& c, const QColor& colour)
    {
        m_p.setPen(Hairline(colour));
        m_p.setBrush(Qt::NoBrush);
        for (const ExportPoint& p : InputPoints(c.in)) {
            if (!Finite(p.x, p.y)) continue;
            const double half = mark(c, 0.2, 3);
            if (shown(at(p.x, p.y))) m_p.drawRect(QRectF(at(p.x, p.y) - QPointF(half, half), QSizeF(2 * half, 2 * half)));
        }
    }

    void refused(const PlanCorner& c, bool selected)
    {
        if (selected) {
            m_p.setPen(Qt::NoPen);
            m_p.setBrush(Colour(plancolour::kSelected));
            for (const ExportPoint& p : InputPoints(c.in))
                if (Finite(p.x, p.y) && shown(at(p.x, p.y))) m_p.drawRect(QRectF(at(p.x, p.y) - QPointF(8, 8), QSizeF(16, 16)));  // screens only
        }
        const QColor warn = Colour(plancolour::kRefused);
        m_p.setPen(Hairline(warn));
        m_p.setBrush(warn);
        for (const ExportPoint& p : InputPoints(c.in)) {
            if (!Finite(p.x, p.y) || !shown(at(p.x, p.y))) continue;
            const double half = mark(c, 0.3, 4);
            m_p.drawRect(QRectF(at(p.x, p.y) - QPointF(half, half), QSizeF(2 * half, 2 * half)));
        }
        m_p.setBrush(Qt::NoBrush);
        double size = 0;
        if (!nameSize(c, size)) return;
        const QFontMetricsF fm(m_p.font());
        for (const ExportPoint& p : InputPoints(c.in)) label(fm, p, warn, size);
    }

    /// The pixel height of the corner's names, its font set; false when they are not drawn.
    bool nameSize(const PlanCorner& c, double& size)
    {
        const double px = NameHeight(c) * m_v.pixelsPerMetre;
        if (m_whole) {
            size = px;
        } else {
            if (px < kMinLabelPixels) return false;
            size = std::min(px, kMaxLabelPixels);
        }
        m_p.setFont(LabelFont(m_p, size));
        return true;
    }

    /// A point's name beside it: up and to the right by half the text height (where the DXF puts
    /// it), else up and to the left, down and to the right, down and to the left; left out when
    /// every place would cover a name already drawn. In a file, the first place always.
    void label(const QFontMetricsF& fm, const ExportPoint& p, const QColor& colour, double size)
    {
        if (!Finite(p.x, p.y)) return;
        const QPointF pt = at(p.x, p.y);
        const double w = fm.horizontalAdvance(p.name), gap = size / 2.0;
        if (m_whole) {
            m_p.setPen(colour);
            if (shown(pt)) m_p.drawText(pt + QPointF(gap, -gap), p.name);
            return;
        }
        const QPointF places[] = {{gap, -gap}, {-gap - w, -gap}, {gap, gap + fm.ascent()}, {-gap - w, gap + fm.ascent()}};
        for (const QPointF& offset : places) {
            const QPointF base = pt + offset;
            const QRectF box(base.x(), base.y() - fm.ascent(), w, fm.height());
            if (!box.intersects(QRectF(QPointF(), m_v.size)) || !m_labels.claim(box)) continue;
            m_p.setPen(colour);
            m_p.drawText(base, p.name);
            return;
        }
    }

    QPainter& m_p;
    const PlanViewport& m_v;
    const QRectF m_near{QPointF(-100, -100), m_v.size + QSizeF(200, 200)};
    bool m_whole;  // every corner whole and every name (a file)
    LabelSpace m_labels;
    std::vector<QPointF> m_points;
};

}  // namespace

void PaintPlan(QPainter& p, const std::vector<PlanCorner>& corners, const PlanViewport& view,
               const std::vector<int>& selected, PlanDetail detail)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.fillRect(QRectF(QPointF(), view.size), Qt::white);
    if (!(view.pixelsPerMetre > 0) || !std::isfinite(view.pixelsPerMetre) || !std::isfinite(view.centre.x()) ||
        !std::isfinite(view.centre.y())) {
        p.restore();
        return;  // no view of the plane to draw
    }
    // A corner is drawn when its extent, widened by what is drawn around its points (markers and
    // names of up to kMaxLabelPixels), meets what the viewport shows.
    const double slack = 12 * kMaxLabelPixels / view.pixelsPerMetre;
    const QRectF shown = view.visiblePlane().adjusted(-slack, -slack, slack, slack);
    std::vector<bool> isSelected(corners.size(), false);
    for (int r : selected)
        if (r >= 0 && static_cast<size_t>(r) < corners.size()) isSelected[static_cast<size_t>(r)] = true;
    Painter painter(p, view, detail == PlanDetail::Whole);
    const auto visible = [&](const PlanCorner& c) {
        const QRectF& b = c.bounds;
        return c.drawable && b.right() >= shown.left() && b.left() <= shown.right() && b.bottom() >= shown.top() &&
               b.top() <= shown.bottom();
    };
    // Selected corners first: their names take the places they share with others.
    for (size_t i = 0; i < corners.size(); ++i)
        if (isSelected[i] && visible(corners[i])) painter.corner(corners[i], true);
    for (size_t i = 0; i < corners.size(); ++i)
        if (!isSelected[i] && visible(corners[i])) painter.corner(corners[i], false);
    painter.northArrow();
    painter.scaleBar();
    p.restore();
}

QSizeF PlanFileSize(const std::vector<PlanCorner>& corners)
{
    constexpr double kWidth = 1600;
    Extent e;
    for (const PlanCorner& c : corners) e.take(c);
    double h = 1000;
    if (e.any && e.maxE > e.minE) h = kWidth * (e.maxN - e.minN) / (e.maxE - e.minE);
    if (!std::isfinite(h)) h = 1000;
    return {kWidth, std::round(std::clamp(h, 600.0, 2400.0))};
}

namespace {

/// The drawing painted by `paint` onto a device writing into `out`; false when it cannot paint.
template <typename Paint>
QString PlanBytes(QByteArray& out, const Paint& paint)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!paint(buffer)) return QStringLiteral("平面図を描けません。");
    out = std::move(bytes);
    return {};
}

QString WritePlan(const QString& path, QString (*file)(const std::vector<PlanCorner>&, QByteArray&),
                  const std::vector<PlanCorner>& corners)
{
    QByteArray bytes;
    QString why = file(corners, bytes);
    if (why.isEmpty()) why = WriteFileAtomically(path, bytes);
    return why.isEmpty() ? QString() : QStringLiteral("平面図 %1 を保存できません: %2").arg(path, why);
}

}  // namespace

QString PlanSvgFile(const std::vector<PlanCorner>& corners, QByteArray& out)
{
    return PlanBytes(out, [&](QIODevice& device) {
        const QSizeF size = PlanFileSize(corners);
        QSvgGenerator svg;
        svg.setOutputDevice(&device);
        svg.setSize(size.toSize());
        svg.setViewBox(QRectF(QPointF(), size));
        svg.setTitle(QStringLiteral("平面図"));
        QPainter p;
        if (!p.begin(&svg)) return false;
        PaintPlan(p, corners, FitAll(corners, size), {}, PlanDetail::Whole);
        return p.end();
    });
}

QString PlanPdfFile(const std::vector<PlanCorner>& corners, QByteArray& out)
{
    return PlanBytes(out, [&](QIODevice& device) {
        constexpr int kDpi = 96;
        const QSizeF size = PlanFileSize(corners);
        QPdfWriter pdf(&device);
        pdf.setCreator(QStringLiteral("Tovanel"));
        pdf.setTitle(QStringLiteral("平面図"));
        pdf.setResolution(kDpi);
        const QPageSize page(QSizeF(size.width() * 72 / kDpi, size.height() * 72 / kDpi), QPageSize::Point,
                             QString(), QPageSize::ExactMatch);
        pdf.setPageLayout(QPageLayout(page, QPageLayout::Portrait, QMarginsF()));
        QPainter p;
        if (!p.begin(&pdf)) return false;
        PaintPlan(p, corners, FitAll(corners, QSizeF(pdf.width(), pdf.height())), {}, PlanDetail::Whole);
        return p.end();
    });
}

QString WritePlanSvg(const QString& path, const std::vector<PlanCorner>& corners)
{
    return WritePlan(path, PlanSvgFile, corners);
}

QString WritePlanPdf(const QString& path, const std::vector<PlanCorner>& corners)
{
    return WritePlan(path, PlanPdfFile, corners);
}

PlanHit PointAt(const std::vector<PlanCorner>& corners, const PlanViewport& view, QPointF device, double tolerance)
{
    PlanHit best;
    double bestDist = tolerance;
    const QPointF at = view.toPlane(device);
    const double reach = tolerance / view.pixelsPerMetre;
    const auto consider = [&](int row, const ExportPoint& p) {
        if (!Finite(p.x, p.y)) return;
        const double d = QLineF(view.toDevice(p.x, p.y), device).length();
        if (d <= bestDist) {
            bestDist = d;
            best = {row, p};
        }
    };
    for (size_t i = 0; i < corners.size(); ++i) {
        const PlanCorner& c = corners[i];
        if (!c.drawable || !c.bounds.adjusted(-reach, -reach, reach, reach).contains(at)) continue;
        for (const ExportPoint& p : c.stakes) consider(static_cast<int>(i), p);
        for (const ExportPoint& p : InputPoints(c.in)) consider(static_cast<int>(i), p);
    }
    return best;
}

int CornerAt(const std::vector<PlanCorner>& corners, const PlanViewport& view, QPointF device, double tolerance)
{
    if (const PlanHit hit = PointAt(corners, view, device, tolerance); hit.row >= 0) return hit.row;
    const QPointF at = view.toPlane(device);  // east, north
    const double reach = tolerance / view.pixelsPerMetre;
    for (size_t i = 0; i < corners.size(); ++i) {
        const PlanCorner& c = corners[i];
        if (!c.drawable || !c.refusal.isEmpty() || !c.bounds.adjusted(-reach, -reach, reach, reach).contains(at)) continue;
        // Between the inner and the outer curve, within the sweep.
        const std::array<Arc, 3> arcs = ArcsOf(c);
        const double de = at.x() - c.el.CenY, dn = at.y() - c.el.CenX;
        const double dist = std::hypot(de, dn);
        const double lo = std::min(arcs[1].radius, arcs[0].radius) - reach, hi = std::max(arcs[2].radius, arcs[0].radius) + reach;
        if (Drawable(arcs[0]) && dist >= lo && dist <= hi) {
            double a = std::atan2(dn, de) * RadToDeg - arcs[0].start;  // from BC, counter-clockwise
            if (arcs[0].sweep < 0) a = -a;
            a = std::fmod(a, 360.0);
            if (a < 0) a += 360;
            if (a <= std::fabs(arcs[0].sweep)) return static_cast<int>(i);
        }
        // Near one of the tangents.
        const QPointF pts[3] = {view.toDevice(c.in.BpX, c.in.BpY), view.toDevice(c.in.IpX, c.in.IpY),
                                view.toDevice(c.in.EpX, c.in.EpY)};
        for (int s = 0; s < 2; ++s) {
            const QPointF a = pts[s], b = pts[s + 1];
            const QPointF ab = b - a;
            const double len2 = QPointF::dotProduct(ab, ab);
            const double t = len2 > 0 ? std::clamp(QPointF::dotProduct(device - a, ab) / len2, 0.0, 1.0) : 0;
            if (QLineF(a + t * ab, device).length() <= tolerance) return static_cast<int>(i);
        }
    }
    return -1;
}

}  // namespace tovanel
