// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Numeric, angle and text routines shared by the listing, the sheets and the export.
//
// These reproduce the field routines digit for digit, guard constants included: the 1e-10 terms
// and the rounding offsets are part of every printed figure, so they are not to be "improved".

#include <QString>
#include <QStringView>
#include <numbers>
#include <optional>

namespace tovanel {

/// π, and the factors from degrees to radians and back. std::numbers::pi is the double that
/// 4·arctan(1) gives, so these are the values the routines have always worked with.
inline constexpr double PiVal = std::numbers::pi;
inline constexpr double DegToRad = PiVal / 180;
inline constexpr double RadToDeg = 180 / PiVal;

/// Rounds v to n decimals, working on the magnitude (symmetric about zero).
/// mode 0: truncate, tolerating a shortfall of 1e-10 unit; 1: halves away from zero;
/// 2: raise whenever the dropped part reaches 0.0999999999 unit; any other: plain truncation.
double RoundDig(double v, int n, int mode);

/// √(dx² + dy²).
double Dist(double dx, double dy);

/// Azimuth of the vector (dx north, dy east) in degrees, 0..360 clockwise from +X.
/// The 1e-10 guards make a zero vector give 90 and a due-north vector about 0.000579, not 0;
/// dy = −1e-10 exactly gives 180 whatever dx is.
double Azimuth(double dx, double dy);

/// Azimuth of the vector (dx north, dy east) in degrees, 0 ≤ a < 360 clockwise from +X, without
/// the guard terms: a line along a grid axis gets 0, 90, 180 or 270 exactly; elsewhere the angle
/// agrees with Azimuth to far below the 0.01" an angle text shows. A zero vector gives 90, as
/// Azimuth does.
double AzimuthExact(double dx, double dy);

/// Arc cosine in degrees. The 1e-10 under the root keeps it defined at |c| = 1, where it is
/// about 0.000579° off 0 or 180.
double ArcCosDeg(double c);

/// One step of normalisation each way: above 360 loses 360, then below 0 gains 360.
/// Changes its argument and returns the new value (720.5 → 360.5, 360 stays 360).
double Norm360(double& a);

/// Decimal degrees → packed D.MMSSss (45.5125 → 45.3045); the sign is kept on the packed value.
double DegDms(double a);

/// The parts of an angle text made from a packed angle.
struct DmsParts {
    QString text;     ///< e.g. "  45ﾟ30'45.00\""
    double deg = 0;   ///< whole degrees, signed
    double min = 0;   ///< whole minutes, 0..59
    double sec = 0;   ///< seconds rounded to 2 decimals
    QString minText;  ///< minutes right-aligned in 2
    QString secText;  ///< seconds "#0.00" right-aligned in 5
};

/// Formats a packed angle: degrees right-aligned in 4, "ﾟ", minutes in 2, "'", seconds in 5, '"'.
/// Seconds that round to 60.00 carry into the minutes and 60 minutes into the degrees; for a
/// negative angle the carry moves the degrees away from zero, keeping the magnitude right.
DmsParts DmsFormat(double packed);

/// Decimal degrees as the listings show them: DegDms, then DmsFormat's text.
QString AngleText(double degrees);

/// Whether AngleText can write the angle: every part of it a finite number (an angle near the
/// largest double overflows on the way).
bool AngleWritable(double degrees);

// --- text helpers

/// The leading-number rule of every input box: blanks skipped, the longest leading part that reads
/// as a decimal number ("." separator, optional sign and exponent); 0 when there is none.
/// The same in every process locale.
/// Full-width digits, signs and stops typed through an input method count as their ASCII forms.
double LeadingNumber(const QString& text);

/// The rule of every number read from a file (a table cell, a point file's coordinate): the whole
/// text, blanks around it dropped (full-width blanks too), is one plain decimal number: an
/// optional sign, digits with an optional '.', an optional exponent. Full-width digits, signs,
/// points and commas (１２．５, －３) and the minus sign U+2212 read as their ASCII forms. Commas
/// are thousands separators only where they group the digits before the point by three after a
/// first group of one to three digits not starting with 0 (-123,455.670); anything else (1,2,3,
/// 1,23, 12,3456, 0,5) is no number. Empty text, nan, inf, a value beyond the range of a double
/// and any other character give nothing. `plain`, when given, receives the text in ASCII without
/// its separators (what LeadingNumber reads as the same value).
std::optional<double> StrictNumber(QStringView text, QString* plain = nullptr);

/// Number as text with at most 15 significant digits, trailing zeros and point dropped
/// (12.5 → "12.5", 100 → "100", −0 → "0"). Used for exported coordinates.
QString NumberText(double v);

/// The shortest text that reads back (StrictNumber, LeadingNumber) as exactly v: plain digits
/// ("12.5", "-0.001", "100") for magnitudes from 1e-5 to below 1e15, an exponent beyond
/// ("1e-07"); "-0" for negative zero. For files and boxes that must give back the value they
/// were given; v must be finite.
QString ShortestNumberText(double v);

/// NumberText with one leading blank when v is not negative (8 → " 8", −2 → "-2").
QString SignedNumberText(double v);

/// Fixed decimals: "0.0000" is FixedText(v, 4), "0.000" FixedText(v, 3), "#0.00" FixedText(v, 2),
/// "###0" and "#0" FixedText(v, 0). Every printed number goes through here, with one rounding
/// rule: the decimal value as shown (v written with 15 significant digits) is rounded half away
/// from zero, so 3.60715 (binary 3.6071499…) prints 3.6072 wherever it is printed. A value that
/// shows only zeros carries no minus sign; infinities and NaN print as "inf" and "nan".
QString FixedText(double v, int decimals);

/// Right-aligns text in n characters: n blanks prefixed, the rightmost n kept.
QString RightAlign(const QString& text, int n);

/// True when the text holds a TAB, CR or LF. In a name these would add a field or a line to the
/// settings file and to every exported point line.
bool HasFieldBreak(const QString& text);

/// The text without its TABs, CRs and LFs.
QString WithoutFieldBreaks(QString text);

}  // namespace tovanel
