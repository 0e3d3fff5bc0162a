// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/elementlist.h"

#include "calc/corner.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace tovanel {

namespace {

void AppendByLibrary(std::string& out, double v)
{
    char buffer[32];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::general, 17);
    if (ec == std::errc()) out.append(buffer, end);
}

constexpr auto kPowersOfTen = [] {
    std::array<unsigned __int128, 22> p{};
    p[0] = 1;
    for (size_t i = 1; i < p.size(); ++i) p[i] = p[i - 1] * 10;
    return p;
}();

}  // namespace

std::array<NamedValue, kElementCount> ElementList(const CornerElements& s)
{
    return {{
        {"AzIn", s.AzIn},       {"AzOut", s.AzOut},   {"IA", s.IA},           {"IAWork", s.IAWork},
        {"TurnSign", static_cast<double>(s.TurnSign)}, {"RadSigned", s.RadSigned}, {"TL", s.TL},
        {"CL", s.CL},           {"HalfCL", s.HalfCL}, {"SL", s.SL},           {"M", s.M},
        {"DistIn", s.DistIn},   {"BcX", s.BcX},       {"BcY", s.BcY},         {"SpX", s.SpX},
        {"SpY", s.SpY},         {"EcX", s.EcX},       {"EcY", s.EcY},         {"CenX", s.CenX},
        {"CenY", s.CenY},       {"AzCenIP", s.AzCenIP}, {"TanAX", s.TanAX},   {"TanAY", s.TanAY},
        {"TanBX", s.TanBX},     {"TanBY", s.TanBY},   {"DivCount", s.DivCount},
        {"IaPerDiv", s.IaPerDiv}, {"IaHalfDiv", s.IaHalfDiv},
    }};
}

void AppendFullDigits(std::string& out, double v)
{
    // Survey values (1e-4 up to 1e15) are written without an exponent; their 17 digits are worked
    // out exactly in integers rather than by std::to_chars with a precision, which takes the slower general
    // path, and this is what a run of many corners spends most of its time on. Anything else
    // goes the library's way, which gives the same text.
    const double a = std::fabs(v);
    if (!(a >= 1e-4 && a < 1e15)) return AppendByLibrary(out, v);
    std::uint64_t bits = 0;
    std::memcpy(&bits, &a, sizeof bits);
    const int shift = 1075 - static_cast<int>(bits >> 52);  // a = m / 2^shift, 3 <= shift <= 66 here
    const std::uint64_t m = (bits & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1} << 52);
    // a lies in [2^(52 − shift), 2^(53 − shift)): its decimal exponent is this one or the next.
    int d = static_cast<int>(std::floor((52 - shift) * 0.30102999566398120));
    std::uint64_t digits = 0;
    for (;;) {
        // a × 10^(16 − d) rounded to a whole number, halves to even, as printf rounds.
        const unsigned __int128 n = m * kPowersOfTen[static_cast<size_t>(16 - d)];
        unsigned __int128 q = n >> shift;
        const unsigned __int128 rest = n - (q << shift);
        const unsigned __int128 half = static_cast<unsigned __int128>(1) << (shift - 1);
        if (rest > half || (rest == half && (q & 1))) ++q;
        if (q >= kPowersOfTen[17]) {
            ++d;
            continue;
        }
        digits = static_cast<std::uint64_t>(q);
        break;
    }
    char text[17];
    for (int i = 16; i >= 0; --i, digits /= 10) text[i] = static_cast<char>('0' + digits % 10);
    int last = 16;  // the last digit kept: trailing zeros after the point are dropped
    while (last > d && text[last] == '0') --last;
    if (v < 0) out += '-';
    if (d >= 0) {
        out.append(text, static_cast<size_t>(d + 1));
        if (last > d) {
            out += '.';
            out.append(text + d + 1, static_cast<size_t>(last - d));
        }
    } else {
        out += "0.";
        out.append(static_cast<size_t>(-d - 1), '0');
        out.append(text, static_cast<size_t>(last + 1));
    }
}

}  // namespace tovanel
