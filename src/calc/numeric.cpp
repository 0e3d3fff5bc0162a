// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/numeric.h"

#include <QChar>
#include <QLocale>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <locale.h>
#include <string>
#include <string_view>

namespace tovanel {

double RoundDig(double v, int n, int mode)
{
    const double s = v >= 0 ? 1.0 : -1.0;
    double bias = 0;
    switch (mode) {
    case 0: bias = 1e-10; break;
    case 1: bias = 0.5000000001; break;
    case 2: bias = 0.9000000001; break;
    default: break;
    }
    const double scale = std::pow(10.0, n);
    const double k = std::floor(std::fabs(v) * scale + bias);
    return s * (k / scale);
}

double Dist(double dx, double dy) { return std::sqrt(dx * dx + dy * dy); }

double ArcCosDeg(double c)
{
    return (std::atan(-c / std::sqrt(1 - c * c + 1e-10)) + 2 * std::atan(1.0)) * RadToDeg;
}

double Azimuth(double dx, double dy)
{
    const double r = std::sqrt(dx * dx + dy * dy) + 1e-10;
    const double a = ArcCosDeg(dx / r);
    const double t = dy + 1e-10;
    const double s = t > 0 ? 1.0 : (t < 0 ? -1.0 : 0.0);
    return s * a - s * 180 + 180;
}

double AzimuthExact(double dx, double dy)
{
    if (dx == 0 && dy == 0) return 90;
    // On the axes the angle is given, not computed: π/2 · 180/π need not come out as 90.
    if (dy == 0) return dx > 0 ? 0 : 180;
    if (dx == 0) return dy > 0 ? 90 : 270;
    const double a = std::atan2(dy, dx) * RadToDeg;
    const double r = a < 0 ? a + 360 : a;
    return r < 360 ? r : 0;  // a hair west of north can round up to a full turn
}

double Norm360(double& a)
{
    if (a > 360) a = a - 360;
    if (a < 0) a = a + 360;
    return a;
}

double DegDms(double a)
{
    const double s = a > 0 ? 1.0 : -1.0;
    const double x = a * s;
    const double d = std::floor(x);
    const double mp = std::floor((x - d) * 60 + 1e-10) / 100;
    const double sp = ((x - d) - mp / 0.6) * 0.36;
    return s * (sp + (mp + d));
}

DmsParts DmsFormat(double packed)
{
    DmsParts r;
    const double p = RoundDig(packed, 6, 1);
    r.deg = std::trunc(p);
    r.min = RoundDig((p - r.deg) * 100, 0, 0);
    r.sec = RoundDig(((p - r.deg) - r.min / 100) * 10000, 2, 1);
    r.min = std::fabs(r.min);
    r.sec = std::fabs(r.sec);
    if (r.sec == 60) {
        r.min = r.min + 1;
        r.sec = 0;
    }
    if (r.min >= 60) {
        // A negative angle carries away from zero, so −10°59'60" reads −11° 0' 0".
        r.deg = p < 0 ? r.deg - 1 : r.deg + 1;
        r.min = r.min - 60;
    }
    const QString degText = (p < 0 && r.deg == 0) ? QStringLiteral("  -0")
                                                  : RightAlign(FixedText(r.deg, 0), 4);
    r.minText = RightAlign(FixedText(r.min, 0), 2);
    r.secText = RightAlign(FixedText(r.sec, 2), 5);
    r.text = degText + QStringLiteral("ﾟ") + r.minText + QLatin1Char('\'') + r.secText
             + QLatin1Char('"');
    return r;
}

QString AngleText(double degrees) { return DmsFormat(DegDms(degrees)).text; }

bool AngleWritable(double degrees)
{
    const DmsParts parts = DmsFormat(DegDms(degrees));
    return std::isfinite(parts.deg) && std::isfinite(parts.min) && std::isfinite(parts.sec);
}

double LeadingNumber(const QString& text)
{
    // Full-width forms typed through an input method read as their ASCII forms.
    const std::string t = text.normalized(QString::NormalizationForm_KC).toStdString();
    std::size_t i = 0;
    while (i < t.size() && (t[i] == ' ' || t[i] == '\t' || t[i] == '\r' || t[i] == '\n'))
        ++i;
    const std::size_t start = i;
    auto digits = [&](std::size_t& k) {
        const std::size_t from = k;
        while (k < t.size() && t[k] >= '0' && t[k] <= '9') ++k;
        return k - from;
    };
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    std::size_t mantissa = digits(i);
    if (i < t.size() && t[i] == '.') {
        ++i;
        mantissa += digits(i);
    }
    if (mantissa == 0) return 0;
    std::size_t end = i;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        std::size_t k = i + 1;
        if (k < t.size() && (t[k] == '+' || t[k] == '-')) ++k;
        if (digits(k) > 0) end = k;
    }
    // Read in the C locale whatever the process's locale says: under a comma-decimal locale
    // plain strtod would stop at the "." and read "50.25" as 50.
    static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t{});
    return strtod_l(t.substr(start, end - start).c_str(), nullptr, c);
}

