// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One street-block corner as a value: what the surveyor gives (CornerInput) and what the trial
// calculation derives from it (CornerElements). Several corners live side by side; nothing here
// is shared between them.
//
// Members keep the names the routines use. Angles are decimal degrees (converted to radians only
// where a sine, cosine or tangent is taken); azimuths run from +X (north) clockwise towards +Y
// (east), 0..360; coordinates are survey coordinates, X north, Y east, in the unit of the input.

#include <QString>
#include <array>
#include <cstdint>

namespace tovanel {

/// The calculation types, as the type list numbers them.
enum CalcTypeCode : int16_t { kParallel = 0, kStaggered = 1, kCircumscribed = 2, kEqualCurvature = 3 };

/// What one corner is computed from.
struct CornerInput {
    double BpX = 0, BpY = 0;  ///< beginning point
    double IpX = 0, IpY = 0;  ///< intersection point
    double EpX = 0, EpY = 0;  ///< end point
    double Radius = 0;        ///< R, above 0 (0 or a negative radius is refused)
    double WidthIn = 0;       ///< Wi, inner width
    double WidthOut = 0;      ///< Wo, outer width
    /// 0 平行, 1 千鳥, 2 外接, 3 等曲率半径; any other value: no type selected.
    int16_t CalcType = 0;
    /// Division count N; 0 = chosen from the limits. May hold a fraction typed by the user.
    double DivCount = 0;
    QString IPNo;  ///< the IP number as typed: printed after "IPNO." and in every point name
    QString BpName, IpName, EpName;  ///< point names as typed (empty when not given)
};

/// The division values of one curve (inner, centre or outer), each rounded to 4 decimals.
struct RowValues {
    double RowRad = 0;        ///< radius of the curve: R − Wi, R or R + Wo
    double ArcPerDiv = 0;     ///< CL/N
    double ChordPerDiv = 0;   ///< L: chord, or for the outer curve twice the half division's tangent
    double OrdPerDiv = 0;     ///< M', ordinate of one division
    double ArcChordDiff = 0;  ///< (CL/N) − L
};

/// Which curve a division row belongs to.
enum RowKind { kInnerRow = 0, kCentreRow = 1, kOuterRow = 2 };

/// What the trial calculation derives from a CornerInput.
struct CornerElements {
    double RadSigned = 0;  ///< signed radius: + clockwise turn at IP, − counter-clockwise
    double RadAbs = 0;     ///< |R|
    int16_t TurnSign = 0;  ///< +1 clockwise, −1 counter-clockwise, 0 for a zero radius

    double AzIn = 0;    ///< azimuth BP→IP, degrees
    double AzOut = 0;   ///< azimuth IP→EP, degrees
    double IAWork = 0;  ///< intersection angle as first derived, 0..180
    double IA = 0;      ///< intersection angle as listed and printed, 0..180
    double CL = 0, TL = 0, SL = 0, M = 0;
    double HalfCL = 0;
    double DistIn = 0;  ///< BP–IP
    double CenX = 0, CenY = 0;
    double BcX = 0, BcY = 0;
    double EcX = 0, EcY = 0;
    double AzCenIP = 0;  ///< azimuth centre→IP (0 when they coincide)
    double SpX = 0, SpY = 0;
    double TanAX = 0, TanAY = 0;  ///< 1.5 TL before IP on the back tangent
    double TanBX = 0, TanBY = 0;  ///< 1.5 TL beyond IP on the forward tangent

    /// The division count in use: the one given, or the one chosen from the limits.
    double DivCount = 0;
    double IARad = 0;      ///< IA in radians
    double IaPerDiv = 0;   ///< IA / N, degrees
    double IaHalfDiv = 0;  ///< IaPerDiv / 2, degrees
    std::array<RowValues, 3> Rows{};  ///< by RowKind
};

/// A corner after its trial calculation: what it was computed from and what came of it.
struct Corner {
    CornerInput in;
    CornerElements el;
};

/// The file name suggested for a corner's file: `stem`, "_" and the IP number (trimmed, its path
/// and wildcard characters turned into "_"), then "." and `suffix`; just `stem` and the suffix
/// when there is no IP number.
QString CornerFileName(const QString& stem, const QString& ipNo, const QString& suffix);

/// The name of calculation type 0..3 as the type list shows it ("平行" …); empty for any other.
QString CalcTypeNameOf(int type);

}  // namespace tovanel
