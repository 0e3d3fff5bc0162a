// SPDX-License-Identifier: GPL-3.0-or-later
// The DXF drawing read back by ezdxf for both turns; scale, unwritable numbers, a stream cut short.

#include "exchange/dxfdrawing.h"

#include "sheets/blocksheet.h"

#include "../sheets/sheetfixture.h"
#include "support/files.h"
#include "support/run.h"

#include <QPolygonF>
#include <gtest/gtest.h>
#include <csignal>
#include <cmath>
#include <limits>
#include <map>
#include <sys/resource.h>

namespace tovanel {
namespace {

using test::Corner;
using test::Doc;

// One line per entity (kind, layer, values), after the header, style, view and layers.
const char kReader[] = R"(
import sys, ezdxf
from ezdxf import bbox
doc = ezdxf.readfile(sys.argv[1])
h = doc.header
print('HEADER', '-', *[*h['$EXTMIN']][:2], *[*h['$EXTMAX']][:2], h['$PDMODE'], h['$PDSIZE'], sep='\t')
print('STYLE', '-', doc.styles.get('Standard').dxf.font, sep='\t')
vp = doc.viewports.get_config('*Active')[0]
print('VIEW', '-', *[*vp.dxf.center][:2], vp.dxf.height, sep='\t')
for l in doc.layers: print('LAYER', l.dxf.name, l.dxf.color, sep='\t')
for e in doc.modelspace():
    t, d = e.dxftype(), e.dxf
    if t == 'LINE': v = [*d.start][:2] + [*d.end][:2]
    elif t == 'ARC':
        b = bbox.extents([e])
        v = [*d.center][:2] + [d.radius, d.start_angle, d.end_angle] + [*b.extmin][:2] + [*b.extmax][:2]
    elif t == 'LWPOLYLINE': v = [c for p in e.get_points('xy') for c in p]
    elif t == 'POINT': v = [*d.location][:2]
    elif t == 'TEXT':
        a = [*d.align_point][:2] if d.hasattr('align_point') else ['none', 'none']
        v = [d.text, *[*d.insert][:2], *a, d.halign, d.valign, d.rotation, d.height]
    else: v = []
    print(t, d.layer, *[repr(x) if isinstance(x, float) else x for x in v], sep='\t')
)";

/// What the reader printed, by layer (by kind for the header, style, view and layer table).
using Drawing = std::map<QString, std::vector<QStringList>>;

/// The drawing as the reader sees it; empty with `skip` set when there is no reader.
Drawing ReadBack(const QByteArray& dxf, QString& skip)
{
    QTemporaryDir dir;
    const test::Ran r = test::Launch(QStringLiteral("/usr/bin/python3"),
                                     {QStringLiteral("-c"), QString::fromLatin1(kReader), test::WriteIn(dir, "c.dxf", dxf)});
    if (r.status != 0) {
        // No reader skips the test; a reader that fails on the drawing fails it.
        if (test::Launch(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QStringLiteral("import ezdxf")}).status != 0)
            skip = "no DXF reader (/usr/bin/python3 with python3-ezdxf): " + r.err.section(u'\n', -2);
        else
            ADD_FAILURE() << "the reader failed on the drawing: " << r.err.toStdString();
    }
    Drawing out;
    for (const QString& line : r.out.split(u'\n', Qt::SkipEmptyParts)) {
        const QStringList f = line.split(u'\t');
        const bool table = QStringList{"HEADER", "STYLE", "VIEW", "LAYER"}.contains(f[0]);
        out[table ? f[0] : f.value(1)].push_back(f);
    }
    return out;
}

/// Drawing angle of the point (X north, Y east) seen from the centre, degrees 0..360.
double AngleFrom(double cx, double cy, double x, double y)
{
    const double a = std::atan2(x - cx, y - cy) * 180 / M_PI;
    return a < 0 ? a + 360 : a;
}

/// The entity's numbers from the `first` on are those expected.
void ExpectAt(const QStringList& e, int first, const std::vector<double>& expected, double tolerance = 1e-9)
{
    ASSERT_LE(2 + first + static_cast<qsizetype>(expected.size()), e.size()) << e.join(' ').toStdString();
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_NEAR(e[2 + first + static_cast<int>(i)].toDouble(), expected[i], tolerance) << e[1].toStdString() << " #" << first + i;
}

