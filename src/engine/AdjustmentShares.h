#pragma once

#include "adjust/ColorAdjustment.h"
#include "color/ColorRecords.h"

#include <cstddef>
#include <span>
#include <vector>

namespace velo {

// One adjustment's share in moving a colour: its position in the adjustment
// list and the fraction the pass moves the colour by.
struct AdjustmentShare {
    std::size_t index = 0;
    float fraction = 0;

    bool operator==(const AdjustmentShare&) const = default;
};

// How many adjustments the pointer's readout names.
inline constexpr std::size_t kSharesUnderPointer = 3;

// Fills largest with the largest of shares (indexed by list position),
// largest first, a tie going to the earlier position; gives how many it
// filled (fewer when there are fewer shares).
std::size_t largestShares(std::span<const float> shares, std::span<AdjustmentShare> largest);

// The kSharesUnderPointer adjustments that weigh most on a colour, by the
// pass's own fractions, largest first.
std::vector<AdjustmentShare> sharesUnderPointer(RGBA color,
                                                std::span<const ColorAdjustment> adjustments);

} // namespace velo
