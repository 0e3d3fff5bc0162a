// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The calculation state: one record shared by every window and routine of a run.
//
// Members keep the names the routines use. Angles are decimal degrees (converted to radians only
// where a sine, cosine or tangent is taken); azimuths run from +X (north) clockwise towards +Y
// (east), 0..360; coordinates are survey coordinates, X north, Y east, in the unit of the input.
// Index-1 tables keep index 1 as their first element: IniNum[3] is the third setting.
//
// The record is passed explicitly to every routine that reads or writes it; there is no global
// instance. Every member starts as zero or empty.

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace tovanel {

/// Entries of the settings file: ten numbers and ten strings.
inline constexpr int kIniCount = 10;

/// Rows and columns of CurveIn.
enum CurvePoint { kBP = 1, kIP = 2, kEP = 3 };
enum CurveQty { kNumber = 1, kX = 2, kY = 3, kWidthIn = 4, kWidthOut = 5, kRadius = 6 };

struct CalcState {
    // --- constants, set once at start-up (InitConstants)
    double PiVal = 0;
    double DegToRad = 0;
    double RadToDeg = 0;
    QString AppDir;

    // --- settings (index 1..10; element 0 unused)
    std::array<double, kIniCount + 1> IniNum{};
    std::array<QString, kIniCount + 1> IniStr{};
    double LimitM = 0;   ///< copy of IniNum[3]: limit of one division's middle ordinate
    double LimitLP = 0;  ///< copy of IniNum[4]: upper limit of one division's arc length
    double LimitL1 = 0;  ///< copy of IniNum[5]: upper limit of arc minus chord of one division

    // --- inputs
    /// CurveIn[point][quantity], point 1 BP, 2 IP, 3 EP; quantity 1 number, 2 X, 3 Y, 4 inner width,
    /// 5 outer width, 6 radius. Only (1..3, 2..3) and (2, 1), (2, 4..6) are used.
    std::array<std::array<double, 7>, 4> CurveIn{};
    /// The IP number: reads the IP-number box at the moment of use. Empty when unset.
    std::function<QString()> IPNo;
    int16_t CalcType = 0;  ///< 0 平行, 1 千鳥, 2 外接, 3 等曲率半径
    QString CalcTypeName;
    /// Division count N; 0 = not fixed yet (the element computation then chooses it).
    /// May hold a fraction typed by the user.
    double DivCount = 0;
    int16_t ShowMode = 0;

    // --- working copies of the inputs
    double BpX = 0, BpY = 0;
    double IpX = 0, IpY = 0;
    double EpX = 0, EpY = 0;
    double WidthIn = 0;
    double WidthOut = 0;
    double Rad = 0;        ///< radius; signed by the turn during the computation
    double RadSigned = 0;  ///< signed radius: + clockwise turn at IP, − counter-clockwise
    double RadAbs = 0;
    int16_t TurnSign = 0;  ///< +1 clockwise, −1 counter-clockwise, 0 for a zero radius

    // --- curve elements and main points
    double AzIn = 0;    ///< azimuth BP→IP, degrees
    double AzOut = 0;   ///< azimuth IP→EP, degrees
    double IAWork = 0;  ///< intersection angle as first derived, 0..180
    double IA = 0;      ///< intersection angle as listed and printed, 0..180
    double CL = 0, TL = 0, SL = 0, M = 0;
    double HalfCL = 0;
    double DistIn = 0;  ///< BP–IP
    double DistBC = 0;  ///< DistIn − TL
    double AzBase = 0;
    double PtX = 0, PtY = 0;
    double LocX = 0, LocY = 0;
    double CenX = 0, CenY = 0;
    double BcX = 0, BcY = 0;
    double EcX = 0, EcY = 0;
    double AzCenIP = 0;  ///< azimuth centre→IP (0 when they coincide)
    double SpX = 0, SpY = 0;
    double TanAX = 0, TanAY = 0;  ///< 1.5 TL before IP on the back tangent
    double TanBX = 0, TanBY = 0;  ///< 1.5 TL beyond IP on the forward tangent

    // --- division values of one row
    double IARad = 0;
    double IaPerDiv = 0;   ///< IA / N, degrees
    double IaHalfDiv = 0;  ///< IaPerDiv / 2, degrees
    double RowRad = 0;
    double RowTrig = 0;
    double RowOrdFactor = 0;
    double ArcPerDiv = 0;
    double ChordPerDiv = 0;
    double OrdPerDiv = 0;
    double ArcChordDiff = 0;

    // --- the last formatted angle (DmsFmt)
    QString DmsText;
    double DmsDeg = 0, DmsMin = 0, DmsSec = 0;
    QString DmsMinText, DmsSecText;

    // --- hand-over values of the listing, the sheets, the page writer and the export
    QString OutText;
    QString PtNamePrefix;
    QString PtName;
    QString ExpName;
    double ExpX = 0, ExpY = 0;
    /// The export list, index 1..ExpCount (element 0 unused); it grows as points are added.
    std::vector<QString> ExpNames{QString()};
    std::vector<std::array<double, 3>> ExpCoords{{}};  ///< [k][1] X, [k][2] Y
    int ExpCount = 0;
    float MmUnit = 56.7f;  ///< twips per layout millimetre
    float OrgX = 0, OrgY = 0;
    int16_t AlignMode = 0;
    double PaperScale = 1;
    QString PaperName;
    double LineY = 0;
    float AlignWidth = 0;
    float TextSize = 0;
    QString ClipText;
    QStringList ClipFields;
    double RowHalfWidth = 0;
    int16_t FieldIdx = 0;
    int16_t PrintFrom = 0, PrintTo = 0;
    int LoopIdx = 0;

    /// The IP number text now (empty when no box is attached).
    QString ipNo() const { return IPNo ? IPNo() : QString(); }
};

/// Start-up step: the angle constants.
void InitConstants(CalcState& s);

/// The name of calculation type 0..3 as the type list shows it ("平行" …); empty for any other.
QString CalcTypeNameOf(int type);

}  // namespace tovanel
