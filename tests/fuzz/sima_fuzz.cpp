// SPDX-License-Identifier: GPL-3.0-or-later
// SIMA coordinate files from any bytes, checked as pointfuzz.h says.

#include "pointfuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return tovanel::fuzz::FuzzPointReader(data, size, tovanel::PointFormat::Sima);
}
