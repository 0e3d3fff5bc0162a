// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A synthetic district: corners on a skewed grid, every type and turn, every 50th refused (EP on IP).

#include "calc/corner.h"

#include <QString>
#include <cmath>
#include <numbers>
#include <vector>

namespace tovanel::test {

inline std::vector<CornerInput> District(int count)
{
    std::vector<CornerInput> out;
    out.reserve(static_cast<size_t>(count));
    constexpr double kDeg = std::numbers::pi / 180;
    for (int i = 0; i < count; ++i) {
        const int col = i % 25, row = i / 25;
        CornerInput in;
        in.IpX = 45.0 * row + 7 * std::sin(col * 0.7);  // north
        in.IpY = 65.0 * col + 5 * std::cos(row * 0.9);  // east
        // The street in, and a turn of 60 to 120 degrees to either side.
        const double azIn = (i * 37) % 360;
        const double turn = (60 + (i * 13) % 61) * (i % 2 ? 1 : -1);
        const double azOut = azIn + turn;
        const double back = 18 + i % 5, ahead = 20 + i % 7;
        in.BpX = in.IpX - back * std::cos(azIn * kDeg);
        in.BpY = in.IpY - back * std::sin(azIn * kDeg);
        in.EpX = in.IpX + ahead * std::cos(azOut * kDeg);
        in.EpY = in.IpY + ahead * std::sin(azOut * kDeg);
        if (i % 50 == 49) in.EpX = in.IpX, in.EpY = in.IpY;
        in.Radius = 3 + i % 10;
        in.WidthIn = 1 + i % 3 * 0.5;
        in.WidthOut = 1.5 + i % 4 * 0.5;
        in.CalcType = static_cast<int16_t>(i % 4);
        in.IPNo = QStringLiteral("D%1").arg(i + 1);
        out.push_back(in);
    }
    return out;
}

}  // namespace tovanel::test
