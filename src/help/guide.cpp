// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/guide.h"

#include "calc/listing.h"
#include "calc/numeric.h"
#include "surface/drawsurface.h"

#include <array>
#include <cmath>

namespace tovanel {

namespace {

/// The origin of the figure being drawn, in surface units.
struct GuideOrigin {
    float OrgX = 0, OrgY = 0;
};

/// A point of the model corner: X north, Y east, in drawing units.
struct GuidePoint {
    double x;
    double y;
};

/// The model corner: IA 90°, centre O at the origin, radii 162.843 (inner), 222.843 (centre) and
/// 282.843 (outer). Row k of the table is GuidePts[k]; row 0 is unused.
constexpr std::array<GuidePoint, 32> GuidePts{{
    {0, 0},
    {200.0, -200.0},       // 1  BC of the outer curve
    {0.0, 0.0},            // 2  centre O
    {200.0, 200.0},        // 3  EC of the outer curve
    {115.147, -115.147},   // 4  BC of the inner curve
    {157.294, -42.147},    // 5  inner curve, division point
    {157.294, 42.147},     // 6
    {115.147, 115.147},    // 7  EC of the inner curve
    {157.574, -157.574},   // 8  BC of the centre curve
    {215.25, -57.676},     // 9  centre curve, division point
    {215.25, 57.676},      // 10
    {157.574, 157.574},    // 11 EC of the centre curve
    {273.205, -73.205},    // 12 outer curve, division point
    {273.205, 73.205},     // 13
    {146.062, -84.294},    // 14 vertices outside the inner curve
    {168.649, 0.0},        // 15
    {146.062, 84.294},     // 16
    {199.857, -115.352},   // 17 vertices outside the centre curve
    {230.765, 0.0},        // 18
    {199.857, 115.352},    // 19
    {253.651, -146.41},    // 20 vertices outside the outer curve
    {292.882, 0.0},        // 21
    {253.651, 146.41},     // 22
    {103.016, -212.132},   // 23 BP
    {315.148, 0.0},        // 24 IP
    {103.016, 212.132},    // 25 EP
    {192.988, -111.422},   // 26 centre curve at 30°
    {222.843, 0.0},        // 27 centre curve, middle
    {192.988, 111.422},    // 28
    {141.026, -81.421},    // 29 inner curve at 30°
    {162.843, 0.0},        // 30 inner curve, middle
    {141.026, 81.421},     // 31
}};

/// Rounds to whole units, halves to even.
double whole(double v)
{
    return std::nearbyint(v);
}

/// The pen of the diagram: the figure origin and the start of the next line.
class GuidePen {
public:
    GuidePen(const GuideOrigin& s, DrawSurface& surface) : m_s(s), m_surface(surface) {}

    double sx(int row) const { return m_s.OrgX + GuidePts[row].y; }
    double sy(int row) const { return m_s.OrgY - GuidePts[row].x; }

