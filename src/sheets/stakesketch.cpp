// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheets/stakesketch.h"

#include "calc/numeric.h"
#include "print/pagelayout.h"
#include "print/pagewriter.h"
#include "sheets/sheetcontext.h"

#include <cmath>

namespace tovanel {

namespace {

// The box starts inverted so that the first point sets all four sides.
constexpr double kBoxStart = 100000000;
// Millimetres of the drawing square, and how far the frame lies outside it.
constexpr double kSquare = 100;
constexpr double kFrameGap = 10;
constexpr int kFramePen = 15;
constexpr int kDrawPen = 4;
constexpr double kMarkerRadiusMm = 0.5;
// Metres → millimetres on paper at 1:S is × 1000 / S.
constexpr double kMmPerMetre = 1000;

struct PagePoint {
    double x, y;  // page millimetres, origins included
};

PagePoint Place(const SketchBox& b, double X, double Y)
{
    return {b.SketchOrgX + (Y - b.BoxYMin) * kMmPerMetre / b.SketchScale,
            b.SketchOrgY - (X - b.BoxXMin) * kMmPerMetre / b.SketchScale};
}

// Whole twips, half to even, without leaving double (huge values stay huge, not undefined).
double Whole(double twips) { return std::nearbyint(twips); }

// A line: its first end in whole twips, its second end as computed.
void Line(SheetContext& c, PagePoint a, PagePoint b)
{
    const double u = c.w.MmUnit;
    c.w.pl.line(Whole(a.x * u), Whole(a.y * u), b.x * u, b.y * u);
}

// Scale for one range: the range in hundreds of metres, raised to the next tenth whenever it
// exceeds a tenth by 0.0999999999 or more, times 1000, whole part.
double ScaleFor(double range) { return std::trunc(RoundDig(range / 100, 1, 2) * 1000); }

}  // namespace

void ExtendBox(SheetContext& c, double PtX, double PtY)
{
    SketchBox& b = c.sketch;
    if (b.BoxXMax < PtX) b.BoxXMax = PtX;
    if (b.BoxYMax < PtY) b.BoxYMax = PtY;
    if (b.BoxXMin > PtX) b.BoxXMin = PtX;
    if (b.BoxYMin > PtY) b.BoxYMin = PtY;
}

void Outmoj1(SheetContext& c, double PtX, double PtY, const QString& label)
{
    PageWriter& s = c.w;
    const PagePoint p = Place(c.sketch, PtX, PtY);
    const double u = s.MmUnit;
    s.pl.circle(Whole(p.x * u), Whole(p.y * u), Whole(kMarkerRadiusMm * u));
    s.AlignMode = TextAlign::Start;
    vspri(s, label, p.x - s.OrgX + 2, p.y - s.OrgY - 1, 9);
}

void f_overl2(SheetContext& c)
{
    PageWriter& s = c.w;
    const CornerInput& in = c.in;
    const CornerElements& el = c.el;
    SketchBox& b = c.sketch;
    b.BoxXMax = -kBoxStart;
    b.BoxYMax = -kBoxStart;
    b.BoxXMin = kBoxStart;
    b.BoxYMin = kBoxStart;
    b.SketchOrgX = s.OrgX + 145;
    b.SketchOrgY = s.OrgY + 115;

    // BC and EC lie on the tangent segments, SP and the arc between them: these three points
    // frame the whole drawing.
    const double frame[][2] = {{in.IpX, in.IpY}, {el.TanAX, el.TanAY}, {el.TanBX, el.TanBY}};
    for (const auto& p : frame) ExtendBox(c, p[0], p[1]);

    const double rangeX = b.BoxXMax - b.BoxXMin;
    const double rangeY = b.BoxYMax - b.BoxYMin;
    const double sx = ScaleFor(rangeX);
    const double sy = ScaleFor(rangeY);
    b.SketchScale = sx > sy ? sx : sy;
    // Also stops on a NaN scale (coordinates so large that their range overflows).
    if (!(b.SketchScale != 0) || !std::isfinite(b.SketchScale)) return;
    const double S = b.SketchScale;

    const double padX = (kSquare - rangeX * kMmPerMetre / S) / 2;
    const double padY = (kSquare - rangeY * kMmPerMetre / S) / 2;
    b.BoxXMin = b.BoxXMin - S * padX / kMmPerMetre;
    b.BoxYMin = b.BoxYMin - S * padY / kMmPerMetre;

    const double ox = b.SketchOrgX;
    const double oy = b.SketchOrgY;
    const double lo = -kFrameGap, hi = kSquare + kFrameGap;
    s.pl.setPenWidth(kFramePen);
    Line(c, {ox + lo, oy - lo}, {ox + hi, oy - lo});
    Line(c, {ox + hi, oy - lo}, {ox + hi, oy - hi});
    Line(c, {ox + lo, oy - hi}, {ox + hi, oy - hi});
    Line(c, {ox + lo, oy - hi}, {ox + lo, oy - lo});

    s.AlignMode = TextAlign::Centre;
    s.AlignWidth = 100;
    // OrgX, not OrgY, comes off the y: with the origins (25, 15) the caption sits 2 mm under
    // the frame.
    vspri(s, QStringLiteral("役杭略図縮尺 S=1/") + SignedNumberText(S), b.SketchOrgX - s.OrgX,
          b.SketchOrgY - s.OrgX + 22, 10);

    s.pl.setPenWidth(kDrawPen);
    const PagePoint ip = Place(b, in.IpX, in.IpY);
    Line(c, Place(b, el.TanAX, el.TanAY), ip);
    Line(c, Place(b, el.TanBX, el.TanBY), ip);

    s.pl.setDrawStyle(DrawStyle::Outline);
    const PagePoint o = Place(b, el.CenX, el.CenY);
    const double u = s.MmUnit;
    double start, end;
    if (el.TurnSign < 0) {  // left-hand: counter-clockwise from BC to EC
        start = (360 - el.AzIn) * DegToRad;
        end = (360 - el.AzOut) * DegToRad;
    } else {  // right-hand: counter-clockwise from EC to BC
        start = (180 - el.AzOut) * DegToRad;
        end = (180 - el.AzIn) * DegToRad;
    }
    // The radius as typed, as every figure of the sheet is drawn from what was typed.
    s.pl.arc(Whole(o.x * u), Whole(o.y * u), Whole(in.Radius * kMmPerMetre / S * u), start, end);
    s.pl.setDrawStyle(DrawStyle::Filled);

    const struct {
        double x, y;
        const char* label;
    } marks[] = {{in.IpX, in.IpY, "IP"}, {el.SpX, el.SpY, "SP"}, {el.BcX, el.BcY, "BC"}, {el.EcX, el.EcY, "EC"}};
    for (const auto& m : marks) Outmoj1(c, m.x, m.y, QString::fromLatin1(m.label));
}

}  // namespace tovanel
