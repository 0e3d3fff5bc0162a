// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/dxfdrawing.h"

#include "calc/corner.h"
#include "calc/numeric.h"
#include "calc/settingsfile.h"
#include "exchange/pointwriter.h"

#include <QBuffer>
#include <QLocale>
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

/// The drawing's extent in drawing coordinates, for viewers that open on it.
struct Extent {
    double minX = std::numeric_limits<double>::infinity(), minY = minX;
    double maxX = -minX, maxY = -minX;

    bool empty() const { return !(minX <= maxX); }
    /// Takes a point in drawing coordinates (x east, y north).
    void take(double x, double y)
    {
        minX = std::min(minX, x), maxX = std::max(maxX, x);
        minY = std::min(minY, y), maxY = std::max(maxY, y);
    }
    /// Takes the arc of radius r about (cx, cy) from angle `from` counter-clockwise to `to`
    /// (degrees): its ends and every quadrant point it passes.
    void takeArc(double cx, double cy, double r, double from, double to)
    {
        const double sweep = std::fmod(to - from + 360, 360.0);
        for (double a : {from, to}) take(cx + r * std::cos(a * DegToRad), cy + r * std::sin(a * DegToRad));
        for (int q = 0; q < 4; ++q)
            if (std::fmod(q * 90.0 - from + 360, 360.0) <= sweep) take(cx + r * std::cos(q * PiVal / 2), cy + r * std::sin(q * PiVal / 2));
    }
};

/// A number the drawing can hold.
bool Writable(double v) { return std::isfinite(v) && std::fabs(v) <= kMaxDxfValue; }

/// Why the corner's numbers cannot be written, or empty.
QString NumberProblem(const DxfCorner& c)
{
    std::vector<double> values = {c.bp.x, c.bp.y, c.ip.x, c.ip.y, c.ep.x, c.ep.y, c.centre.x, c.centre.y, c.azBC, c.ia};
    values.insert(values.end(), c.radius.begin(), c.radius.end());
    for (const auto& path : c.paths)
        for (const SurveyXY& p : path) values.insert(values.end(), {p.x, p.y});
    for (const ExportPoint& p : c.points) values.insert(values.end(), {p.x, p.y});
    if (std::all_of(values.begin(), values.end(), Writable)) return {};
    return QStringLiteral("DXF に書けない数値があります（座標・半径は絶対値 %1 m 以下で、数値でなければなりません）。")
        .arg(QLocale(QLocale::English).toString(static_cast<qlonglong>(kMaxDxfValue)));
}

/// Where a name goes: its alignment point (drawing coordinates), angle and justification.
struct Label {
    double x = 0, y = 0;
    double angle = 0;  // degrees counter-clockwise from +x
    int hJust = 0;     // 0 left, 2 right
    int vJust = 2;     // 1 bottom, 2 middle, 3 top
    double dx = 1, dy = 0;  // the direction in which the text runs away from its point
};

/// The label of the point (px, py) of a curve about (cx, cy), names `height` high.
Label Place(double px, double py, double cx, double cy, LabelPlace place, double height)
{
    Label l;
    const double gap = height / 2;  // clear of the point's mark
    if (place == LabelPlace::Beside) {
        l.x = px + gap, l.y = py;
        return l;
    }
    double ux = px - cx, uy = py - cy;
    const double len = std::hypot(ux, uy);
    if (len > 0) {
        ux /= len, uy /= len;
    } else {
        ux = 1, uy = 0;
    }
    const bool inward = place == LabelPlace::InwardA || place == LabelPlace::InwardB;
    l.dx = inward ? -ux : ux, l.dy = inward ? -uy : uy;
    l.x = px + l.dx * gap, l.y = py + l.dy * gap;
    l.angle = std::atan2(l.dy, l.dx) * RadToDeg;
    // A text pointing left would read upside down: turned half round and set flush right, it
    // still runs away from its point.
    if (l.dx < -1e-9) {
        l.angle += 180;
        l.hJust = 2;
    }
    if (l.angle < 0) l.angle += 360;
    if (l.angle >= 360) l.angle -= 360;
    // Sides A and B of the radial line: on the text's top or bottom edge.
    l.vJust = place == LabelPlace::OutwardA || place == LabelPlace::InwardA ? 1 : 3;
    return l;
}

