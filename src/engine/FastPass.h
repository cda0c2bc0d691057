#pragma once

#include "adjust/ColorAdjustment.h"
#include "engine/LineRange.h"
#include "platform/Bitmap.h"

#include <span>

namespace velo {

// The same result as calcRange, byte for byte, computed a run of pixels at a
// time with SIMD (the best instruction set of the machine, chosen at run
// time) for meshed bitmaps of one depth (8 or 16 bits) whose pixels hold
// only their samples. Other layouts go through calcRange.
void calcRangeFast(LineRange range, const Bitmap* source, Bitmap* destination,
                   std::span<const ColorAdjustment> adjustments);

// Whether calcRangeFast takes the fast way for these bitmaps.
bool hasFastPath(const Bitmap& source, const Bitmap& destination);

} // namespace velo
