// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/pagewriter.h"

#include "print/fonts.h"
#include "print/pagelayout.h"

#include <cmath>

namespace tovanel {

QString SheetFontName() { return kMinchoFont; }

PaperInfo PaperFromCode(int code)
{
    switch (code) {
    case kPaperA3: return {1.41, QStringLiteral("A3")};
    case kPaperA4: return {1, QStringLiteral("A4")};
    case kPaperB4: return {1.19, QStringLiteral("B4")};
    case kPaperB5: return {0.8666, QStringLiteral("B5")};
    default: return {1, QStringLiteral("定型外")};
    }
}

void PageSetup(PageWriter& s)
{
    PageLayout& pl = s.pl;
    s.MmUnit = static_cast<float>(kTwipsPerLayoutMm);
    const int code = pl.paperSize();
    if (pl.orientation() == kPortrait) pl.setOrientation(kLandscape);
    const PaperInfo paper = PaperFromCode(code);
    s.PaperScale = paper.scale;
    s.PaperName = paper.name;
    s.MmUnit = static_cast<float>(s.PaperScale * kTwipsPerLayoutMm);
    pl.setFontName(SheetFontName());
}

void vspri(PageWriter& s, const QString& msg, double X, double Y, double fon)
{
    PageLayout& pl = s.pl;
    pl.setFontSize(std::floor(s.PaperScale * fon));
    float off = 0;
    if (s.AlignMode != TextAlign::Start) {
        // nearbyint rounds half to even in the default rounding mode and never leaves double.
        const auto w = static_cast<float>(std::nearbyint(pl.textWidth(msg)));
        if (s.AlignMode == TextAlign::Centre)
            off = (s.MmUnit * s.AlignWidth - w) / 2;
        else
            off = (s.AlignWidth - 1) * s.MmUnit - w;
    }
    pl.setCurrentX((X + s.OrgX) * s.MmUnit + off);
    pl.setCurrentY((Y + s.OrgY) * s.MmUnit);
    pl.text(msg);
}

}  // namespace tovanel
