// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Window layouts are designed in twips (1/1440 inch). On a 96-dpi screen a pixel is 15 twips;
// Qt's high-dpi scaling takes it from there.

#include <QRect>
#include <QSize>
#include <cmath>

namespace tovanel {

/// Twips per device-independent pixel at 96 dpi.
inline constexpr double kTwipsPerPixel = 15.0;

/// A length in twips as whole pixels, rounded to the nearest.
inline int Px(double twips)
{
    return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}

/// Left, top, width, height in twips as a pixel rectangle. Right and bottom edges are rounded on
/// their own, so controls that touch in twips touch on the screen.
inline QRect TwipsRect(double left, double top, double width, double height)
{
    const int l = Px(left), t = Px(top);
    return QRect(l, t, Px(left + width) - l, Px(top + height) - t);
}

inline QSize TwipsSize(double width, double height)
{
    return QSize(Px(width), Px(height));
}

}  // namespace tovanel