/// A TEXT entity with its alignment point where the text is anchored (dxflib's own always writes
/// one, at (0, 0) for plain left-aligned text).
void WriteName(DL_WriterA& dw, const Label& l, double height, const std::string& text)
{
    dw.entity("TEXT");
    dw.dxfString(100, "AcDbEntity");
    dw.entityAttributes(On(kPointName));
    dw.dxfString(100, "AcDbText");
    dw.coord(10, l.x, l.y);
    dw.dxfReal(40, height);
    dw.dxfString(1, text);
    dw.dxfReal(50, l.angle);
    dw.dxfReal(41, 1.0);
    dw.dxfString(7, "Standard");
    dw.dxfInt(72, l.hJust);
    dw.coord(11, l.x, l.y);
    dw.dxfString(100, "AcDbText");
    dw.dxfInt(73, l.vJust);
}

/// The label's extent: its length taken generously from its bytes (a half-width character as
/// wide as the text is high; readers scale a TrueType font's height differently), on either side
/// of its line.
void TakeLabel(Extent& e, const Label& l, double height, size_t bytes)
{
    const double length = height * static_cast<double>(bytes);
    const double nx = -l.dy * height, ny = l.dx * height;
    for (double along : {0.0, length})
        for (double side : {-1.0, 1.0}) e.take(l.x + l.dx * along + side * nx, l.y + l.dy * along + side * ny);
}

