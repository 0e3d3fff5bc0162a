// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The computed elements of a corner by name, in the order every listing of them uses, and the
// full-precision text they are handed on in.

#include <array>
#include <cstdint>
#include <string>

namespace tovanel {

struct CornerElements;

struct NamedValue {
    const char* name;
    double value;
};

inline constexpr int kElementCount = 28;

/// AzIn AzOut IA IAWork TurnSign RadSigned TL CL HalfCL SL M DistIn BcX BcY SpX SpY EcX EcY CenX
/// CenY AzCenIP TanAX TanAY TanBX TanBY DivCount IaPerDiv IaHalfDiv, as the trial calculation left
/// them.
std::array<NamedValue, kElementCount> ElementList(const CornerElements& s);

/// Appends v with 17 significant digits as printf's "%.17g" writes them (trailing zeros
/// dropped, an exponent only for very large or small values): enough to read back the same double.
void AppendFullDigits(std::string& out, double v);

}  // namespace tovanel