/// A TEXT's box, generously: as long as its characters are high, on its justified side, drawn in.
QPolygonF TextBox(const QStringList& t)
{
    const double x = t[3].toDouble(), y = t[4].toDouble(), h = t[10].toDouble(), a = t[9].toDouble() * M_PI / 180;
    const double length = h * static_cast<double>(t[2].size()), in = h / 100;
    const double x0 = t[7] == "2" ? -length : 0, y0 = t[8] == "3" ? -h : (t[8] == "2" ? -h / 2 : 0);
    QPolygonF box;
    for (const auto& [u, v] : {std::pair{x0 + in, y0 + in}, {x0 + length - in, y0 + in}, {x0 + length - in, y0 + h - in}, {x0 + in, y0 + h - in}})
        box << QPointF(x + u * std::cos(a) - v * std::sin(a), y + u * std::sin(a) + v * std::cos(a));
    return box;
}

// Both turns (the left one's R − Wi curve takes the outer prefix): layers, tangents, arcs through BC
// and EC, paths, points, names clear of each other, extent and view, a Japanese font.
TEST(DxfDrawing, ReadBackByAnIndependentReader)
{
    const Corner right{.bx = 0, .by = 0, .ix = 10, .iy = 10, .ex = 0, .ey = 20, .r = 10, .wi = 1, .wo = 2,
                       .type = 0, .n = 4, .ip = "表ソ交"};
    const Corner left{.bx = 50, .by = 120, .ix = 80, .iy = 30, .ex = 0, .ey = 10, .r = 15, .wi = 2, .wo = 3,
                      .type = 3, .n = 4, .ip = "ｲﾛ12"};
    for (const Corner& c : {right, left}) {
        const Doc d(c);
        ASSERT_TRUE(d.refusal.isEmpty());
        const CornerElements& s = d.k.el;
        SCOPED_TRACE(s.TurnSign > 0 ? "right" : "left");
        QByteArray dxf;
        ASSERT_TRUE(DxfFile({CornerOf(d.k, d.exports, BlockExportCounts(d.k))}, dxf).isEmpty());
        QString skip;
        Drawing byLayer = ReadBack(dxf, skip);
        if (!skip.isEmpty()) GTEST_SKIP() << skip.toStdString();
        QStringList layers;
        for (const QStringList& l : byLayer["LAYER"]) layers << l[1];
        for (const char* l : {"TANGENT", "CURVE_CENTRE", "CURVE_INNER", "CURVE_OUTER", "STAKE_CENTRE",
                              "STAKE_INNER", "STAKE_OUTER", "POINT", "POINT_NAME"})
            EXPECT_TRUE(layers.contains(QLatin1String(l))) << l;
        for (const char* table : {"STYLE", "HEADER", "VIEW"}) ASSERT_EQ(byLayer[table].size(), 1u) << table;
        EXPECT_EQ(byLayer["STYLE"][0].value(2), "msgothic.ttc") << "a TrueType font with Japanese, not the shape font txt";
        const QStringList& header = byLayer["HEADER"][0];
        EXPECT_EQ(header.value(6), "34") << "points as a circle with a cross";
        ExpectAt(header, 5, {0.625});  // half the name height
        const double minX = header[2].toDouble(), minY = header[3].toDouble(), maxX = header[4].toDouble(), maxY = header[5].toDouble();
        auto inside = [&](double x, double y) { return minX <= x && x <= maxX && minY <= y && y <= maxY; };

        // In the drawing x is survey Y and y survey X.
        const auto& tangents = byLayer["TANGENT"];
        ASSERT_EQ(tangents.size(), 2u);
        ExpectAt(tangents[0], 0, {c.by, c.bx, c.iy, c.ix});
        ExpectAt(tangents[1], 0, {c.iy, c.ix, c.ey, c.ex});

        // The exported points of each curve, by name: IP number, prefix, row label.
        const std::vector<ExportPoint> points = ExportPoints(d.exports);
        const QString ip = QString::fromUtf8(c.ip);
        const char* prefixes[3] = {"C", "I", "O"};
        const char* kinds[3] = {"CENTRE", "INNER", "OUTER"};
        const bool r = s.TurnSign > 0;
        const double radii[3] = {c.r, r ? c.r - c.wi : c.r + c.wo, r ? c.r + c.wo : c.r - c.wi};
        for (int k = 0; k < 3; ++k) {
            std::vector<ExportPoint> curve;
            std::vector<double> path;
            for (const ExportPoint& p : points)
                if (p.name.startsWith(ip + prefixes[k])) curve.push_back(p), path.insert(path.end(), {p.y, p.x});
            ASSERT_GE(curve.size(), 3u);
            EXPECT_NEAR(std::hypot(curve.front().x - s.CenX, curve.front().y - s.CenY), radii[k], 1e-9) << prefixes[k];
            const auto& arcs = byLayer[QStringLiteral("CURVE_") + kinds[k]];
            ASSERT_EQ(arcs.size(), 1u) << kinds[k];
            ExpectAt(arcs[0], 0, {s.CenY, s.CenX, radii[k]});
            // Counter-clockwise from start to end, through the curve's BC and EC.
            const double bc = AngleFrom(s.CenX, s.CenY, curve.front().x, curve.front().y);
            const double ec = AngleFrom(s.CenX, s.CenY, curve.back().x, curve.back().y);
            ExpectAt(arcs[0], 3, r ? std::vector{ec, bc} : std::vector{bc, ec}, 1e-7);
            EXPECT_TRUE(inside(arcs[0][7].toDouble(), arcs[0][8].toDouble())) << "the extent holds the arc's start " << kinds[k];
            EXPECT_TRUE(inside(arcs[0][9].toDouble(), arcs[0][10].toDouble())) << "the extent holds the arc's end " << kinds[k];

            const auto& paths = byLayer[QStringLiteral("STAKE_") + kinds[k]];
            ASSERT_EQ(paths.size(), 1u);
            EXPECT_EQ(paths[0].size(), 2 + static_cast<qsizetype>(path.size())) << kinds[k];
            ExpectAt(paths[0], 0, path);
        }
        const auto& marks = byLayer["POINT"];
        const auto& names = byLayer["POINT_NAME"];
        ASSERT_EQ(marks.size(), points.size());
        ASSERT_EQ(names.size(), points.size());
        for (size_t i = 0; i < points.size(); ++i) {
            EXPECT_EQ(names[i].value(2), points[i].name) << "names come back exactly";
            ExpectAt(marks[i], 0, {points[i].y, points[i].x});
            EXPECT_TRUE(inside(points[i].y, points[i].x));
            // Anchored half a name height off its point, never at (0, 0).
            EXPECT_EQ(names[i].value(5) + names[i].value(6), names[i].value(3) + names[i].value(4)) << "alignment point at the insertion point";
            EXPECT_NEAR(std::hypot(names[i][3].toDouble() - points[i].y, names[i][4].toDouble() - points[i].x), 0.625, 1e-9);
            ExpectAt(names[i], 8, {1.25});  // 2.5 mm at 1/500
        }
        // Names of points on one spot or one radial line never cover each other.
        int together = 0;
        for (size_t i = 0; i < points.size(); ++i)
            for (size_t j = i + 1; j < points.size(); ++j) {
                const double a = AngleFrom(s.CenX, s.CenY, points[i].x, points[i].y), b = AngleFrom(s.CenX, s.CenY, points[j].x, points[j].y);
                // SP lies about 1 mm off the middle point (the guarded azimuths).
                const bool near = std::hypot(points[i].x - points[j].x, points[i].y - points[j].y) < 0.01;
                if ((!near && std::fabs(a - b) > 1e-6) || points[i].name.startsWith("M ") || points[j].name.startsWith("M ")) continue;
                together += near;
                EXPECT_FALSE(TextBox(names[i]).intersects(TextBox(names[j])))
                    << points[i].name.toStdString() << " and " << points[j].name.toStdString();
            }
        // BC, EC (and SP for parallel chords at an even count) lie on the centre curve's points.
        EXPECT_EQ(together, c.type == 0 ? 3 : 2);
        const auto& view = byLayer["VIEW"];
        ExpectAt(view[0], 0, {(minX + maxX) / 2, (minY + maxY) / 2}, 1e-9);
        EXPECT_GE(view[0][4].toDouble(), maxY - minY) << "the saved view holds the drawing";
    }
}