void Tables(DL_Dxf& dxf, DL_WriterA& dw, double height)
{
    // The TABLES section and its VPORT table open the head, written last, when the extent is known.
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
    // dxflib's style record names the shape font "txt", which has no Japanese.
    dw.tableStyle(1);
    dw.dxfString(0, "STYLE");
    dw.handle();
    dw.dxfString(100, "AcDbSymbolTableRecord");
    dw.dxfString(100, "AcDbTextStyleTableRecord");
    dw.dxfString(2, "Standard");
    dw.dxfInt(70, 0);
    dw.dxfReal(40, 0.0);
    dw.dxfReal(41, 1.0);
    dw.dxfReal(50, 0.0);
    dw.dxfInt(71, 0);
    dw.dxfReal(42, height);
    dw.dxfString(3, "msgothic.ttc");
    dw.dxfString(4, "");
    dw.dxfString(1001, "ACAD");
    dw.dxfString(1000, "MS Gothic");
    dw.dxfInt(1071, 0);
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

/// The VPORT table: the view *Active centred on the extent, its height holding all of it in a
/// window half as wide again as high.
void ViewportTable(DL_WriterA& dw, const Extent& e, unsigned long handle)
{
    constexpr double kAspect = 1.5, kMargin = 1.1;
    double cx = 0, cy = 0, height = 1;
    if (!e.empty()) {
        cx = (e.minX + e.maxX) / 2, cy = (e.minY + e.maxY) / 2;
        height = std::max({e.maxY - e.minY, (e.maxX - e.minX) / kAspect, 1e-3}) * kMargin;
    }
    dw.table("VPORT", 1, 8);
    dw.dxfString(0, "VPORT");
    dw.dxfHex(5, static_cast<int>(handle));
    dw.dxfString(100, "AcDbSymbolTableRecord");
    dw.dxfString(100, "AcDbViewportTableRecord");
    dw.dxfString(2, "*Active");
    dw.dxfInt(70, 0);
    // The window's corners, the view's centre, snap and grid, view direction and target, height,
    // aspect, lens, clipping, twist; then view mode, circle zoom, fast zoom, UCS icon, snap and
    // grid off.
    const std::pair<int, double> reals[] = {
        {10, 0}, {20, 0}, {11, 1}, {21, 1}, {12, cx}, {22, cy}, {13, 0}, {23, 0}, {14, 1}, {24, 1},
        {15, 1}, {25, 1}, {16, 0}, {26, 0}, {36, 1}, {17, 0}, {27, 0}, {37, 0}, {40, height},
        {41, kAspect}, {42, 50}, {43, 0}, {44, 0}, {50, 0}, {51, 0},
    };
    for (const auto& [code, value] : reals) dw.dxfReal(code, value);
    const std::pair<int, int> ints[] = {{71, 0}, {72, 100}, {73, 1}, {74, 3}, {75, 0}, {76, 0}, {77, 0}, {78, 0}};
    for (const auto& [code, value] : ints) dw.dxfInt(code, value);
    dw.tableEnd();
}

void WriteCorner(DL_Dxf& dxf, DL_WriterA& dw, const DxfCorner& c, const std::vector<std::string>& names,
                 double height, Extent& extent)
{
    auto line = [&](const SurveyXY& a, const SurveyXY& b) {
        dxf.writeLine(dw, DL_LineData(a.y, a.x, 0, b.y, b.x, 0), On(kTangent));
        extent.take(a.y, a.x), extent.take(b.y, b.x);
    };
    line(c.bp, c.ip);
    line(c.ip, c.ep);

    const bool sweeps = c.ia > 0 && c.ia < 360 && (c.turn == 1 || c.turn == -1);
    for (int k = 0; k < 3; ++k) {
        const double r = c.radius[static_cast<size_t>(k)];
        if (!sweeps || r <= 0) continue;
        // Arcs run counter-clockwise: from EC to BC on a clockwise curve, BC to EC otherwise.
        const double bc = DrawingAngle(c.azBC);
        const double ec = DrawingAngle(c.azBC + c.turn * c.ia);
        const auto [from, to] = c.turn > 0 ? std::pair(ec, bc) : std::pair(bc, ec);
        dxf.writeArc(dw, DL_ArcData(c.centre.y, c.centre.x, 0, r, from, to), On(static_cast<LayerId>(kCurve + k)));
        extent.takeArc(c.centre.y, c.centre.x, r, from, to);
    }
    for (int k = 0; k < 3; ++k) {
        const auto& path = c.paths[static_cast<size_t>(k)];
        if (path.size() < 2) continue;
        dxf.writePolyline(dw, DL_PolylineData(static_cast<int>(path.size()), 0, 0, 0),
                          On(static_cast<LayerId>(kStake + k)));
        for (const SurveyXY& p : path) {
            dxf.writeVertex(dw, DL_VertexData(p.y, p.x, 0, 0));
            extent.take(p.y, p.x);
        }
        dxf.writePolylineEnd(dw);
    }
    for (size_t i = 0; i < c.points.size(); ++i) {
        const ExportPoint& p = c.points[i];
        dxf.writePoint(dw, DL_PointData(p.y, p.x, 0), On(kPoint));
        extent.take(p.y, p.x);
        const LabelPlace place = i < c.places.size() ? c.places[i] : LabelPlace::OutwardA;
        const Label l = Place(p.y, p.x, c.centre.y, c.centre.x, place, height);
        WriteName(dw, l, height, names[i]);
        TakeLabel(extent, l, height, names[i].size());
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
    // The elements sheet's BC, SP and EC lie on the centre curve, as do the centre curve's own BC,
    // middle point and EC: their names go on opposite sides of it. The curves at R − Wi and
    // R + Wo take the other side of the same radial lines.
    const LabelPlace kindPlaces[3] = {LabelPlace::OutwardA, LabelPlace::InwardB, LabelPlace::OutwardB};
    const std::vector<ExportPoint>& list = exports.all();
    std::vector<LabelPlace> entryPlaces(list.size(), LabelPlace::InwardA);
    if (list.size() > 3) entryPlaces[3] = LabelPlace::Beside;  // the centre
    // The block points follow the elements sheet's BC, SP, EC and centre.
    size_t entry = 4;
    for (size_t k = 0; k < 3; ++k) {
        QString previous;
        for (int j = 0; j < blockCounts[k] && entry < list.size(); ++j, ++entry) {
            entryPlaces[entry] = kindPlaces[k];
            if (j > 0 && list[entry].name == previous) continue;  // EC listed twice
            previous = list[entry].name;
            c.paths[k].push_back({list[entry].x, list[entry].y});
        }
    }
    for (size_t i : ExportedEntries(exports)) c.places.push_back(entryPlaces[i]);
    c.points = ExportPoints(exports);
    // On a left-hand curve the curve at R − Wi carries the outer prefix (the block sheet's rule):
    // the layers follow the names.
    if (el.TurnSign < 0) {
        std::swap(c.radius[1], c.radius[2]);
        std::swap(c.paths[1], c.paths[2]);
    }
    return c;
}

struct DxfStream::Body {
    // dxflib writes to a named file: a private temporary one for everything after the VPORT
    // table, which is written last with the header, once the extent and the handles used are
    // known.
    QTemporaryFile file;
    DL_Dxf dxf;
    std::unique_ptr<DL_WriterA> dw;
    Extent extent;
};

DxfStream::DxfStream(double scale) : m_scale(scale) {}
DxfStream::~DxfStream() = default;

namespace {

// A full disk cuts dxflib's stream short without a word: the end mark each part closes with tells.
bool EndsWith(QFile& file, const QByteArray& mark)
{
    const qint64 size = file.size();
    return size >= mark.size() && file.seek(size - mark.size()) && file.read(mark.size()) == mark;
}

}  // namespace

QString DxfStream::begin()
{
    m_body.reset();
    if (!(m_scale >= kMinDxfScale && m_scale <= kMaxDxfScale))
        return QStringLiteral("DXF の縮尺 1/%1 は使えません。1/1 から 1/100000 の間で指定してください。").arg(m_scale);
    m_body = std::make_unique<Body>();
    if (!m_body->file.open())
        return QStringLiteral("DXF の一時ファイルを作れません（%1）。").arg(m_body->file.errorString());
    m_body->dw.reset(m_body->dxf.out(QFile::encodeName(m_body->file.fileName()).constData(), DL_Codes::AC1015));
    if (!m_body->dw) return QStringLiteral("DXF の一時ファイルに書けません。");
    Tables(m_body->dxf, *m_body->dw, NameHeight());
    m_body->dw->sectionEntities();
    return {};
}

double DxfStream::NameHeight() const { return kNamePaperHeightMm / 1000 * m_scale; }

QString DxfStream::add(const DxfCorner& corner)
{
    if (!m_body || !m_body->dw) return QStringLiteral("DXF の書き出しが始まっていません。");
    if (QString why = NumberProblem(corner); !why.isEmpty()) return why;
    std::vector<std::string> names;
    for (const ExportPoint& p : corner.points) {
        if (QString why = PointNameProblem(p.name, PointFileKind::Dxf); !why.isEmpty()) return why;
        QByteArray enc;
        EncodeCp932(p.name, enc);
        names.push_back(enc.toStdString());
    }
    WriteCorner(m_body->dxf, *m_body->dw, corner, names, NameHeight(), m_body->extent);
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
    QFile& file = body->file;
    if (!EndsWith(file, "EOF\n")) return full;

    QTemporaryFile headFile;
    if (!headFile.open()) return QStringLiteral("DXF の一時ファイルを作れません（%1）。").arg(headFile.errorString());
    {
        const std::unique_ptr<DL_WriterA> hw(
            body->dxf.out(QFile::encodeName(headFile.fileName()).constData(), DL_Codes::AC1015));
        if (!hw) return QStringLiteral("DXF の一時ファイルに書けません。");
        // The view takes the first handle the body left unused; the seed lies above it.
        const unsigned long viewHandle = dw.getNextHandle();
        const double height = NameHeight();
        hw->comment("dxflib " DL_VERSION);
        hw->sectionHeader();
        hw->dxfString(9, "$ACADVER");
        hw->dxfString(1, "AC1015");
        hw->dxfString(9, "$HANDSEED");
        hw->dxfHex(5, static_cast<int>(std::max<unsigned long>(0xFFFF, viewHandle + 1)));
        // Texts are in code page 932; readers decode them by this.
        hw->dxfString(9, "$DWGCODEPAGE");
        hw->dxfString(3, "ANSI_932");
        hw->dxfString(9, "$INSUNITS");
        hw->dxfInt(70, 6);  // metres
        const Extent& e = body->extent;
        if (!e.empty()) {
            hw->dxfString(9, "$EXTMIN");
            hw->coord(10, e.minX, e.minY, 0.0);
            hw->dxfString(9, "$EXTMAX");
            hw->coord(10, e.maxX, e.maxY, 0.0);
        }
        hw->dxfString(9, "$TEXTSTYLE");
        hw->dxfString(7, "Standard");
        hw->dxfString(9, "$TEXTSIZE");
        hw->dxfReal(40, height);
        // Points as a circle with a cross, half a name high (a size above 0 is in drawing units).
        hw->dxfString(9, "$PDMODE");
        hw->dxfInt(70, 34);
        hw->dxfString(9, "$PDSIZE");
        hw->dxfReal(40, height / 2);
        hw->sectionEnd();
        hw->sectionTables();
        ViewportTable(*hw, e, viewHandle);
        hw->close();
    }
    if (!EndsWith(headFile, "ENDTAB\n")) return full;
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

QString DxfFile(const std::vector<DxfCorner>& corners, QByteArray& out, double scale)
{
    DxfStream dxf(scale);
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