    /// GuideMove: the start becomes the surface position of the row.
    void move(int row)
    {
        m_x1 = sx(row);
        m_y1 = sy(row);
    }
    /// GuideLine: a line from the start (rounded to whole units) to the row (unrounded), which
    /// then becomes the start.
    void line(int row)
    {
        const double x2 = sx(row), y2 = sy(row);
        m_surface.drawLine(whole(m_x1), whole(m_y1), x2, y2);
        m_x1 = x2;
        m_y1 = y2;
    }
    void path(std::initializer_list<int> rows)
    {
        bool first = true;
        for (int r : rows) {
            if (first)
                move(r);
            else
                line(r);
            first = false;
        }
    }

private:
    const GuideOrigin& m_s;
    DrawSurface& m_surface;
    double m_x1 = 0, m_y1 = 0;
};

void PathInChord(GuidePen& p) { p.path({4, 5, 6, 7}); }
void PathCenChord(GuidePen& p) { p.path({8, 9, 10, 11}); }
void PathOutChord(GuidePen& p) { p.path({1, 12, 13, 3}); }
void PathOutTan(GuidePen& p) { p.path({1, 20, 21, 22, 3}); }
void PathCenTan(GuidePen& p) { p.path({8, 17, 18, 19, 11}); }
void PathInTan(GuidePen& p) { p.path({4, 14, 15, 16, 7}); }
void PathCenEq(GuidePen& p) { p.path({8, 26, 27, 28, 11}); }
void PathInEq(GuidePen& p) { p.path({4, 29, 30, 31, 7}); }

/// The frame common to the four figures, at the current origin.
void GuideFrame(const GuideOrigin& s, DrawSurface& surface, GuidePen& pen)
{
    surface.setFill(kFillTransparent);
    surface.setLineWidth(0);
    surface.setLineStyle(kLineDashDot);
    surface.setLineColour(kBlack);
    pen.path({1, 2, 3});     // radii from O to the outer BC and EC
    pen.path({23, 24, 25});  // tangents BP–IP–EP

    surface.setLineColour(kGreen);
    surface.setLineStyle(kLineDot);
    pen.path({20, 2, 12});  // division rays
    pen.path({21, 2, 13});
    pen.path({2, 22});

    surface.setLineColour(kBlack);
    surface.setLineStyle(kLineSolid);
    const double cx = whole(s.OrgX), cy = whole(s.OrgY);
    const double from = DegToRad * 45, to = DegToRad * 135;
    for (double r : {223.0, 283.0, 163.0})  // centre, outer and inner curve
        surface.drawArc(cx, cy, r, from, to);

    surface.setFill(kFillSolid);
    const struct {
        int row;
        const char* label;
        double dx, dy;
    } marks[] = {{2, "O", 5, 10}, {23, "BP", 10, 0}, {24, "IP", 5, -30}, {25, "EP", 10, 0}};
    for (const auto& m : marks) {
        const double x = pen.sx(m.row), y = pen.sy(m.row);
        surface.drawCircle(whole(x), whole(y), 5);
        surface.setCurrentX(x + m.dx);
        surface.setCurrentY(y + m.dy);
        surface.drawText(QString::fromUtf8(m.label));
    }

    // The state the red division paths are drawn in.
    surface.setLineWidth(3);
    surface.setLineStyle(kLineSolid);
    surface.setLineColour(kBlack);
}

}  // namespace

void GuideDraw(DrawSurface& surface)
{
    GuideOrigin s;
    surface.setTextSize(18);
    surface.setFontName(QStringLiteral("ＭＳ 明朝"));
    surface.setTextAttribute(0);
    surface.setTextColour(kBlack);
    surface.clear();

    GuidePen pen(s, surface);
    const struct {
        float orgX, orgY;
        void (*paths[3])(GuidePen&);
    } figures[] = {
        {240, 400, {PathInChord, PathCenChord, PathOutChord}},  // 平行
        {740, 400, {PathInChord, PathCenChord, PathOutTan}},    // 千鳥
        {240, 880, {PathInTan, PathCenTan, PathOutTan}},        // 外接
        {740, 880, {PathInEq, PathCenEq, PathOutTan}},          // 等曲率半径
    };
    for (const auto& f : figures) {
        s.OrgX = f.orgX;
        s.OrgY = f.orgY;
        GuideFrame(s, surface, pen);
        surface.setLineColour(kRed);
        for (auto path : f.paths)
            path(pen);
    }

    surface.setTextSize(22);
    const struct {
        const char* text;
        double x, y;
    } captions[] = {{"[平行型]", 190, 450}, {"[千鳥型]", 685, 450}, {"[外接型]", 190, 930},
                    {"[等曲率半径型]", 650, 930}};
    for (const auto& c : captions) {
        surface.setCurrentX(c.x);
        surface.setCurrentY(c.y);
        surface.drawText(QString::fromUtf8(c.text));
    }
    surface.finish();
}

}  // namespace tovanel
