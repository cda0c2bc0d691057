#pragma once

#include "adjust/ColorAdjustment.h"
#include "engine/LineRange.h"
#include "platform/Bitmap.h"

#include <cstddef>
#include <memory>
#include <span>

namespace velo {

// An opaque meshed RGB bitmap of the source's size for calcInfluenceRange.
std::shared_ptr<Bitmap> influenceBitmap(const Bitmap& source);

// Recomputes the influence bitmap's lines in range from the same lines of
// the source, from the very fractions the pass moves each pixel by. With no
// selected indices every pixel shows the target colour of the adjustment
// with the largest share (a tie goes to the earlier one), or with no
// adjustments its own colour made opaque; with selected indices it is
// grey by the sum of the shares of the adjustments at those positions of
// the list (black 0, white 1; positions past the list count for nothing).
// Touches nothing but the influence bitmap, so workers may fill disjoint
// ranges at once; lines past the source's height are skipped.
void calcInfluenceRange(LineRange range, const Bitmap* source, Bitmap* influence,
                        std::span<const ColorAdjustment> adjustments,
                        std::span<const std::size_t> selectedIndices);

} // namespace velo
