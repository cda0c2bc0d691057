#include "engine/AdjustmentShares.h"

#include "engine/PixelMover.h"

namespace velo {

std::size_t largestShares(std::span<const float> shares, std::span<AdjustmentShare> largest) {
    std::size_t filled = 0;
    for (std::size_t i = 0; i < shares.size(); ++i) {
        // Only a strictly larger share passes one already placed, so ties keep
        // the earlier position ahead.
        std::size_t slot = filled;
        while (slot > 0 && shares[i] > largest[slot - 1].fraction) {
            --slot;
        }
        if (slot == largest.size()) {
            continue;
        }
        std::size_t last = filled < largest.size() ? filled++ : filled - 1;
        for (std::size_t k = last; k > slot; --k) {
            largest[k] = largest[k - 1];
        }
        largest[slot] = {i, shares[i]};
    }
    return filled;
}

std::vector<AdjustmentShare> sharesUnderPointer(RGBA color,
                                                std::span<const ColorAdjustment> adjustments) {
    PixelMover mover(adjustments);
    std::vector<AdjustmentShare> largest(kSharesUnderPointer);
    largest.resize(largestShares(mover.shares(color), largest));
    return largest;
}

} // namespace velo