namespace {
/// The ASCII form of a character a number may hold, or 0.
char NumberChar(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80) return std::string_view("0123456789+-.,eE").find(static_cast<char>(u)) != std::string_view::npos ? static_cast<char>(u) : 0;
    if (u >= 0xFF10 && u <= 0xFF19) return static_cast<char>('0' + (u - 0xFF10));  // full-width digits
    switch (u) {
    case 0xFF0B: return '+';
    case 0xFF0D: case 0x2212: return '-';
    case 0xFF0E: return '.';
    case 0xFF0C: return ',';
    case 0xFF45: case 0xFF25: return 'e';
    default: return 0;
    }
}

bool IsDigitChar(char c) { return c >= '0' && c <= '9'; }
}  // namespace

std::optional<double> StrictNumber(QStringView text, QString* plain)
{
    const QStringView t = text.trimmed();
    std::string ascii;
    ascii.reserve(static_cast<size_t>(t.size()));
    for (const QChar c : t) {
        const char a = NumberChar(c);
        if (a == 0) return std::nullopt;
        ascii += a;
    }
    // [sign] integer part (grouped by commas or not) [. fraction] [exponent], with a digit in the mantissa.
    size_t i = 0;
    const size_t n = ascii.size();
    if (i < n && (ascii[i] == '+' || ascii[i] == '-')) ++i;
    const size_t mantissa = i;
    std::string number = ascii.substr(0, i);
    size_t group = 0, groups = 0;  // digits in the current group; groups before it
    bool leadingZero = false;
    for (; i < n && (IsDigitChar(ascii[i]) || ascii[i] == ','); ++i) {
        if (ascii[i] == ',') {
            const bool first = groups == 0;
            if (first ? (group == 0 || group > 3 || leadingZero) : group != 3) return std::nullopt;
            ++groups;
            group = 0;
            continue;
        }
        if (groups == 0 && group == 0) leadingZero = ascii[i] == '0';
        ++group;
        number += ascii[i];
    }
    if (groups > 0 && group != 3) return std::nullopt;
    size_t digits = i - mantissa - groups;
    if (i < n && ascii[i] == '.') {
        number += ascii[i++];
        for (; i < n && IsDigitChar(ascii[i]); ++i, ++digits) number += ascii[i];
    }
    if (digits == 0) return std::nullopt;
    if (i < n && (ascii[i] == 'e' || ascii[i] == 'E')) {
        number += ascii[i++];
        if (i < n && (ascii[i] == '+' || ascii[i] == '-')) number += ascii[i++];
        const size_t from = i;
        for (; i < n && IsDigitChar(ascii[i]); ++i) number += ascii[i];
        if (i == from) return std::nullopt;
    }
    if (i != n) return std::nullopt;
    // from_chars takes no '+': the sign is read apart. It reads the same in every locale.
    const bool negative = number[0] == '-';
    const size_t from = number[0] == '+' || negative ? 1 : 0;
    double v = 0;
    const auto [end, ec] = std::from_chars(number.data() + from, number.data() + number.size(), v);
    if (ec != std::errc() || end != number.data() + number.size() || !std::isfinite(v)) return std::nullopt;
    if (plain) *plain = QString::fromLatin1(number.data(), static_cast<qsizetype>(number.size()));
    return negative ? -v : v;
}

