#pragma once

#include "adjust/ColorAdjustment.h"
#include "color/ColorRecords.h"

#include <span>
#include <vector>

namespace velo {

// The pass's arithmetic for one colour: every adjustment at once, each with
// its inverse-distance share, in single precision in the order written, the
// result clamped to 0..1. The adjustments must outlive the mover; one mover
// per thread (it keeps its weights between calls).
class PixelMover {
  public:
    explicit PixelMover(std::span<const ColorAdjustment> adjustments);

    RGBA move(RGBA sourceRGBA);

  private:
    std::vector<const ColorAdjustment*> ordered_;
    std::vector<float> weights_;
    bool needsHSB_;
    bool startsWithRGB_;
};

} // namespace velo
