// SPDX-License-Identifier: GPL-3.0-or-later
// The DXF drawing read back by an independent reader (Debian's ezdxf): layers, tangents, arcs
// through the exported BC and EC, staking paths, points and their names, for both turns.

#include "exchange/dxfdrawing.h"

#include "sheets/blocksheet.h"

#include "../sheets/sheetfixture.h"
#include "support/files.h"
#include "support/run.h"

#include <gtest/gtest.h>
#include <cmath>
#include <map>

namespace tovanel {
namespace {

using test::Corner;
using test::Doc;

// One line per entity: kind, layer, then numbers or the text.
const char kReader[] = R"(
import sys, ezdxf
doc = ezdxf.readfile(sys.argv[1])
for l in doc.layers: print('LAYER', l.dxf.name, l.dxf.color, sep='\t')
for e in doc.modelspace():
    t, d = e.dxftype(), e.dxf
    if t == 'LINE': v = [*d.start][:2] + [*d.end][:2]
    elif t == 'ARC': v = [*d.center][:2] + [d.radius, d.start_angle, d.end_angle]
    elif t == 'LWPOLYLINE': v = [c for p in e.get_points('xy') for c in p]
    elif t == 'POINT': v = [*d.location][:2]
    elif t == 'TEXT': v = [d.text]
    else: v = []
    print(t, d.layer, *[repr(x) if isinstance(x, float) else x for x in v], sep='\t')
)";

/// What the reader printed, by layer ("LAYER" for the layer table): kind, layer, numbers or text.
using Drawing = std::map<QString, std::vector<QStringList>>;

/// The drawing as the reader sees it; empty with `skip` set when there is no reader.
Drawing ReadBack(const QByteArray& dxf, QString& skip)
{
    QTemporaryDir dir;
    const test::Ran r = test::Launch(QStringLiteral("/usr/bin/python3"),
                                     {QStringLiteral("-c"), QString::fromLatin1(kReader), test::WriteIn(dir, "c.dxf", dxf)});
    if (r.status != 0) skip = "no DXF reader (/usr/bin/python3 with python3-ezdxf): " + r.err.section(u'\n', -2);
    Drawing out;
    for (const QString& line : r.out.split(u'\n', Qt::SkipEmptyParts)) {
        const QStringList f = line.split(u'\t');
        out[f[0] == QLatin1String("LAYER") ? f[0] : f.value(1)].push_back(f);
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

TEST(DxfDrawing, ReadBackByAnIndependentReader)
{
    const Corner right{.bx = 0, .by = 0, .ix = 10, .iy = 10, .ex = 0, .ey = 20, .r = 10, .wi = 1, .wo = 2,
                       .type = 2, .n = 3, .ip = "表ソ交"};
    const Corner left{.bx = 50, .by = 120, .ix = 80, .iy = 30, .ex = 0, .ey = 10, .r = 15, .wi = 2, .wo = 3,
                      .type = 3, .n = 4, .ip = "ｲﾛ12"};
    for (const Corner& c : {right, left}) {
        const Doc d(c);
        ASSERT_TRUE(d.refusal.isEmpty());
        const CornerElements& s = d.k.el;
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

        // In the drawing x is survey Y and y survey X.
        const auto& tangents = byLayer["TANGENT"];
        ASSERT_EQ(tangents.size(), 2u);
        ExpectAt(tangents[0], 0, {c.by, c.bx, c.iy, c.ix});
        ExpectAt(tangents[1], 0, {c.iy, c.ix, c.ey, c.ex});

        // The exported points of each curve, by name: IP number, prefix, row label.
        const std::vector<ExportPoint> points = ExportPoints(d.exports);
        const QString ip = QString::fromUtf8(c.ip);
        const char* prefixes[3] = {"C", s.TurnSign > 0 ? "I" : "O", s.TurnSign > 0 ? "O" : "I"};
        const char* kinds[3] = {"CENTRE", "INNER", "OUTER"};
        const double radii[3] = {c.r, c.r - c.wi, c.r + c.wo};
        for (int k = 0; k < 3; ++k) {
            std::vector<ExportPoint> curve;
            std::vector<double> path;
            for (const ExportPoint& p : points)
                if (p.name.startsWith(ip + prefixes[k])) curve.push_back(p), path.insert(path.end(), {p.y, p.x});
            ASSERT_GE(curve.size(), 3u);
            const auto& arcs = byLayer[QStringLiteral("CURVE_") + kinds[k]];
            ASSERT_EQ(arcs.size(), 1u) << kinds[k];
            ExpectAt(arcs[0], 0, {s.CenY, s.CenX, radii[k]});
            // Counter-clockwise from start to end, through the curve's BC and EC.
            const double bc = AngleFrom(s.CenX, s.CenY, curve.front().x, curve.front().y);
            const double ec = AngleFrom(s.CenX, s.CenY, curve.back().x, curve.back().y);
            ExpectAt(arcs[0], 3, s.TurnSign > 0 ? std::vector{ec, bc} : std::vector{bc, ec}, 1e-7);

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
        }
    }
}

TEST(DxfDrawing, RefusesANameWithoutACodeAndDrawsNoArcOfNoRadius)
{
    DxfCorner c;
    c.ip = {10, 10}, c.ep = {0, 20}, c.radius = {10, 0, -1}, c.ia = 90, c.turn = 1;
    c.points = {{QStringLiteral("P😀"), 1, 1}};
    QByteArray out;
    EXPECT_TRUE(DxfFile({c}, out).contains(QStringLiteral("😀")) && out.isEmpty());
    c.points = {{QStringLiteral("P"), 1, 1}};
    ASSERT_TRUE(DxfFile({c, c}, out).isEmpty());
    EXPECT_EQ(out.count("\nARC\n"), 2) << "one arc per corner: the inner and outer radius are not positive";
    EXPECT_EQ(out.count("\nLINE\n"), 4);
    EXPECT_TRUE(out.contains("$DWGCODEPAGE\n  3\nANSI_932\n"));
}

}  // namespace
}  // namespace tovanel
