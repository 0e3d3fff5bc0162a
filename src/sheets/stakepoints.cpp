// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheets/stakepoints.h"

#include "calc/curve.h"
#include "calc/numeric.h"
#include "sheets/composition.h"

#include <cmath>

namespace tovanel {

namespace {

enum class Steps { Chords, Polygon };

struct KindSetup {
    int rowsAfterN;  // the last row is N + rowsAfterN
    int endDiv;
    int polyMode;
    int halfEnds;
    Steps steps;
};

constexpr KindSetup kChords{1, 1, 0, 0, Steps::Chords};
constexpr KindSetup kPolygon{2, 2, 1, 0, Steps::Polygon};
constexpr KindSetup kHalfEnds{2, 2, 0, 1, Steps::Chords};

// Set-up of the centre, inner and outer curve for each calculation type.
constexpr KindSetup kSetups[4][3] = {
    {kChords, kChords, kChords},       // 平行
    {kChords, kChords, kPolygon},      // 千鳥
    {kPolygon, kPolygon, kPolygon},    // 外接
    {kHalfEnds, kHalfEnds, kPolygon},  // 等曲率半径
};

// Rows 0 .. last − 2 + endDiv go to the export list.
int ExportedRows(int rowLast, int endDiv) { return rowLast - 1 + endDiv; }

// Step lengths and centre distances of one curve before its rows are walked.
struct Sides {
    double chordFull = 0, chordEnd = 0;
    double ptRad = 0;      // centre distance of BC (and of every point of the chord schemes)
    double vertexRad = 0;  // centre distance of intermediate points: ρ, or ρ / cos(IA/2N)
};

// Inscribed chords: a division's chord, and the chord of 1/endDiv of one.
Sides ChordSides(const CornerElements& s, double rho, int endDiv)
{
    Sides d;
    d.ptRad = rho;
    d.vertexRad = rho;
    d.chordFull = 2 * rho * std::sin(s.IaHalfDiv * DegToRad);
    d.chordEnd = 2 * rho * std::sin(s.IaHalfDiv / endDiv * DegToRad);
    return d;
}

// The circumscribed polygon: full side, half side, and its corners' distance from the centre.
Sides PolySides(const CornerElements& s, double rho)
{
    Sides d;
    const double t = rho * std::tan(s.IaHalfDiv * DegToRad);
    d.chordFull = 2 * t;
    d.chordEnd = t;
    d.ptRad = rho / std::cos(s.IaHalfDiv * DegToRad);
    d.vertexRad = d.ptRad;
    return d;
}

// The rows of one curve of radius rho, named IP number + prefix + point. The running values
// (direction, radial azimuth, chord and arc of the step) carry from row to row as the sheet
// lists them.
std::vector<StakeRow> KindRows(const Corner& k, const KindSetup& set, double rho, const QString& prefix)
{
    const CornerElements& s = k.el;
    const double sgn = s.TurnSign;
    const double N = s.DivCount;
    const int rowLast = static_cast<int>(N) + set.rowsAfterN;
    const Sides sides = set.steps == Steps::Chords ? ChordSides(s, rho, set.endDiv) : PolySides(s, rho);
    double ptRad = sides.ptRad;

    double az = s.AzIn - 90 * sgn;
    double radAz = Norm360(az);
    double chordAz = s.AzIn;
    double chordLen = sides.chordFull;
    const double arcFull = rho * (s.IAWork * PiVal / 180) / N;
    const double arcHalf = arcFull / 2;

    std::vector<StakeRow> rows;
    rows.reserve(static_cast<size_t>(rowLast) + 1);
    for (int i = 0; i <= rowLast; ++i) {
        QString ptName = SignedNumberText(i);
        double radStep = sgn * s.IaPerDiv;
        double deflect = radStep;
        double arcLen = arcFull;
        if (set.polyMode == 0) {
            if (i == 0) {
                ptName = QStringLiteral("BC");
                radStep = 0;
                deflect = 0;
            }
            if (i == 1 || i == rowLast) deflect = sgn * s.IaHalfDiv / set.endDiv;
            if (set.halfEnds == 0) {
                if (i == N) ptName = QStringLiteral("EC");
            } else {
                chordLen = sides.chordFull;
                if (i > N) {
                    ptName = QStringLiteral("EC");
                    radStep = 0;
                }
                if (i == 1 || i == rowLast - 1) {
                    radStep = sgn * s.IaHalfDiv;
                    chordLen = sides.chordEnd;
                    arcLen = arcHalf;
                }
                if (i == 2 || i == rowLast - 1) deflect = sgn * 3 * (s.IaHalfDiv / 2);
                // With one division, row 2 is EC and lies between the two half steps: it turns
                // by the sum of their halves, IA/2N, so that the directions close on the forward
                // tangent (3·IA/4N there would overshoot it by IA/4N).
                if (i == 2 && i == rowLast - 1) deflect = sgn * s.IaHalfDiv;
            }
        } else {
            ptRad = sides.vertexRad;
            chordLen = sides.chordFull;
            if (i < 2 || i == rowLast) deflect = kStraightOn;
            if (i == 0 || i > N) {
                ptName = i > N ? QStringLiteral("EC") : QStringLiteral("BC");
                radStep = 0;
                ptRad = rho;  // BC and EC lie on the curve itself
            }
            if (i == 1 || i == rowLast - 1) {
                radStep = sgn * s.IaHalfDiv;
                chordLen = sides.chordEnd;
                arcLen = arcHalf;
            }
        }
        if (deflect != kStraightOn) {
            double a = chordAz + deflect;
            chordAz = Norm360(a);
        }
        double r = radAz + radStep;
        radAz = Norm360(r);
        StakeRow row;
        row.name = k.in.IPNo + prefix + ptName;
        row.deflect = deflect;
        row.chordAz = chordAz;
        row.chordLen = chordLen;
        row.arcLen = arcLen;
        row.x = ptRad * std::cos(radAz * DegToRad) + s.CenX;
        row.y = ptRad * std::sin(radAz * DegToRad) + s.CenY;
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace

std::array<int, 3> BlockExportCounts(const Corner& corner)
{
    std::array<int, 3> counts{};
    const int type = corner.in.CalcType;
    const double N = corner.el.DivCount;
    if (type < 0 || type > 3 || !(N > 0 && N <= kMaxDivCount)) return counts;
    const int n = static_cast<int>(N);
    for (int k = 0; k < 3; ++k) {
        const KindSetup& set = kSetups[type][k];
        counts[static_cast<size_t>(k)] = ExportedRows(n + set.rowsAfterN, set.endDiv);
    }
    return counts;
}

std::array<StakeKind, 3> StakeKinds(const Corner& corner, const Settings& settings)
{
    std::array<StakeKind, 3> out;
    if (!ComposeRefusal(corner).isEmpty()) return out;
    const CornerElements& s = corner.el;
    const int type = corner.in.CalcType;
    // The prefixes follow the turn: on a left-hand curve the curve of radius R − Wi carries the
    // outer prefix.
    const bool right = s.TurnSign > 0;
    const struct {
        double rho;
        const QString& prefix;
        const char16_t* kindName;
    } kinds[3] = {
        {s.RadAbs, settings.centrePrefix(), u"中心点"},
        {s.RadAbs - corner.in.WidthIn, right ? settings.innerPrefix() : settings.outerPrefix(), u"内周点"},
        {s.RadAbs + corner.in.WidthOut, right ? settings.outerPrefix() : settings.innerPrefix(), u"外周点"},
    };
    const std::array<int, 3> exported = BlockExportCounts(corner);
    for (size_t k = 0; k < 3; ++k) {
        out[k].kindName = kinds[k].kindName;
        out[k].rows = KindRows(corner, kSetups[type][k], kinds[k].rho, kinds[k].prefix);
        out[k].exported = exported[k];
    }
    return out;
}

std::array<ExportPoint, 4> MainPoints(const Corner& corner)
{
    const QString& ip = corner.in.IPNo;
    const CornerElements& el = corner.el;
    return {{
        {QStringLiteral("BC ") + ip, el.BcX, el.BcY},
        {QStringLiteral("SP ") + ip, el.SpX, el.SpY},
        {QStringLiteral("EC ") + ip, el.EcX, el.EcY},
        {QStringLiteral("M ") + ip, el.CenX, el.CenY},
    }};
}

ExportList StakeList(const Corner& corner, const Settings& settings)
{
    ExportList list;
    if (!ComposeRefusal(corner).isEmpty()) return list;
    for (const ExportPoint& p : MainPoints(corner)) list.PointAdd(p.name, p.x, p.y);
    for (const StakeKind& kind : StakeKinds(corner, settings))
        for (int i = 0; i < kind.exported; ++i) {
            const StakeRow& r = kind.rows[static_cast<size_t>(i)];
            list.PointAdd(r.name, r.x, r.y);
        }
    return list;
}

std::vector<ExportPoint> StakePoints(const Corner& corner, const Settings& settings)
{
    return ExportPoints(StakeList(corner, settings));
}

}  // namespace tovanel
