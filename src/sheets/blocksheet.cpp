// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheets/blocksheet.h"

#include "calc/curve.h"
#include "calc/numeric.h"
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
    vspri(c.w, text, x, c.w.LineY, size);
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

void ChordSides(SheetContext& c)
{
    const CornerElements& s = c.el;
    BlockWork& b = c.block;
    const double rho = b.PtRad;
    b.VertexRad = rho;
    b.ChordFull = 2 * rho * std::sin(s.IaHalfDiv * DegToRad);
    b.ChordEnd = 2 * rho * std::sin(s.IaHalfDiv / b.EndDiv * DegToRad);
}

void PolySides(SheetContext& c)
{
    const CornerElements& s = c.el;
    BlockWork& b = c.block;
    const double rho = b.PtRad;
    const double t = rho * std::tan(s.IaHalfDiv * DegToRad);
    b.ChordFull = 2 * t;
    b.ChordEnd = t;
    b.PtRad = rho / std::cos(s.IaHalfDiv * DegToRad);
    b.VertexRad = b.PtRad;
}

void BlockHead(SheetContext& c)
{
    PageWriter& s = c.w;
    s.AlignMode = TextAlign::Centre;
    s.AlignWidth = 240;
    Put(c, QStringLiteral("街 区 点 曲 線 計 算 書"), 10, 14);
    s.AlignMode = TextAlign::Start;
    Put(c, QStringLiteral("[ 型 ") + CalcTypeNameOf(c.in.CalcType) + QStringLiteral("方式 ]"), 10, s.TextSize);
    Put(c, QStringLiteral("( IP ") + c.in.IPNo + QStringLiteral("  ") + c.block.KindName +
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
    PageWriter& s = c.w;
    if (s.LineY == 0 || s.LineY > kPageBottom) {
        s.pl.newPage();
        s.LineY = 0;
        BlockHead(c);
    }
}

void RowLabel(SheetContext& c)
{
    PageWriter& s = c.w;
    s.AlignMode = TextAlign::Start;
    Put(c, c.block.OutText, 10, s.TextSize);
    Put(c, c.block.OutText, 220, s.TextSize);
}

void RowAngles(SheetContext& c)
{
    PageWriter& s = c.w;
    s.AlignMode = TextAlign::End;
    s.AlignWidth = 30;
    Put(c, AngleText(c.block.Deflect), 35, s.TextSize);
    Put(c, AngleText(c.block.ChordAz), 70, s.TextSize);
}

namespace {

// A chord or arc as the sheet prints it: rounded once to its 4 decimals, as the elements sheet
// rounds the same lengths. A first rounding to 5 decimals would carry 3.6071489 up to 3.6072
// here while the elements sheet prints 3.6071.
double PrintedLength(double metres) { return RoundDig(metres, 4, 1); }

}  // namespace

void RowLengths(SheetContext& c)
{
    PageWriter& s = c.w;
    s.AlignMode = TextAlign::End;
    s.AlignWidth = 25;
    Put(c, FixedText(PrintedLength(c.block.ChordLen), 4), 100, s.TextSize);
    Put(c, FixedText(PrintedLength(c.block.ArcLen), 4), 125, s.TextSize);
}

void RowCoords(SheetContext& c)
{
    PageWriter& s = c.w;
    s.AlignMode = TextAlign::End;
    s.AlignWidth = 30;
    Put(c, FixedText(c.block.RowX, 3), 150, s.TextSize);
    Put(c, FixedText(c.block.RowY, 3), 180, s.TextSize);
}

void BlockRows(SheetContext& c)
{
    const CornerElements& s = c.el;
    PageWriter& w = c.w;
    BlockWork& b = c.block;
    const double sgn = s.TurnSign;
    const double N = s.DivCount;
    w.TextSize = 11;
    double az = s.AzIn - 90 * sgn;
    b.RadAz = Norm360(az);
    b.ChordAz = s.AzIn;
    b.ChordLen = b.ChordFull;
    b.ArcLen = b.KindRad * (s.IAWork * PiVal / 180) / N;
    b.ArcHalf = b.ArcLen / 2;
    b.ArcFull = b.ArcLen;

    const int last = b.RowLast;
    for (int i = 0; i <= last; ++i) {
        b.RowIdx = i;
        if (i == 0) {
            w.LineY = 0;
            Kai_PG(c);
        }
        b.PtName = SignedNumberText(i);
        b.RadStep = sgn * s.IaPerDiv;
        b.Deflect = b.RadStep;
        b.ArcLen = b.ArcFull;
        if (b.PolyMode == 0) {
            if (i == 0) {
                b.PtName = QStringLiteral("BC");
                b.RadStep = 0;
                b.Deflect = 0;
            }
            if (i == 1 || i == b.RowLast) b.Deflect = sgn * s.IaHalfDiv / b.EndDiv;
            if (b.HalfEnds == 0) {
                if (i == N) b.PtName = QStringLiteral("EC");
            } else {
                b.ChordLen = b.ChordFull;
                if (i > N) {
                    b.PtName = QStringLiteral("EC");
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
                b.PtName = i > N ? QStringLiteral("EC") : QStringLiteral("BC");
                b.RadStep = 0;
                b.PtRad = b.KindRad;  // BC and EC lie on the curve itself
            }
            if (i == 1 || i == b.RowLast - 1) {
                b.RadStep = sgn * s.IaHalfDiv;
                b.ChordLen = b.ChordEnd;
                b.ArcLen = b.ArcHalf;
            }
        }
        b.OutText = c.in.IPNo + b.PtNamePrefix + b.PtName;
        if (b.Deflect != kStraight) {
            double a = b.ChordAz + b.Deflect;
            b.ChordAz = Norm360(a);
        }
        double r = b.RadAz + b.RadStep;
        b.RadAz = Norm360(r);
        b.RowX = b.PtRad * std::cos(b.RadAz * DegToRad) + s.CenX;
        b.RowY = b.PtRad * std::sin(b.RadAz * DegToRad) + s.CenY;
        c.check({PrintedLength(b.ChordLen), PrintedLength(b.ArcLen), b.RowX, b.RowY});

        if (i < ExportedRows(b.RowLast, b.EndDiv)) c.exports.PointAdd(b.OutText, b.RowX, b.RowY);

        if (i == b.RowLast) {
            RowAngles(c);
        } else {
            RowLabel(c);
            RowCoords(c);
            if (i == 0) {
                w.AlignMode = TextAlign::End;
                w.AlignWidth = 30;
                Put(c, AngleText(b.ChordAz), 70, w.TextSize);
            } else {
                RowAngles(c);
                RowLengths(c);
            }
        }
        w.LineY = w.LineY + kLinePitch * w.PaperScale;
        // A page is broken only for a row that follows: after the last row of a kind the break
        // would leave a page holding the heading alone (the next kind starts a page of its own).
        if (i < last) Kai_PG(c);
    }
}

void BlockSheet(SheetContext& c)
{
    const CornerElements& s = c.el;
    const Settings& st = c.settings;
    BlockWork& b = c.block;
    const int type = c.in.CalcType;
    if (type < 0 || type > 3) return;  // out1 refuses these before composing
    const int n = static_cast<int>(s.DivCount);

    // The prefixes follow the turn: on a left-hand curve the curve of radius R − Wi carries the
    // outer prefix.
    const bool right = s.TurnSign > 0;
    const struct {
        double rho;
        QString prefix;
        const char16_t* kindName;
    } kinds[3] = {
        {s.RadAbs, st.centrePrefix(), u"中心点"},
        {s.RadAbs - c.in.WidthIn, right ? st.innerPrefix() : st.outerPrefix(), u"内周点"},
        {s.RadAbs + c.in.WidthOut, right ? st.outerPrefix() : st.innerPrefix(), u"外周点"},
    };
    for (int k = 0; k < 3; ++k) {
        const KindSetup& set = kSetups[type][k];
        b.KindRad = kinds[k].rho;
        b.PtRad = kinds[k].rho;
        b.PtNamePrefix = kinds[k].prefix;
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
