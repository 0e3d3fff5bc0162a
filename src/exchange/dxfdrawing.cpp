// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/dxfdrawing.h"

#include "calc/corner.h"
#include "calc/numeric.h"
#include "calc/settingsfile.h"
#include "exchange/pointwriter.h"

#include <QBuffer>
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

/// The drawing's extent in drawing coordinates, for viewers that open on it.
struct Extent {
    double minX = std::numeric_limits<double>::infinity(), minY = minX;
    double maxX = -minX, maxY = -minX;

    void take(double sx, double sy)
    {
        if (!std::isfinite(sx) || !std::isfinite(sy)) return;
        minX = std::min(minX, sy), maxX = std::max(maxX, sy);
        minY = std::min(minY, sx), maxY = std::max(maxY, sx);
    }
    void take(const DxfCorner& c)
    {
        for (const SurveyXY& p : {c.bp, c.ip, c.ep}) take(p.x, p.y);
        for (const ExportPoint& p : c.points) take(p.x, p.y);
    }
};

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

void WriteCorner(DL_Dxf& dxf, DL_WriterA& dw, const DxfCorner& c, const std::vector<std::string>& names)
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

DxfCorner CornerOf(const Corner& corner, const ExportList& exports, const std::array<int, 3>& blockCounts)
{
    const CornerInput& in = corner.in;
    const CornerElements& el = corner.el;
    DxfCorner c;
    c.bp = {in.BpX, in.BpY};
    c.ip = {in.IpX, in.IpY};
    c.ep = {in.EpX, in.EpY};
    c.centre = {el.CenX, el.CenY};
    const double r = el.RadAbs;
    c.radius = {r, r - in.WidthIn, r + in.WidthOut};
    double az = el.AzIn - 90 * el.TurnSign;
    c.azBC = Norm360(az);
    c.ia = el.IAWork;
    c.turn = el.TurnSign;
    // The block points follow the elements sheet's BC, SP, EC and centre.
    const std::vector<ExportPoint>& list = exports.all();
    size_t entry = 4;
    for (size_t k = 0; k < 3; ++k) {
        QString previous;
        for (int j = 0; j < blockCounts[k] && entry < list.size(); ++j, ++entry) {
            if (j > 0 && list[entry].name == previous) continue;  // EC listed twice
            previous = list[entry].name;
            c.paths[k].push_back({list[entry].x, list[entry].y});
        }
    }
    c.points = ExportPoints(exports);
    return c;
}

struct DxfStream::Body {
    // dxflib writes to a named file: a private temporary one for everything after the header,
    // which is written last, once the extent and the handles used are known.
    QTemporaryFile file;
    DL_Dxf dxf;
    std::unique_ptr<DL_WriterA> dw;
    Extent extent;
};

DxfStream::DxfStream() = default;
DxfStream::~DxfStream() = default;

QString DxfStream::begin()
{
    m_body = std::make_unique<Body>();
    if (!m_body->file.open())
        return QStringLiteral("DXF の一時ファイルを作れません（%1）。").arg(m_body->file.errorString());
    m_body->dw.reset(m_body->dxf.out(QFile::encodeName(m_body->file.fileName()).constData(), DL_Codes::AC1015));
    if (!m_body->dw) return QStringLiteral("DXF の一時ファイルに書けません。");
    Tables(m_body->dxf, *m_body->dw);
    m_body->dw->sectionEntities();
    return {};
}

QString DxfStream::add(const DxfCorner& corner)
{
    if (!m_body || !m_body->dw) return QStringLiteral("DXF の書き出しが始まっていません。");
    std::vector<std::string> names;
    for (const ExportPoint& p : corner.points) {
        if (QString why = PointNameProblem(p.name, PointFileKind::Dxf); !why.isEmpty()) return why;
        QByteArray enc;
        EncodeCp932(p.name, enc);
        names.push_back(enc.toStdString());
    }
    m_body->extent.take(corner);
    WriteCorner(m_body->dxf, *m_body->dw, corner, names);
    return {};
}

QString DxfStream::end(QIODevice& out)
{
    if (!m_body || !m_body->dw) return QStringLiteral("DXF の書き出しが始まっていません。");
    const std::unique_ptr<Body> body = std::move(m_body);
    DL_WriterA& dw = *body->dw;
    dw.sectionEnd();
    body->dxf.writeObjects(dw);
    body->dxf.writeObjectsEnd(dw);
    dw.dxfEOF();
    dw.close();
    const QString full = QStringLiteral("DXF を書き終えられませんでした（一時フォルダの空き容量を確かめてください）。");
    // A full disk cuts the stream short without a word from the library: the end mark tells.
    QFile& file = body->file;
    if (file.size() < 4 || !file.seek(file.size() - 4) || file.read(4) != "EOF\n") return full;

    QTemporaryFile headFile;
    if (!headFile.open()) return QStringLiteral("DXF の一時ファイルを作れません（%1）。").arg(headFile.errorString());
    {
        const std::unique_ptr<DL_WriterA> hw(
            body->dxf.out(QFile::encodeName(headFile.fileName()).constData(), DL_Codes::AC1015));
        if (!hw) return QStringLiteral("DXF の一時ファイルに書けません。");
        // dxflib's own header, with a handle seed above every handle the drawing uses.
        hw->comment("dxflib " DL_VERSION);
        hw->sectionHeader();
        hw->dxfString(9, "$ACADVER");
        hw->dxfString(1, "AC1015");
        hw->dxfString(9, "$HANDSEED");
        hw->dxfHex(5, static_cast<int>(std::max<unsigned long>(0xFFFF, dw.getNextHandle())));
        // Texts are in code page 932; readers decode them by this.
        hw->dxfString(9, "$DWGCODEPAGE");
        hw->dxfString(3, "ANSI_932");
        hw->dxfString(9, "$INSUNITS");
        hw->dxfInt(70, 6);  // metres
        const Extent& e = body->extent;
        if (e.minX <= e.maxX) {
            hw->dxfString(9, "$EXTMIN");
            hw->dxfReal(10, e.minX), hw->dxfReal(20, e.minY), hw->dxfReal(30, 0.0);
            hw->dxfString(9, "$EXTMAX");
            hw->dxfReal(10, e.maxX), hw->dxfReal(20, e.maxY), hw->dxfReal(30, 0.0);
        }
        hw->sectionEnd();
        hw->close();
    }
    if (!headFile.reset() || !file.reset()) return full;
    for (QFile* part : {static_cast<QFile*>(&headFile), &file}) {
        QByteArray chunk;
        while (!(chunk = part->read(1 << 20)).isEmpty()) {
            if (out.write(chunk) != chunk.size()) return QStringLiteral("DXF を書けません（%1）。").arg(out.errorString());
        }
        if (!part->atEnd()) return full;
    }
    return {};
}

QString DxfFile(const std::vector<DxfCorner>& corners, QByteArray& out)
{
    DxfStream dxf;
    if (QString why = dxf.begin(); !why.isEmpty()) return why;
    for (const DxfCorner& c : corners)
        if (QString why = dxf.add(c); !why.isEmpty()) return why;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (QString why = dxf.end(buffer); !why.isEmpty()) return why;
    out = std::move(bytes);
    return {};
}

}  // namespace tovanel