// Names are 2.5 mm on paper at the scale; a bad scale, or a number past the library's ~1e238 buffer,
// is refused before anything is written.
TEST(DxfDrawing, ScaleAndNumbersTheDrawingCannotTake)
{
    const Doc d(Corner{.n = 2});
    const DxfCorner good = CornerOf(d.k, d.exports, BlockExportCounts(d.k));
    QByteArray out;
    ASSERT_TRUE(DxfFile({good}, out, 200).isEmpty());
    EXPECT_TRUE(out.contains(" 40\n0.5\n  1\nBC 12\n")) << "0.5 m at 1/200";
    const double nan = std::nan(""), inf = std::numeric_limits<double>::infinity();
    for (double scale : {0.0, nan, 1e6}) {
        out = "previous";
        EXPECT_TRUE(DxfFile({good}, out, scale).contains(QStringLiteral("縮尺"))) << scale;
        EXPECT_EQ(out, "previous");
    }
    std::vector<std::pair<const char*, DxfCorner>> bad(5, {"", good});
    bad[0].first = "BP at 1e238", bad[0].second.bp.x = 1e238;
    bad[1].first = "radius 1e300", bad[1].second.radius[2] = 1e300;
    bad[2].first = "a point not a number", bad[2].second.points[5].y = nan;
    bad[3].first = "a path vertex at -1e10", bad[3].second.paths[1][0].x = -1e10;
    bad[4].first = "an infinite centre", bad[4].second.centre.y = inf;
    for (const auto& [name, c] : bad) {
        out = "previous";
        EXPECT_TRUE(DxfFile({good, c}, out).contains(QStringLiteral("DXF に書けない数値があります"))) << name;
        EXPECT_EQ(out, "previous") << name;
    }
}