namespace {
/// Significant digits of a number as the program shows it.
constexpr int kShownDigits = 15;
/// Decimals FixedText rounds itself; more (never asked for) are left to Qt.
constexpr int kMaxFixedDecimals = 20;

// A text that shows only zeros reads as 0, not −0.
QString DropNegativeZero(QString t)
{
    if (t.startsWith(QLatin1Char('-'))) {
        bool allZero = true;
        for (qsizetype i = 1; i < t.size() && allZero; ++i)
            allZero = t[i] == QLatin1Char('0') || t[i] == QLatin1Char('.');
        if (allZero) t.remove(0, 1);
    }
    return t;
}
}  // namespace

QString NumberText(double v) { return DropNegativeZero(QString::number(v, 'g', kShownDigits)); }

QString SignedNumberText(double v)
{
    const QString t = NumberText(v);
    return t.startsWith(QLatin1Char('-')) ? t : QLatin1Char(' ') + t;
}

QString FixedText(double v, int decimals)
{
    if (!std::isfinite(v) || decimals < 0 || decimals > kMaxFixedDecimals)
        return QString::number(v, 'f', std::clamp(decimals, 0, 99));
    // The value as it is shown: 15 significant digits d0.d1…d14 × 10^exp.
    char sci[32];
    const auto written = std::to_chars(sci, sci + sizeof sci, std::fabs(v), std::chars_format::scientific,
                                       kShownDigits - 1);
    char digits[kShownDigits];
    digits[0] = sci[0];
    std::copy(sci + 2, sci + 1 + kShownDigits, digits + 1);
    int exp = 0;
    const char* e = std::find(sci, written.ptr, 'e') + 1;
    std::from_chars(e + (*e == '+'), written.ptr, exp);

    // The result in units of 10^−decimals: the digits whose place is at least 10^−decimals, then
    // half away from zero on the first digit dropped (kept ≤ 0 leaves only what that one carries).
    char whole[kMaxFixedDecimals + 330];
    const int kept = exp + decimals + 1;
    int n = 0;
    if (kept >= kShownDigits) {
        std::copy(digits, digits + kShownDigits, whole);
        std::fill(whole + kShownDigits, whole + kept, '0');
        n = kept;
    } else if (kept >= 0) {
        std::copy(digits, digits + kept, whole + 1);  // whole[0] is room for a carry
        whole[0] = '0';
        n = kept + 1;
        if (digits[kept] >= '5') {
            int i = n - 1;
            while (whole[i] == '9') whole[i--] = '0';
            ++whole[i];
        }
    }
    // The whole part without leading zeros but with at least one digit, then the decimals,
    // zero-filled on the left.
    char text[sizeof whole + 3];
    char* t = text;
    if (v < 0) *t++ = '-';
    const char* from = whole;
    const char* end = whole + n;
    while (from + 1 < end - decimals && *from == '0') ++from;
    if (end - from <= decimals) *t++ = '0';
    else t = std::copy(from, end - decimals, t);
    if (decimals > 0) {
        *t++ = '.';
        const int have = static_cast<int>(std::min<std::ptrdiff_t>(end - from, decimals));
        t = std::fill_n(t, decimals - have, '0');
        t = std::copy(end - have, end, t);
    }
    return DropNegativeZero(QString::fromLatin1(text, t - text));
}

QString RightAlign(const QString& text, int n)
{
    return (QString(n, QLatin1Char(' ')) + text).right(n);
}

namespace {
bool IsFieldBreak(QChar c) { return c == QLatin1Char('\t') || c == QLatin1Char('\r') || c == QLatin1Char('\n'); }
}  // namespace

bool HasFieldBreak(const QString& text) { return std::any_of(text.begin(), text.end(), IsFieldBreak); }

QString WithoutFieldBreaks(QString text)
{
    text.removeIf(IsFieldBreak);
    return text;
}

QString ShortestNumberText(double v)
{
    if (v == 0) return std::signbit(v) ? QStringLiteral("-0") : QStringLiteral("0");
    const double a = std::fabs(v);
    // Qt's shortest form is the fewest digits that convert back to the same double.
    const char form = a >= 1e15 || a < 1e-5 ? 'g' : 'f';
    return QString::number(v, form, QLocale::FloatingPointShortest);
}

}  // namespace tovanel
