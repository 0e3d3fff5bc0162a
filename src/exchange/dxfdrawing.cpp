// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/dxfdrawing.h"

#include "calc/calcstate.h"
#include "calc/numeric.h"
#include "calc/settingsfile.h"
#include "exchange/pointwriter.h"

#include <QTemporaryFile>
#include <dl_dxf.h>
#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

namespace tovanel {

namespace {

struct Layer {
    const char* name;
    int colour;  // AutoCAD colour index
};
enum LayerId { kTangent, kCurve, kStake = kCurve + 3, kPoint = kStake + 3, kPointName, kLayerCount };
constexpr Layer kLayers[kLayerCount] = {
    {"TANGENT", 7},      {"CURVE_CENTRE", 1}, {"CURVE_INNER", 3}, {"CURVE_OUTER", 5},
    {"STAKE_CENTRE", 6}, {"STAKE_INNER", 4},  {"STAKE_OUTER", 30}, {"POINT", 7},
    {"POINT_NAME", 7},
};

/// Entities take their colour, line type and weight from their layer.
DL_Attributes On(LayerId layer) { return DL_Attributes(kLayers[layer].name, 256, -1, "BYLAYER", 1.0); }

/// Drawing angle (degrees counter-clockwise from +x = east) of a survey azimuth.
double DrawingAngle(double azimuth)
{
    const double a = std::fmod(90 - azimuth, 360.0);
    return a < 0 ? a + 360 : a;
}

/// Text height of a corner's names: in proportion to its radius, between 0.1 m and 1 m.
double NameHeight(const DxfCorner& c)
{
    const double r = c.radius[0];
    return std::isfinite(r) ? std::clamp(r / 50, 0.1, 1.0) : 0.1;
}

/// The file's extent in drawing coordinates, for viewers that open on it.
void Extent(const std::vector<DxfCorner>& corners, double& minX, double& minY, double& maxX, double& maxY)
{
    minX = minY = std::numeric_limits<double>::infinity();
    maxX = maxY = -minX;
    auto take = [&](double sx, double sy) {
        if (!std::isfinite(sx) || !std::isfinite(sy)) return;
        minX = std::min(minX, sy), maxX = std::max(maxX, sy);
        minY = std::min(minY, sx), maxY = std::max(maxY, sx);
    };
    for (const DxfCorner& c : corners) {
        for (const SurveyXY& p : {c.bp, c.ip, c.ep}) take(p.x, p.y);
        for (const ExportPoint& p : c.points) take(p.x, p.y);
    }
}

void Tables(DL_Dxf& dxf, DL_WriterA& dw)
{
    dw.sectionTables();
    dxf.writeVPort(dw);
    dw.tableLinetypes(3);
    dxf.writeLinetype(dw, DL_LinetypeData("BYBLOCK", "", 0, 0, 0.0));
    dxf.writeLinetype(dw, DL_LinetypeData("BYLAYER", "", 0, 0, 0.0));
    dxf.writeLinetype(dw, DL_LinetypeData("CONTINUOUS", "Solid line", 0, 0, 0.0));
    dw.tableEnd();
    dw.tableLayers(kLayerCount + 1);
    dxf.writeLayer(dw, DL_LayerData("0", 0), DL_Attributes("", 7, -3, "CONTINUOUS", 1.0));
    for (const Layer& l : kLayers)
        dxf.writeLayer(dw, DL_LayerData(l.name, 0), DL_Attributes("", l.colour, -3, "CONTINUOUS", 1.0));
    dw.tableEnd();
    dw.tableStyle(1);
    dxf.writeStyle(dw, DL_StyleData("Standard", 0, 0.0, 1.0, 0.0, 0, 2.5, "txt", ""));
    dw.tableEnd();
    dxf.writeView(dw);
    dxf.writeUcs(dw);
    dw.tableAppid(1);
    dxf.writeAppid(dw, "ACAD");
    dw.tableEnd();
    dxf.writeDimStyle(dw, 1, 1, 1, 1, 1);
    dxf.writeBlockRecord(dw);
    dw.tableEnd();
    dw.sectionEnd();
    dw.sectionBlocks();
    for (const char* block : {"*Model_Space", "*Paper_Space", "*Paper_Space0"}) {
        dxf.writeBlock(dw, DL_BlockData(block, 0, 0.0, 0.0, 0.0));
        dxf.writeEndBlock(dw, block);
    }
    dw.sectionEnd();
}

void Corner(DL_Dxf& dxf, DL_WriterA& dw, const DxfCorner& c, const std::vector<std::string>& names)
{
    auto line = [&](const SurveyXY& a, const SurveyXY& b) {
        dxf.writeLine(dw, DL_LineData(a.y, a.x, 0, b.y, b.x, 0), On(kTangent));
    };
    line(c.bp, c.ip);
    line(c.ip, c.ep);

    const bool sweeps = std::isfinite(c.ia) && c.ia > 0 && c.ia < 360 && std::isfinite(c.azBC) &&
                        (c.turn == 1 || c.turn == -1);
    for (int k = 0; k < 3; ++k) {
        const double r = c.radius[static_cast<size_t>(k)];
        if (!sweeps || !std::isfinite(r) || r <= 0) continue;
        // Arcs run counter-clockwise: from EC to BC on a clockwise curve, BC to EC otherwise.
        const double bc = DrawingAngle(c.azBC);
        const double ec = DrawingAngle(c.azBC + c.turn * c.ia);
        const auto [from, to] = c.turn > 0 ? std::pair(ec, bc) : std::pair(bc, ec);
        dxf.writeArc(dw, DL_ArcData(c.centre.y, c.centre.x, 0, r, from, to),
                     On(static_cast<LayerId>(kCurve + k)));
    }
    for (int k = 0; k < 3; ++k) {
        const auto& path = c.paths[static_cast<size_t>(k)];
        if (path.size() < 2) continue;
        dxf.writePolyline(dw, DL_PolylineData(static_cast<int>(path.size()), 0, 0, 0),
                          On(static_cast<LayerId>(kStake + k)));
        for (const SurveyXY& p : path) dxf.writeVertex(dw, DL_VertexData(p.y, p.x, 0, 0));
        dxf.writePolylineEnd(dw);
    }
    const double h = NameHeight(c);
    for (size_t i = 0; i < c.points.size(); ++i) {
        const ExportPoint& p = c.points[i];
        dxf.writePoint(dw, DL_PointData(p.y, p.x, 0), On(kPoint));
        dxf.writeText(dw,
                      DL_TextData(p.y + h / 2, p.x + h / 2, 0, 0, 0, 0, h, 1, 0, 0, 0, names[i],
                                  "Standard", 0),
                      On(kPointName));
    }
}

}  // namespace

DxfCorner CornerOf(const CalcState& s, const std::array<int, 3>& blockCounts)
{
    DxfCorner c;
    c.bp = {s.BpX, s.BpY};
    c.ip = {s.IpX, s.IpY};
    c.ep = {s.EpX, s.EpY};
    c.centre = {s.CenX, s.CenY};
    const double r = std::fabs(s.Rad);
    c.radius = {r, r - s.WidthIn, r + s.WidthOut};
    double az = s.AzIn - 90 * s.TurnSign;
    c.azBC = Norm360(az);
    c.ia = s.IAWork;
    c.turn = s.TurnSign;
    // The block points follow the elements sheet's BC, SP, EC and centre.
    int entry = 5;
    const int last = std::min<int>(s.ExpCount, static_cast<int>(s.ExpNames.size()) - 1);
    for (size_t k = 0; k < 3; ++k) {
        QString previous;
        for (int j = 0; j < blockCounts[k] && entry <= last; ++j, ++entry) {
            const auto e = static_cast<size_t>(entry);
            if (j > 0 && s.ExpNames[e] == previous) continue;  // EC listed twice
            previous = s.ExpNames[e];
            c.paths[k].push_back({s.ExpCoords[e][1], s.ExpCoords[e][2]});
        }
    }
    c.points = ExportPoints(s);
    return c;
}

QString DxfFile(const std::vector<DxfCorner>& corners, QByteArray& out)
{
    std::vector<std::vector<std::string>> names(corners.size());
    for (size_t i = 0; i < corners.size(); ++i) {
        for (const ExportPoint& p : corners[i].points) {
            if (QString why = PointNameProblem(p.name, PointFileKind::Dxf); !why.isEmpty()) return why;
            QByteArray enc;
            EncodeCp932(p.name, enc);
            names[i].push_back(enc.toStdString());
        }
    }
    // dxflib writes to a named file: a private temporary one, read back and removed.
    QTemporaryFile tmp;
    if (!tmp.open()) return QStringLiteral("DXF の一時ファイルを作れません（%1）。").arg(tmp.errorString());
    const QByteArray tmpName = QFile::encodeName(tmp.fileName());
    {
        DL_Dxf dxf;
        const std::unique_ptr<DL_WriterA> dw(dxf.out(tmpName.constData(), DL_Codes::AC1015));
        if (!dw) return QStringLiteral("DXF の一時ファイルに書けません。");
        dxf.writeHeader(*dw);
        // Texts are in code page 932; readers decode them by this.
        dw->dxfString(9, "$DWGCODEPAGE");
        dw->dxfString(3, "ANSI_932");
        dw->dxfString(9, "$INSUNITS");
        dw->dxfInt(70, 6);  // metres
        double minX, minY, maxX, maxY;
        Extent(corners, minX, minY, maxX, maxY);
        if (minX <= maxX) {
            dw->dxfString(9, "$EXTMIN");
            dw->dxfReal(10, minX), dw->dxfReal(20, minY), dw->dxfReal(30, 0.0);
            dw->dxfString(9, "$EXTMAX");
            dw->dxfReal(10, maxX), dw->dxfReal(20, maxY), dw->dxfReal(30, 0.0);
        }
        dw->sectionEnd();
        Tables(dxf, *dw);
        dw->sectionEntities();
        for (size_t i = 0; i < corners.size(); ++i) Corner(dxf, *dw, corners[i], names[i]);
        dw->sectionEnd();
        dxf.writeObjects(*dw);
        dxf.writeObjectsEnd(*dw);
        dw->dxfEOF();
        dw->close();
    }
    QByteArray bytes = tmp.readAll();
    // A full disk cuts the stream short without a word from the library: the end mark tells.
    if (!bytes.endsWith("EOF\n")) return QStringLiteral("DXF を書き終えられませんでした（一時フォルダの空き容量を確かめてください）。");
    out = std::move(bytes);
    return {};
}

}  // namespace tovanel
