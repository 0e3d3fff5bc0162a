// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The trial listing: runs the calculation and lays out what the trial window draws, as data.

#include "calc/corner.h"
#include "calc/settings.h"

#include <QString>
#include <vector>

namespace tovanel {

/// Colours as 0x00BBGGRR values.
inline constexpr int kBlack = 0x000000;
inline constexpr int kRed = 0x0000FF;
inline constexpr int kGreen = 0x00FF00;

/// One text of the listing at a position in surface units (1000 × 1000, origin top left).
struct ListingText {
    int x = 0;
    int y = 0;
    int colour = kBlack;
    QString text;
};

/// Text size of the listing in surface units (the em's height). A half-width character of the
/// sheet font is half an em, 16 units: the 10-character value fields set 160 units apart then
/// fill their columns, and the heading "R         CL/N      L        M'    (CL/N)-L" at x 220 puts
/// each name over its own column.
inline constexpr int kListingTextSize = 32;

struct Listing {
    QString caption;              ///< the trial window's caption
    QString font = QStringLiteral("ＭＳ 明朝");
    int textSize = kListingTextSize;  ///< surface units
    std::vector<ListingText> texts;  ///< in drawing order
};

/// The trial calculation of `in` under `settings`: LoadIn, the division values of the inner,
/// centre and outer curve into `el`, and the listing that shows them. On a refusal returns the
/// reason and leaves `out` empty; that includes a listing that would print a value as "inf" or
/// "nan", and a value too long for its fixed field on the listing or the elements sheet (a field
/// keeps only its rightmost characters, which would drop leading digits).
[[nodiscard]] QString S_CRT(const CornerInput& in, const Settings& settings, CornerElements& el, Listing& out);

/// The calculation of S_CRT without composing its texts: the same steps in the same order, so the
/// elements it leaves are the ones S_CRT leaves. For runs that need the figures, not the listing.
[[nodiscard]] QString TrialCalculation(const CornerInput& in, const Settings& settings, CornerElements& el);

/// The texts of one division row at height y, labelled `label`; a value beyond its limit is red.
void DivRow(const RowValues& row, const QString& label, const Limits& limits, int y, Listing& out);

}  // namespace tovanel
