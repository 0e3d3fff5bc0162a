#include "calc/numeric.h"

#include "calc/calcstate.h"

#include <QChar>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace tovanel {

double PiValue()
{
    static const double pi = 4 * std::atan(1.0);
    return pi;
}

double DegToRadValue() { return PiValue() / 180; }
double RadToDegValue() { return 180 / PiValue(); }

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
    return (std::atan(-c / std::sqrt(1 - c * c + 1e-10)) + 2 * std::atan(1.0)) * RadToDegValue();
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
    const double a = std::atan2(dy, dx) * RadToDegValue();
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

void DmsFmt(CalcState& s, double packed)
{
    DmsParts r = DmsFormat(packed);
    s.DmsText = r.text;
    s.DmsDeg = r.deg;
    s.DmsMin = r.min;
    s.DmsSec = r.sec;
    s.DmsMinText = r.minText;
    s.DmsSecText = r.secText;
}

QString AngleText(CalcState& s, double degrees)
{
    DmsFmt(s, DegDms(degrees));
    return s.DmsText;
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
    return std::strtod(t.substr(start, end - start).c_str(), nullptr);
}

namespace {
/// Significant digits of a number as the program shows it.
constexpr int kShownDigits = 15;

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
    if (!std::isfinite(v) || decimals < 0) return QString::number(v, 'f', std::max(decimals, 0));
    // The value as it is shown: 15 significant digits d0.d1…d14 × 10^exp.
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.*e", kShownDigits - 1, std::fabs(v));
    std::string digits;
    for (const char* p = buf; *p != 'e'; ++p)
        if (*p != '.') digits += *p;
    const int exp = std::atoi(std::strchr(buf, 'e') + 1);

    // Digits kept: those whose place is at least 10^−decimals, then half away from zero on the
    // first digit dropped. kept ≤ 0 leaves nothing but what that digit carries in.
    const long kept = static_cast<long>(exp) + decimals + 1;
    std::string whole;  // the result in units of 10^−decimals
    if (kept >= kShownDigits) {
        whole = digits + std::string(static_cast<size_t>(kept - kShownDigits), '0');
    } else if (kept >= 0) {
        whole = digits.substr(0, static_cast<size_t>(kept));
        if (digits[static_cast<size_t>(kept)] >= '5') {
            auto i = whole.size();
            while (i > 0 && whole[i - 1] == '9') whole[--i] = '0';
            if (i == 0) whole.insert(whole.begin(), '1');
            else ++whole[i - 1];
        }
    }
    if (whole.size() <= static_cast<size_t>(decimals))
        whole.insert(0, static_cast<size_t>(decimals) + 1 - whole.size(), '0');
    std::string text = whole.substr(0, whole.size() - static_cast<size_t>(decimals));
    if (decimals > 0) text += '.' + whole.substr(text.size());
    if (v < 0) text.insert(text.begin(), '-');
    return DropNegativeZero(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
}

QString RightAlign(const QString& text, int n)
{
    return (QString(n, QLatin1Char(' ')) + text).right(n);
}

}  // namespace tovanel
