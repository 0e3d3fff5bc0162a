// SPDX-License-Identifier: GPL-3.0-or-later
// Both number rules on any text against plain restatements; the number and angle routines on any
// doubles (every 8 bytes, and the text's value): texts read back, keep their widths, angles in range.

#include "fuzzcheck.h"

#include "calc/numeric.h"

#include <QRegularExpression>
#include <charconv>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

using namespace tovanel;

// The rule: after blanks, the longest [sign] digits [. digits] [exponent] with at least one digit
// in the mantissa; full-width forms count as ASCII.
double RuleReference(const QString& text)
{
    static const QRegularExpression number(
        QStringLiteral("^[ \\t\\r\\n]*([+-]?(?:[0-9]+\\.?[0-9]*|\\.[0-9]+)(?:[eE][+-]?[0-9]+)?)"));
    const QRegularExpressionMatch m = number.match(text.normalized(QString::NormalizationForm_KC));
    if (!m.hasMatch()) return 0;
    QByteArray t = m.captured(1).toLatin1();
    if (t.startsWith('+')) t.remove(0, 1);
    double v = 0;
    const auto [end, ec] = std::from_chars(t.constData(), t.constData() + t.size(), v);
    // Beyond the range of a double, NaN: the rule then gives an infinity or about zero.
    return ec == std::errc::result_out_of_range ? std::nan("") : v;
}

// The strict rule: full-width to ASCII, blanks around dropped, the whole text [sign] (digits | 1-3
// digits then ",ddd" groups) [. digits] [exponent], finite. NaN for no number.
double StrictReference(const QString& text)
{
    QString t;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= 0xFF10 && u <= 0xFF19) t += QChar(u'0' + (u - 0xFF10));
        else if (u == 0xFF0B) t += u'+';
        else if (u == 0xFF0D || u == 0x2212) t += u'-';
        else if (u == 0xFF0E) t += u'.';
        else if (u == 0xFF0C) t += u',';
        else if (u == 0xFF45 || u == 0xFF25) t += u'e';
        else t += c;
    }
    static const QRegularExpression number(QStringLiteral(
        "^([+-]?)((?:[1-9][0-9]{0,2}(?:,[0-9]{3})+|[0-9]*)(?:\\.[0-9]*)?)((?:[eE][+-]?[0-9]+)?)$"));
    const QRegularExpressionMatch m = number.match(t.trimmed());
    if (!m.hasMatch() || !m.captured(2).contains(QRegularExpression(QStringLiteral("[0-9]")))) return std::nan("");
    const QByteArray ascii = (m.captured(2).remove(u',') + m.captured(3)).toLatin1();
    double v = 0;
    const auto [end, ec] = std::from_chars(ascii.constData(), ascii.constData() + ascii.size(), v);
    if (ec != std::errc() || end != ascii.constData() + ascii.size() || !std::isfinite(v)) return std::nan("");
    return m.captured(1) == QLatin1String("-") ? -v : v;
}

bool Near(double a, double b, double tolerance) { return std::fabs(a - b) <= tolerance; }

void CheckTexts(double v)
{
    const QString number = NumberText(v);
    const QString withSign = SignedNumberText(v);
    FUZZ_CHECK(withSign == (number.startsWith(QLatin1Char('-')) ? number : QLatin1Char(' ') + number)) << withSign;
    if (!std::isfinite(v)) return;
    FUZZ_CHECK(number != QLatin1String("-0")) << v;
    // Fifteen significant digits read back within 5.3e-15 of the value (below the top of the range).
    if (std::fabs(v) < 1e308) {
        FUZZ_CHECK(Near(LeadingNumber(number), v, std::fabs(v) * 5.3e-15)) << v << " printed " << number;
    }
    for (int decimals : {0, 2, 3, 4}) {
        const QString fixed = FixedText(v, decimals);
        static const QRegularExpression shape[5] = {
            QRegularExpression(QStringLiteral("^-?[0-9]+$")), {}, QRegularExpression(QStringLiteral("^-?[0-9]+\\.[0-9]{2}$")),
            QRegularExpression(QStringLiteral("^-?[0-9]+\\.[0-9]{3}$")), QRegularExpression(QStringLiteral("^-?[0-9]+\\.[0-9]{4}$"))};
        FUZZ_CHECK(shape[decimals].match(fixed).hasMatch()) << v << " as " << fixed;
        // The fixed text rounds the fifteen-digit decimal, so it carries that error too.
        const double back = LeadingNumber(fixed);
        FUZZ_CHECK(std::fabs(v) >= 1e308 || Near(back, v, 0.5 * std::pow(10.0, -decimals) * (1 + 1e-9) + std::fabs(v) * 5.3e-15))
            << v << " as " << fixed;
        FUZZ_CHECK(!(fixed.startsWith(QLatin1Char('-')) && back == 0)) << "a minus before zeros: " << fixed;
    }
    for (int n : {0, 3, 4, 6}) {
        const double scale = std::pow(10.0, n);
        if (!(std::fabs(v) * scale < 1e15)) continue;  // beyond, units are not all representable
        const double unit = 1 / scale, eps = std::fabs(v) * 1e-15 + 1e-300;
        const double half = RoundDig(v, n, 1), cut = RoundDig(v, n, 0), up = RoundDig(v, n, 2);
        // Halves round away from zero from 0.4999999999 of a unit on: the offset is 0.5000000001.
        FUZZ_CHECK(Near(half, v, unit * 0.5000000001 + eps)) << "RoundDig(" << v << ", " << n << ", 1) = " << half;
        FUZZ_CHECK(std::fabs(cut) <= std::fabs(v) + 1e-10 * unit + eps && std::fabs(v) - std::fabs(cut) < unit + eps)
            << "RoundDig(" << v << ", " << n << ", 0) = " << cut;
        FUZZ_CHECK(std::fabs(up) >= std::fabs(v) - 0.1 * unit - eps && std::fabs(up) <= std::fabs(v) + unit + eps)
            << "RoundDig(" << v << ", " << n << ", 2) = " << up;
        for (double r : {half, cut, up}) FUZZ_CHECK(r == 0 || (r > 0) == (v > 0)) << v << " rounded to " << r;
    }
}

