#pragma once

#include "adjust/ColorAdjustment.h"
#include "engine/LineRange.h"
#include "platform/Bitmap.h"

#include <cstddef>
#include <span>

namespace velo {

// The same map as calcInfluenceRange, byte for byte, computed a run of pixels
// at a time with the fast pass's SIMD arithmetic, for meshed sources of 8 or
// 16 bits whose pixels hold only their samples and maps made by
// influenceBitmap. Other layouts go through calcInfluenceRange.
void calcInfluenceRangeFast(LineRange range, const Bitmap* source, Bitmap* influence,
                            std::span<const ColorAdjustment> adjustments,
                            std::span<const std::size_t> selectedIndices);

// Whether calcInfluenceRangeFast takes the fast way for these bitmaps.
bool hasFastInfluencePath(const Bitmap& source, const Bitmap& influence);

} // namespace velo
