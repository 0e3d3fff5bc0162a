// SPDX-License-Identifier: GPL-3.0-or-later
// The trial and its listing from any corner and limits: a one-line refusal and no listing, or a
// stakeable corner, every number whole in its column, and the smallest count the limits allow.

#include "corner.h"
#include "fuzzcheck.h"

#include "calc/curve.h"
#include "calc/listing.h"
#include "calc/numeric.h"

namespace {

using namespace tovanel;

// The two quantities the limits hold down for a count of n, as the count search computes them.
bool WithinLimits(const CornerElements& s, const Limits& limits, double n)
{
    const double secant = s.RadAbs * (1 / std::cos(s.IA / (2 * n) * DegToRad) - 1);
    return !(secant > limits.M) && !(limits.LP < s.CL / n);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Corner c = fuzz::ReadCorner(fuzz::Bytes(data, size));
    const double given = c.in.DivCount;
    CornerElements s;
    Listing l;
    const QString why = S_CRT(c.in, c.st, s, l);
    if (!why.isEmpty()) {
        FUZZ_CHECK(l.texts.empty()) << why;
        FUZZ_CHECK(!why.contains(QLatin1Char('\n'))) << why;
        return 0;
    }
    FUZZ_CHECK(l.texts.size() == 14 + 3 * 6) << l.texts.size() << " texts";
    for (size_t k = 0; k < l.texts.size(); ++k) {
        const ListingText& t = l.texts[k];
        FUZZ_CHECK(t.colour == kBlack || t.colour == kRed) << t.colour;
        if (k != 1) {  // text 1 holds the IP number
            FUZZ_CHECK(!fuzz::ShowsNonFinite(t.text)) << t.text;
        }
        if (k >= 14 && (k - 14) % 6 != 0) {  // the rows: a label, then five cells ten characters wide
            const RowValues& r = s.Rows[(k - 14) / 6];
            const double cells[] = {r.RowRad, r.ArcPerDiv, r.ChordPerDiv, r.OrdPerDiv, r.ArcChordDiff};
            FUZZ_CHECK(t.text.size() == 10 && t.text.trimmed() == FixedText(cells[(k - 14) % 6 - 1], 4))
                << '"' << t.text << "\" lost digits";
        }
    }
    for (size_t k = 7; k <= 10; ++k) {  // TL, CL, SL and M whole in their ten characters
        const double values[] = {s.TL, s.CL, s.SL, s.M};
        FUZZ_CHECK(l.texts[k].text.mid(6) == RightAlign(FixedText(values[k - 7], 4), 10)) << l.texts[k].text;
    }
    const CornerInput& in = c.in;
    FUZZ_CHECK(Dist(in.IpX - in.BpX, in.IpY - in.BpY) >= kMinTangent && Dist(in.EpX - in.IpX, in.EpY - in.IpY) >= kMinTangent)
        << "a tangent of no length";
    FUZZ_CHECK(s.IA >= kMinIA && s.IA <= kMaxIA) << "IA " << s.IA;
    FUZZ_CHECK(in.Radius > 0 && in.Radius <= kMaxRadius && in.Radius - in.WidthIn > 0 && in.Radius + in.WidthOut > 0)
        << "radii " << in.Radius << ' ' << in.WidthIn << ' ' << in.WidthOut;
    for (size_t k : {6, 11, 12}) FUZZ_CHECK(l.texts[k].text.size() == 6 + 14) << l.texts[k].text;  // angles

    FUZZ_CHECK(s.AzIn >= 0 && s.AzIn <= 360 && s.AzOut >= 0 && s.AzOut <= 360) << s.AzIn << ' ' << s.AzOut;
    FUZZ_CHECK(s.TurnSign == (s.RadSigned > 0) - (s.RadSigned < 0)) << s.TurnSign << ' ' << s.RadSigned;
    FUZZ_CHECK(s.DivCount > 0 && s.DivCount <= kMaxDivCount) << s.DivCount;
    if (given != 0) {
        FUZZ_CHECK(s.DivCount == given) << "a typed count is kept: " << given << " became " << s.DivCount;
    } else {
        FUZZ_CHECK(s.DivCount == std::floor(s.DivCount)) << s.DivCount;
        FUZZ_CHECK(WithinLimits(s, c.st.limits(), s.DivCount)) << "N " << s.DivCount << " breaks a limit";
        FUZZ_CHECK(s.DivCount == 1 || !WithinLimits(s, c.st.limits(), s.DivCount - 1)) << "N " << s.DivCount << " is not the smallest";
    }
    return 0;
}