TEST(DxfDrawing, RefusesANameWithoutACodeAndDrawsNoArcOfNoRadius)
{
    DxfCorner c;
    c.ip = {10, 10}, c.ep = {0, 20}, c.radius = {10, 0, -1}, c.ia = 90, c.turn = 1;
    c.points = {{QStringLiteral("P😀"), 1, 1}};
    QByteArray out;
    EXPECT_TRUE(DxfFile({c}, out).contains(QStringLiteral("😀")));
    EXPECT_TRUE(out.isEmpty());
    c.points = {{QStringLiteral("P"), 1, 1}};
    ASSERT_TRUE(DxfFile({c, c}, out).isEmpty());
    EXPECT_EQ(out.count("\nARC\n"), 2) << "one arc per corner: the inner and outer radius are not positive";
    EXPECT_EQ(out.count("\nLINE\n"), 4);
    EXPECT_TRUE(out.contains("$DWGCODEPAGE\n  3\nANSI_932\n"));
}

// A drawing cut short where it is made (the file size limit standing for a full disk) or where it is
// written is refused, never handed on without its end.
TEST(DxfDrawing, AStreamCutShortIsRefused)
{
    const Doc d(Corner{.n = 200});
    const DxfCorner c = CornerOf(d.k, d.exports, BlockExportCounts(d.k));
    QByteArray whole;
    ASSERT_TRUE(DxfFile({c}, whole).isEmpty());
    constexpr rlim_t kLimit = 48 * 1024;
    ASSERT_GT(whole.size(), 2 * static_cast<qsizetype>(kLimit));

    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = std::min(saved.rlim_max, kLimit);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);  // a write past the limit then fails with EFBIG
    QByteArray cut = "previous";
    QString why;
    if (setrlimit(RLIMIT_FSIZE, &small) == 0) {
        why = DxfFile({c}, cut);
        setrlimit(RLIMIT_FSIZE, &saved);
    }
    std::signal(SIGXFSZ, previous);
    EXPECT_EQ(why, QStringLiteral("DXF を書き終えられませんでした（一時フォルダの空き容量を確かめてください）。"));
    EXPECT_EQ(cut, "previous");

    QFile full(QStringLiteral("/dev/full"));
    if (!full.open(QIODevice::WriteOnly)) GTEST_SKIP() << "no /dev/full";
    DxfStream stream;
    ASSERT_TRUE(stream.begin().isEmpty());
    ASSERT_TRUE(stream.add(c).isEmpty());
    EXPECT_TRUE(stream.end(full).startsWith(QStringLiteral("DXF を書けません（"))) << "the device's own reason";
}

}  // namespace
}  // namespace tovanel