void CheckAngles(double a, double b)
{
    if (!std::isfinite(a)) return;
    // DMS text of 14 characters; minutes and seconds in range; within 0.005" of the degrees.
    if (std::fabs(a) < 1e6) {
        const DmsParts d = DmsFormat(DegDms(a));
        FUZZ_CHECK(d.text.size() == 14 && d.text.endsWith(QLatin1Char('"'))) << a << ": " << d.text;
    }
    // Beyond ~1e4 degrees doubles are coarser than the 1e-10 minute tolerance; printed angles stay
    // well below 3600.
    if (std::fabs(a) < 3600) {
        const DmsParts d = DmsFormat(DegDms(a));
        FUZZ_CHECK(d.min >= 0 && d.min < 60 && d.min == std::floor(d.min)) << a << ": " << d.text;
        FUZZ_CHECK(d.sec >= 0 && d.sec < 60) << a << ": " << d.text;
        const double shown = std::fabs(d.deg) + d.min / 60 + d.sec / 3600;
        FUZZ_CHECK(Near(shown, std::fabs(a), 0.0051 / 3600 + std::fabs(a) * 1e-12)) << a << " shown as " << d.text;
    }
    double n = a;
    const double normalised = Norm360(n);
    FUZZ_CHECK(n == normalised) << a;
    FUZZ_CHECK(!(a >= -360 && a <= 720) || (normalised >= 0 && normalised <= 360)) << a << " became " << normalised;
    if (!std::isfinite(b)) return;
    const double az = Azimuth(a, b);
    FUZZ_CHECK(az >= 0 && az <= 360) << "Azimuth(" << a << ", " << b << ") = " << az;
    FUZZ_CHECK(!std::isnan(Dist(a, b))) << a << ", " << b;
    if (std::fabs(a) <= 1) {
        const double c = ArcCosDeg(a);
        FUZZ_CHECK(c >= 0 && c <= 180) << "ArcCosDeg(" << a << ") = " << c;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const double read = LeadingNumber(text);
    const double expected = RuleReference(text);
    if (std::isnan(expected)) {
        FUZZ_CHECK(std::isinf(read) || std::fabs(read) < 1e-307) << "read " << read << " out of range";
    } else {
        FUZZ_CHECK(read == expected || (std::fabs(read) < 1e-307 && std::fabs(expected) < 1e-307))
            << "read " << read << ", the rule says " << expected;
    }

    // The strict rule gives the reference's value; its plain text reads the same by either rule.
    QString plain;
    const std::optional<double> strict = StrictNumber(text, &plain);
    const double strictExpected = StrictReference(text);
    FUZZ_CHECK(strict.has_value() == !std::isnan(strictExpected)) << "strict: " << text;
    if (strict) {
        FUZZ_CHECK(fuzz::SameBits(*strict, strictExpected)) << text << " read " << *strict;
        FUZZ_CHECK(StrictNumber(plain) == strict && LeadingNumber(plain) == *strict) << text << " as " << plain;
    }

    std::vector<double> values;
    for (size_t i = 0; i + sizeof(double) <= size; i += sizeof(double)) {
        double v = 0;
        std::memcpy(&v, data + i, sizeof v);
        values.push_back(v);
    }
    values.push_back(read);
    for (size_t i = 0; i < values.size(); ++i) {
        CheckTexts(values[i]);
        CheckAngles(values[i], values[(i + 1) % values.size()]);
    }
    return 0;
}
