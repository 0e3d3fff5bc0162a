// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheets/blocksheet.h"

#include "calc/calcstate.h"
#include "calc/curve.h"
#include "calc/numeric.h"
#include "print/exportlist.h"
#include "print/pagelayout.h"
#include "print/pagewriter.h"
#include "sheets/sheetcontext.h"

#include <cmath>

namespace tovanel {

namespace {

constexpr double kLinePitch = 7;
// Rows continue on a new page once LineY passes this (layout mm, not scaled by the paper).
constexpr double kPageBottom = 170;
// A deflection of 180 means "no turn": the step keeps the previous direction.
constexpr double kStraight = 180;

enum class Steps { Chords, Polygon };

struct KindSetup {
    int rowsAfterN;  // RowLast = N + rowsAfterN
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

// Rows 0 .. RowLast − 2 + EndDiv go to the export list: the closing row of the chord scheme
// repeats no point, while the other schemes' closing row repeats EC.
int ExportedRows(int rowLast, int endDiv) { return rowLast - 1 + endDiv; }

void Put(SheetContext& c, const QString& text, double x, double size)
{
    vspri(c.s, c.pl, text, x, c.s.LineY, size);
}

QString Angle(CalcState& s, double degrees) { return AngleText(s, degrees); }

}  // namespace

std::array<int, 3> BlockExportCounts(const CalcState& s)
{
    std::array<int, 3> counts{};
    if (s.CalcType < 0 || s.CalcType > 3 || !(s.DivCount > 0 && s.DivCount <= kMaxDivCount))
        return counts;
    const int n = static_cast<int>(s.DivCount);
    for (int k = 0; k < 3; ++k) {
        const KindSetup& set = kSetups[s.CalcType][k];
        counts[static_cast<size_t>(k)] = ExportedRows(n + set.rowsAfterN, set.endDiv);
    }
    return counts;
}

void ChordSides(SheetContext& c)
{
    const CalcState& s = c.s;
    BlockWork& b = c.block;
    const double rho = b.PtRad;
    b.VertexRad = rho;
    b.ChordFull = 2 * rho * std::sin(s.IaHalfDiv * s.DegToRad);
    b.ChordEnd = 2 * rho * std::sin(s.IaHalfDiv / b.EndDiv * s.DegToRad);
}

void PolySides(SheetContext& c)
{
    const CalcState& s = c.s;
    BlockWork& b = c.block;
    const double rho = b.PtRad;
    const double t = rho * std::tan(s.IaHalfDiv * s.DegToRad);
    b.ChordFull = 2 * t;
    b.ChordEnd = t;
    b.PtRad = rho / std::cos(s.IaHalfDiv * s.DegToRad);
    b.VertexRad = b.PtRad;
}

void BlockHead(SheetContext& c)
{
    CalcState& s = c.s;
    s.AlignMode = 2;
    s.AlignWidth = 240;
    Put(c, QStringLiteral("街 区 点 曲 線 計 算 書"), 10, 14);
    s.AlignMode = 1;
    Put(c, QStringLiteral("[ 型 ") + s.CalcTypeName + QStringLiteral("方式 ]"), 10, s.TextSize);
    Put(c, QStringLiteral("( IP ") + s.ipNo() + QStringLiteral("  ") + c.block.KindName +
               QStringLiteral(" )"),
        180, s.TextSize);
    s.LineY = s.LineY + kLinePitch * s.PaperScale;
    Put(c, QStringLiteral("曲線名"), 15, s.TextSize);
    Put(c, QStringLiteral("偏　角"), 50, s.TextSize);
    Put(c, QStringLiteral("方向角"), 80, s.TextSize);
    s.AlignWidth = 25;
    Put(c, QStringLiteral("弦　長"), 111, s.TextSize);
    Put(c, QStringLiteral("弧　長"), 136, s.TextSize);
    s.AlignWidth = 30;
    Put(c, QStringLiteral("Ｘ"), 170, s.TextSize);
    Put(c, QStringLiteral("Ｙ"), 200, s.TextSize);
    Put(c, QStringLiteral("測点名"), 225, s.TextSize);
    s.LineY = s.LineY + kLinePitch * s.PaperScale;
}

void Kai_PG(SheetContext& c)
{
    CalcState& s = c.s;
    if (s.LineY == 0 || s.LineY > kPageBottom) {
        c.pl.newPage();
        s.LineY = 0;
        BlockHead(c);
    }
}

void RowLabel(SheetContext& c)
{
    CalcState& s = c.s;
    s.AlignMode = 1;
    Put(c, s.OutText, 10, s.TextSize);
    Put(c, s.OutText, 220, s.TextSize);
}

void RowAngles(SheetContext& c)
{
    CalcState& s = c.s;
    s.AlignMode = 3;
    s.AlignWidth = 30;
    Put(c, Angle(s, c.block.Deflect), 35, s.TextSize);
    Put(c, Angle(s, c.block.ChordAz), 70, s.TextSize);
}

namespace {

// A chord or arc as the sheet prints it: rounded once to its 4 decimals, as the elements sheet
// rounds the same lengths. A first rounding to 5 decimals would carry 3.6071489 up to 3.6072
// here while the elements sheet prints 3.6071.
double PrintedLength(double metres) { return RoundDig(metres, 4, 1); }

}  // namespace

void RowLengths(SheetContext& c)
{
    CalcState& s = c.s;
    s.AlignMode = 3;
    s.AlignWidth = 25;
    Put(c, FixedText(PrintedLength(c.block.ChordLen), 4), 100, s.TextSize);
    Put(c, FixedText(PrintedLength(c.block.ArcLen), 4), 125, s.TextSize);
}

void RowCoords(SheetContext& c)
{
    CalcState& s = c.s;
    s.AlignMode = 3;
    s.AlignWidth = 30;
    Put(c, FixedText(c.block.RowX, 3), 150, s.TextSize);
    Put(c, FixedText(c.block.RowY, 3), 180, s.TextSize);
}

void BlockRows(SheetContext& c)
{
    CalcState& s = c.s;
    BlockWork& b = c.block;
    const double sgn = s.TurnSign;
    const double N = s.DivCount;
    s.TextSize = 11;
    double az = s.AzIn - 90 * sgn;
    b.RadAz = Norm360(az);
    b.ChordAz = s.AzIn;
    b.ChordLen = b.ChordFull;
    b.ArcLen = b.KindRad * (s.IAWork * s.PiVal / 180) / N;
    b.ArcHalf = b.ArcLen / 2;
    b.ArcFull = b.ArcLen;

    const int last = b.RowLast;
    for (int i = 0; i <= last; ++i) {
        b.RowIdx = i;
        if (i == 0) {
            s.LineY = 0;
            Kai_PG(c);
        }
        s.PtName = SignedNumberText(i);
        b.RadStep = sgn * s.IaPerDiv;
        b.Deflect = b.RadStep;
        b.ArcLen = b.ArcFull;
        if (b.PolyMode == 0) {
            if (i == 0) {
                s.PtName = QStringLiteral("BC");
                b.RadStep = 0;
                b.Deflect = 0;
            }
            if (i == 1 || i == b.RowLast) b.Deflect = sgn * s.IaHalfDiv / b.EndDiv;
            if (b.HalfEnds == 0) {
                if (i == N) s.PtName = QStringLiteral("EC");
            } else {
                b.ChordLen = b.ChordFull;
                if (i > N) {
                    s.PtName = QStringLiteral("EC");
                    b.RadStep = 0;
                }
                if (i == 1 || i == b.RowLast - 1) {
                    b.RadStep = sgn * s.IaHalfDiv;
                    b.ChordLen = b.ChordEnd;
                    b.ArcLen = b.ArcHalf;
                }
                if (i == 2 || i == b.RowLast - 1) b.Deflect = sgn * 3 * (s.IaHalfDiv / 2);
                // With one division, row 2 is EC and lies between the two half steps: it turns
                // by the sum of their halves, IA/2N, so that the directions close on the forward
                // tangent (3·IA/4N there would overshoot it by IA/4N).
                if (i == 2 && i == b.RowLast - 1) b.Deflect = sgn * s.IaHalfDiv;
            }
        } else {
            b.PtRad = b.VertexRad;
            b.ChordLen = b.ChordFull;
            if (i < 2 || i == b.RowLast) b.Deflect = kStraight;
            if (i == 0 || i > N) {
                s.PtName = i > N ? QStringLiteral("EC") : QStringLiteral("BC");
                b.RadStep = 0;
                b.PtRad = b.KindRad;  // BC and EC lie on the curve itself
            }
            if (i == 1 || i == b.RowLast - 1) {
                b.RadStep = sgn * s.IaHalfDiv;
                b.ChordLen = b.ChordEnd;
                b.ArcLen = b.ArcHalf;
            }
        }
        s.OutText = s.ipNo() + s.PtNamePrefix + s.PtName;
        if (b.Deflect != kStraight) {
            double a = b.ChordAz + b.Deflect;
            b.ChordAz = Norm360(a);
        }
        double r = b.RadAz + b.RadStep;
        b.RadAz = Norm360(r);
        b.RowX = b.PtRad * std::cos(b.RadAz * s.DegToRad) + s.CenX;
        b.RowY = b.PtRad * std::sin(b.RadAz * s.DegToRad) + s.CenY;
        c.check({PrintedLength(b.ChordLen), PrintedLength(b.ArcLen), b.RowX, b.RowY});

        if (i < ExportedRows(b.RowLast, b.EndDiv)) {
            s.ExpName = s.OutText;
            s.ExpX = b.RowX;
            s.ExpY = b.RowY;
            PointAdd(s);
        }

        if (i == b.RowLast) {
            RowAngles(c);
        } else {
            RowLabel(c);
            RowCoords(c);
            if (i == 0) {
                s.AlignMode = 3;
                s.AlignWidth = 30;
                Put(c, Angle(s, b.ChordAz), 70, s.TextSize);
            } else {
                RowAngles(c);
                RowLengths(c);
            }
        }
        s.LineY = s.LineY + kLinePitch * s.PaperScale;
        // A page is broken only for a row that follows: after the last row of a kind the break
        // would leave a page holding the heading alone (the next kind starts a page of its own).
        if (i < last) Kai_PG(c);
    }
}

void BlockSheet(SheetContext& c)
{
    CalcState& s = c.s;
    BlockWork& b = c.block;
    s.RadAbs = std::fabs(s.Rad);
    s.CL = s.RadAbs * (s.IAWork * s.PiVal / 180);
    const int type = s.CalcType;
    if (type < 0 || type > 3) return;  // out1 refuses these before composing
    const int n = static_cast<int>(s.DivCount);

    const bool right = s.TurnSign > 0;
    const struct {
        double rho;
        QString prefix;
        const char16_t* kindName;
    } kinds[3] = {
        {s.RadAbs, s.IniStr[1], u"中心点"},
        {s.RadAbs - s.WidthIn, right ? s.IniStr[2] : s.IniStr[3], u"内周点"},
        {s.RadAbs + s.WidthOut, right ? s.IniStr[3] : s.IniStr[2], u"外周点"},
    };
    for (int k = 0; k < 3; ++k) {
        const KindSetup& set = kSetups[type][k];
        b.KindRad = kinds[k].rho;
        b.PtRad = kinds[k].rho;
        s.PtNamePrefix = kinds[k].prefix;
        b.KindName = QString::fromUtf16(kinds[k].kindName);
        b.RowLast = n + set.rowsAfterN;
        b.EndDiv = set.endDiv;
        b.PolyMode = set.polyMode;
        b.HalfEnds = set.halfEnds;
        if (set.steps == Steps::Chords)
            ChordSides(c);
        else
            PolySides(c);
        BlockRows(c);
    }
}

}  // namespace tovanel
