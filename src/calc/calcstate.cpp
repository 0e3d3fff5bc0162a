// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/calcstate.h"

#include <cmath>

namespace tovanel {

void InitConstants(CalcState& s)
{
    s.PiVal = 4 * std::atan(1.0);
    s.DegToRad = s.PiVal / 180;
    s.RadToDeg = 180 / s.PiVal;
}

}  // namespace tovanel
