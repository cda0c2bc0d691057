#pragma once

#include "adjust/ColorAdjustment.h"
#include "engine/LineRange.h"
#include "platform/Bitmap.h"

#include <span>

namespace velo {

// Recomputes the destination's lines in range from the same lines of the
// source, moving every pixel by all adjustments at once, each with its
// inverse-distance share. Pixel by pixel: this is the definition of the
// result. Touches nothing but the two bitmaps; lines past the source's
// height are skipped.
void calcRange(LineRange range, const Bitmap* localSourceBitmap, Bitmap* localDestinationBitmap,
               std::span<const ColorAdjustment> localColorAdjustments);

} // namespace velo
