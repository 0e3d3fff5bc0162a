// SPDX-License-Identifier: GPL-3.0-or-later
// The plan drawing as recorded, the fitted viewport, and the SVG against the DXF's geometry.

#include "plan/plan.h"

#include "calc/curve.h"
#include "calc/listing.h"
#include "calc/settingsfile.h"
#include "exchange/dxfdrawing.h"
#include "print/pagelayout.h"
#include "sheets/composition.h"
#include "sheets/stakepoints.h"

#include "plan/district.h"
#include "plan/recorder.h"

#include <QFile>
#include <QFontMetricsF>
#include <QPainter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <cmath>
#include <limits>

namespace tovanel::test {
namespace {

const Settings kSettings = DefaultSettings();

CornerInput Input(double bx, double by, double ix, double iy, double ex, double ey, double r, int type, double n = 0)
{
    CornerInput in;
    in.BpX = bx, in.BpY = by, in.IpX = ix, in.IpY = iy, in.EpX = ex, in.EpY = ey;
    in.Radius = r, in.WidthIn = 3, in.WidthOut = 4;
    in.CalcType = static_cast<int16_t>(type);
    in.DivCount = n;
    in.IPNo = QStringLiteral("7");
    return in;
}

std::vector<Drawn> Record(const std::vector<PlanCorner>& corners, const PlanViewport& v, const std::vector<int>& selected = {})
{
    RecordingDevice device(v.size.toSize());
    QPainter p(&device);
    PaintPlan(p, corners, v, selected);
    p.end();
    return device.drawn();
}

QColor Of(unsigned rgb) { return QColor(static_cast<QRgb>(rgb)); }

bool Near(QPointF a, QPointF b, double tol) { return std::fabs(a.x() - b.x()) <= tol && std::fabs(a.y() - b.y()) <= tol; }

/// The first and last stake of a curve: its BC and EC as the block-point sheet computes them.
std::pair<ExportPoint, ExportPoint> Ends(const PlanCorner& c, StakeCurve k)
{
    std::vector<ExportPoint> on;
    for (size_t i = 0; i < c.stakes.size(); ++i)
        if (c.stakeCurves[i] == k) on.push_back(c.stakes[i]);
    return {on.front(), on.back()};
}

TEST(PlanDrawing, ArcsRunFromBcToEcOfEachCurveForEveryTypeAndTurn)
{
    const struct { const char* name; double ex, ey; } turns[] = {{"right", 0, 200}, {"left", 200, 0}};
    const struct { StakeCurve curve; unsigned colour; } curves[] = {
        {StakeCurve::Centre, plancolour::kCentre}, {StakeCurve::Inner, plancolour::kInner}, {StakeCurve::Outer, plancolour::kOuter}};
    for (const auto& t : turns)
        for (int type = 0; type < 4; ++type) {
            SCOPED_TRACE(testing::Message() << t.name << " turn, type " << type);
            const PlanCorner c = PlanCornerOf(Input(0, 0, 100, 100, t.ex, t.ey, 40, type, 5), kSettings);
            ASSERT_TRUE(c.refusal.isEmpty()) << c.refusal.toStdString();
            const PlanViewport v = FitAll({c}, QSizeF(800, 600));
            const std::vector<Drawn> drawn = Record({c}, v);
            for (const auto& k : curves) {
                const auto [bc, ec] = Ends(c, k.curve);
                int arcs = 0;
                for (const Drawn& d : drawn) {
                    if (d.kind != Drawn::Path || d.pen != Of(k.colour)) continue;
                    ++arcs;
                    EXPECT_TRUE(Near(d.points.front(), v.toDevice(bc.x, bc.y), 1e-6)) << bc.name.toStdString();
                    EXPECT_TRUE(Near(d.points.back(), v.toDevice(ec.x, ec.y), 1e-6)) << ec.name.toStdString();
                    // Every point of the curves lies on the circle (the control points do not).
                    const QPointF m = v.toDevice(c.el.CenX, c.el.CenY);
                    for (size_t i = 0; i < d.points.size(); i += 3)
                        EXPECT_NEAR(QLineF(m, d.points[i]).length(), QLineF(m, v.toDevice(bc.x, bc.y)).length(), 1e-6);
                }
                EXPECT_EQ(arcs, 1);
            }
            // The tangents: BP–IP, IP–EP.
            std::vector<QPointF> tangents;
            for (const Drawn& d : drawn)
                if (d.kind == Drawn::Lines && d.pen == Of(plancolour::kTangent)) tangents.insert(tangents.end(), d.points.begin(), d.points.end());
            const QPointF ip = v.toDevice(100, 100);
            const QPointF ends[] = {v.toDevice(0, 0), ip, ip, v.toDevice(t.ex, t.ey)};
            ASSERT_EQ(tangents.size(), 4u);
            for (size_t i = 0; i < 4; ++i) EXPECT_TRUE(Near(tangents[i], ends[i], 1e-9)) << i;
        }
}

TEST(PlanDrawing, NorthIsUpAndEastIsRight)
{
    PlanViewport v{QPointF(1000, 500), 2, QSizeF(400, 300)};  // centre: east 1000, north 500
    EXPECT_EQ(v.toDevice(500, 1000), QPointF(200, 150));
    EXPECT_EQ(v.toDevice(510, 1000), QPointF(200, 130)) << "10 m north is 20 px up";
    EXPECT_EQ(v.toDevice(500, 1010), QPointF(220, 150)) << "10 m east is 20 px right";
    EXPECT_EQ(v.toPlane(QPointF(220, 130)), QPointF(1010, 510));
}

TEST(PlanDrawing, NamesOnlyWhereLegible)
{
    std::vector<PlanCorner> corners;
    for (const CornerInput& in : District(60)) corners.push_back(PlanCornerOf(in, kSettings));
    const auto texts = [](const std::vector<Drawn>& drawn) {
        QStringList out;
        for (const Drawn& d : drawn)
            if (d.kind == Drawn::Text) out << d.text;
        return out;
    };
    // The whole district: names would be illegible; only the north mark and the scale are written.
    const PlanViewport far = FitAll(corners, QSizeF(1600, 1000));
    ASSERT_LT(NameHeight(corners[5]) * far.pixelsPerMetre, kMinLabelPixels);
    EXPECT_EQ(texts(Record(corners, far)).size(), 2);

    // Near corner 6 (row 5): its main points are named, and most of its stakes.
    const PlanCorner& c = corners[5];
    const PlanViewport near{QPointF(c.in.IpY, c.in.IpX), 40, QSizeF(1600, 1000)};
    ASSERT_GE(NameHeight(c) * near.pixelsPerMetre, kMinLabelPixels);
    const QStringList shown = texts(Record(corners, near));
    for (const char* name : {"BC D6", "SP D6", "EC D6", "M D6"}) EXPECT_TRUE(shown.contains(QString::fromLatin1(name))) << name;
    int named = 0;
    for (const ExportPoint& p : c.stakes) named += shown.contains(p.name);
    EXPECT_GT(named, static_cast<int>(c.stakes.size()) / 2);

    // No name covers another, not even where two corners lie on the same spot.
    const std::vector<PlanCorner> twice = {c, c};
    for (const auto& drawing : {Record(corners, near), Record(twice, near)}) {
        std::vector<QRectF> boxes;
        for (const Drawn& d : drawing) {
            if (d.kind != Drawn::Text || d.text == QLatin1String("N") || d.text.endsWith(QLatin1String(" m"))) continue;
            const QFontMetricsF fm(d.font);
            const QRectF box(d.points[0].x(), d.points[0].y() - fm.ascent(), fm.horizontalAdvance(d.text), fm.height());
            for (const QRectF& other : boxes)
                EXPECT_FALSE(box.adjusted(0.5, 0.5, -0.5, -0.5).intersects(other)) << d.text.toStdString();
            boxes.push_back(box);
        }
        EXPECT_GT(boxes.size(), 20u);
    }
}

TEST(PlanDrawing, RefusedCornerIsThreeWarningPoints)
{
    const PlanCorner c = PlanCornerOf(Input(0, 0, 100, 100, 100, 100, 40, 0), kSettings);  // EP on IP
    ASSERT_FALSE(c.refusal.isEmpty());
    const PlanViewport v = FitAll({c}, QSizeF(800, 600));
    std::vector<QPointF> warned;
    for (const Drawn& d : Record({c}, v)) {
        EXPECT_FALSE(d.kind == Drawn::Path && d.pen.isValid() && d.pen != Qt::black) << "no arc";
        EXPECT_FALSE(d.kind == Drawn::Lines && d.pen == Of(plancolour::kTangent)) << "no tangent";
        EXPECT_FALSE(d.kind == Drawn::Points) << "no stakes";
        if (d.kind == Drawn::Rects && d.brush == Of(plancolour::kRefused)) warned.insert(warned.end(), d.points.begin(), d.points.end());
    }
    const QPointF points[] = {v.toDevice(0, 0), v.toDevice(100, 100), v.toDevice(100, 100)};
    ASSERT_EQ(warned.size(), 3u);
    for (size_t i = 0; i < 3; ++i) EXPECT_TRUE(Near(warned[i], points[i], 1e-9)) << i;
    // Selected, each point stands on the highlight.
    int highlighted = 0;
    for (const Drawn& d : Record({c}, v, {0}))
        if (d.kind == Drawn::Rects && d.brush == Of(plancolour::kSelected)) highlighted += static_cast<int>(d.points.size());
    EXPECT_EQ(highlighted, 3);
}

TEST(PlanDrawing, CornersOutOfViewAreSkippedAndSelectedOnesHighlighted)
{
    const std::vector<PlanCorner> corners = {PlanCornerOf(Input(0, 0, 100, 100, 0, 200, 40, 0), kSettings),
                                             PlanCornerOf(Input(5000, 0, 5100, 100, 5000, 200, 40, 1), kSettings)};
    const PlanViewport v{QPointF(100, 100), 3, QSizeF(800, 600)};  // on the first corner
    const auto count = [](const std::vector<Drawn>& drawn, Drawn::Kind kind, unsigned colour) {
        return std::count_if(drawn.begin(), drawn.end(), [&](const Drawn& d) { return d.kind == kind && d.pen == Of(colour); });
    };
    // Two tangents a corner.
    EXPECT_EQ(count(Record(corners, v), Drawn::Lines, plancolour::kTangent), 2);
    EXPECT_EQ(count(Record(corners, v), Drawn::Lines, plancolour::kSelected), 0);
    EXPECT_EQ(count(Record(corners, v, {0}), Drawn::Lines, plancolour::kSelected), 2);
    EXPECT_EQ(count(Record(corners, v, {1}), Drawn::Lines, plancolour::kSelected), 0) << "out of view";
    EXPECT_EQ(count(Record(corners, FitAll(corners, QSizeF(800, 600))), Drawn::Lines, plancolour::kTangent), 4);
}

TEST(PlanDrawing, ScaleBarIsOneTwoOrFiveTimesAPowerOfTen)
{
    const struct { double ppm; const char* label; } rows[] = {
        {1, "100 m"}, {2, "50 m"}, {3.3, "20 m"}, {16, "10 m"}, {17, "5 m"}, {0.01, "10000 m"}, {200, "0.5 m"},
    };
    for (const auto& r : rows) {
        QStringList texts;
        for (const Drawn& d : Record({}, PlanViewport{QPointF(), r.ppm, QSizeF(400, 300)}))
            if (d.kind == Drawn::Text) texts << d.text;
        EXPECT_EQ(texts, QStringList({"N", QString::fromLatin1(r.label)})) << r.ppm;
    }
}

TEST(PlanCorner, ComputedOrRefusedWithTheReason)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct { const char* name; CornerInput in; bool refused; bool drawable; } rows[] = {
        {"computed", Input(0, 0, 100, 100, 0, 200, 40, 2), false, true},
        {"EP on IP", Input(0, 0, 100, 100, 100, 100, 40, 0), true, true},
        {"radius not a number", Input(0, 0, 100, 100, 0, 200, nan, 0), true, true},
        {"no finite point", Input(nan, 0, nan, 0, nan, 0, 40, 0), true, false},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        const PlanCorner c = PlanCornerOf(r.in, kSettings);
        EXPECT_EQ(!c.refusal.isEmpty(), r.refused) << c.refusal.toStdString();
        EXPECT_EQ(c.drawable, r.drawable);
        EXPECT_EQ(c.stakes.size(), c.stakeCurves.size());
        if (r.refused) {
            EXPECT_TRUE(c.stakes.empty());
            continue;
        }
        const std::vector<ExportPoint> expected = StakePoints({r.in, c.el}, kSettings);
        ASSERT_EQ(c.stakes.size(), expected.size());
        for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(c.stakes[i].name, expected[i].name);
        for (const ExportPoint& p : c.stakes) EXPECT_TRUE(c.bounds.contains(p.y, p.x)) << p.name.toStdString();
    }
}

TEST(PlanViewport, FitAllShowsEveryCornerWithAMargin)
{
    std::vector<PlanCorner> corners;
    for (const CornerInput& in : District(120)) corners.push_back(PlanCornerOf(in, kSettings));
    for (QSizeF size : {QSizeF(1600, 1000), QSizeF(300, 900)}) {
        const PlanViewport v = FitAll(corners, size);
        const QRectF shown = v.visiblePlane();
        for (const PlanCorner& c : corners) EXPECT_TRUE(shown.contains(c.bounds)) << c.in.IPNo.toStdString();
        // Tight along one side, less a margin of a tenth of the smaller side at each end.
        QRectF all = corners[0].bounds;
        for (const PlanCorner& c : corners) all = all.united(c.bounds);
        const double margin = 0.1 * std::min(size.width(), size.height());
        EXPECT_NEAR(std::max(all.width() * v.pixelsPerMetre - (size.width() - 2 * margin),
                             all.height() * v.pixelsPerMetre - (size.height() - 2 * margin)),
                    0, 1e-6);
    }
    const PlanViewport none = FitAll({}, QSizeF(100, 100));
    EXPECT_EQ(none.pixelsPerMetre, 1);
    EXPECT_EQ(none.centre, QPointF());
}

// The SVG read back: arcs between the DXF's BC and EC, stake points where the DXF puts them.
TEST(PlanFiles, SvgShowsTheDxfGeometry)
{
    std::vector<PlanCorner> corners;
    std::vector<DxfCorner> dxf;
    for (const CornerInput& in : {Input(0, 0, 100, 100, 0, 200, 40, 0), Input(50, 300, 150, 400, 250, 300, 30, 2),
                                  Input(-100, 0, -50, 80, 20, 60, 25, 3)}) {
        corners.push_back(PlanCornerOf(in, kSettings));
        Corner k{in, {}};
        ASSERT_TRUE(TrialCalculation(in, kSettings, k.el).isEmpty());
        PageLayout pl;
        const Composition composed = ComposeDocument(k, kSettings, pl);
        ASSERT_TRUE(composed.refusal.isEmpty());
        dxf.push_back(CornerOf(k, composed.exports, BlockExportCounts(k)));
    }
    QTemporaryDir dir;
    const QString path = dir.filePath("plan.svg");
    ASSERT_EQ(WritePlanSvg(path, corners), QString());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString svg = QString::fromUtf8(f.readAll());
    const PlanViewport v = FitAll(corners, PlanFileSize(corners));
    EXPECT_TRUE(svg.contains(QStringLiteral("viewBox=\"0 0 %1 %2\"").arg(v.size.width()).arg(v.size.height())));

    // Arcs: the first and last coordinate of each path in a curve colour, back on the plane.
    const QRegularExpression group(QStringLiteral("<g fill=\"none\" stroke=\"(#[0-9a-f]{6})\"[^>]*>\\s*<path [^>]*d=\"([^\"]*)\""));
    const QRegularExpression number(QStringLiteral("-?[0-9.]+(e-?[0-9]+)?"));
    std::vector<std::pair<QPointF, QPointF>> arcs[3];
    const QString colours[3] = {QStringLiteral("#c00000"), QStringLiteral("#008000"), QStringLiteral("#0000c0")};
    for (auto m = group.globalMatch(svg); m.hasNext();) {
        const auto g = m.next();
        std::vector<double> xy;
        for (auto n = number.globalMatch(g.captured(2)); n.hasNext();) xy.push_back(n.next().captured(0).toDouble());
        ASSERT_GE(xy.size(), 4u);
        for (int k = 0; k < 3; ++k)
            if (g.captured(1) == colours[k])
                arcs[k].push_back({v.toPlane({xy[0], xy[1]}), v.toPlane({xy[xy.size() - 2], xy.back()})});
    }
    // SVG coordinates carry 6 significant digits: a few thousandths of a pixel.
    const double tol = 0.005 / v.pixelsPerMetre;
    for (size_t c = 0; c < dxf.size(); ++c)
        for (size_t k = 0; k < 3; ++k) {
            SCOPED_TRACE(testing::Message() << "corner " << c << ", curve " << k);
            ASSERT_EQ(arcs[k].size(), dxf.size());
            const DxfCorner& d = dxf[c];
            // The plan colours by radius, the DXF orders by prefix, which a left-hand curve swaps.
            const size_t byPrefix = d.turn < 0 && k > 0 ? 3 - k : k;
            const double r = d.radius[byPrefix];
            const double bc = d.azBC * M_PI / 180, ec = (d.azBC + d.turn * d.ia) * M_PI / 180;
            const auto [from, to] = arcs[k][c];  // east, north
            EXPECT_NEAR(from.x(), d.centre.y + r * std::sin(bc), tol);
            EXPECT_NEAR(from.y(), d.centre.x + r * std::cos(bc), tol);
            EXPECT_NEAR(to.x(), d.centre.y + r * std::sin(ec), tol);
            EXPECT_NEAR(to.y(), d.centre.x + r * std::cos(ec), tol);
        }
    const QRegularExpression circle(QStringLiteral("<circle cx=\"([-0-9.e]+)\" cy=\"([-0-9.e]+)\""));
    std::vector<QPointF> dots;
    for (auto m = circle.globalMatch(svg); m.hasNext();) {
        const auto c = m.next();
        dots.push_back(v.toPlane({c.captured(1).toDouble(), c.captured(2).toDouble()}));
    }
    // Every DXF point is a dot of the SVG, and its name is written, as in the DXF.
    for (const DxfCorner& d : dxf)
        for (const ExportPoint& p : d.points) {
            EXPECT_TRUE(std::any_of(dots.begin(), dots.end(), [&](QPointF q) { return Near(q, QPointF(p.y, p.x), tol); }))
                << p.name.toStdString();
            EXPECT_TRUE(svg.contains(QLatin1Char('>') + p.name.toHtmlEscaped() + QStringLiteral("</text>"))) << p.name.toStdString();
        }
}

TEST(PlanFiles, PdfIsWrittenWholeOrNotAtAll)
{
    const std::vector<PlanCorner> corners = {PlanCornerOf(Input(0, 0, 100, 100, 0, 200, 40, 0), kSettings)};
    QTemporaryDir dir;
    const QString path = dir.filePath("plan.pdf");
    ASSERT_EQ(WritePlanPdf(path, corners), QString());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray pdf = f.readAll();
    EXPECT_TRUE(pdf.startsWith("%PDF-"));
    EXPECT_TRUE(pdf.trimmed().endsWith("%%EOF"));
    for (const QString& bad : {dir.filePath("no/such/folder/plan.pdf"), dir.path()}) {
        EXPECT_TRUE(WritePlanPdf(bad, corners).startsWith(QStringLiteral("平面図 "))) << bad.toStdString();
        EXPECT_TRUE(WritePlanSvg(bad, corners).startsWith(QStringLiteral("平面図 "))) << bad.toStdString();
    }
}

// Close in, a curve far larger than the view is drawn as lines through points where it crosses it.
TEST(PlanDrawing, CurveLargerThanTheViewIsDrawnWhereItCrossesIt)
{
    const PlanCorner c = PlanCornerOf(Input(0, 0, 100, 100, 0, 200, 40, 0), kSettings);
    const ExportPoint& sp = c.stakes[1];
    const PlanViewport v{QPointF(sp.y, sp.x), 1000, QSizeF(800, 600)};  // R 40 m: 40,000 pixels
    const QPointF m = v.toDevice(c.el.CenX, c.el.CenY);
    const double r = c.el.RadAbs * v.pixelsPerMetre;
    int inView = 0;
    for (const Drawn& d : Record({c}, v)) {
        if (d.kind != Drawn::Polyline || d.pen != Of(plancolour::kCentre)) continue;
        for (const QPointF& q : d.points) {
            EXPECT_NEAR(QLineF(m, q).length(), r, 1e-6 * r);
            inView += QRectF(0, 0, 800, 600).contains(q);
        }
        // Between two points the line strays less than a tenth of a pixel from the circle.
        for (size_t i = 1; i < d.points.size(); ++i)
            EXPECT_LT(r - QLineF(m, (d.points[i - 1] + d.points[i]) / 2).length(), 0.1);
    }
    EXPECT_GE(inView, 3);  // 180-pixel chords at 40,000 pixels keep within the tenth
}

}  // namespace
}  // namespace tovanel::test
