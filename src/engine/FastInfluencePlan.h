#pragma once

#include "engine/FastPassPlan.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace velo {

// What the influence map's SIMD kernel reads: the pass's plan for the shares,
// and how a pixel shows them.
struct InfluencePlan {
    PassPlan pass;
    // Per list position: whether its share counts toward the grey.
    std::vector<bool> selected;
    bool showsSelection = false;
    // Per list position: the nearest bytes of its target colour (red, green, blue).
    std::vector<std::array<std::int32_t, 3>> targetBytes;
};
InfluencePlan makeInfluencePlan(std::span<const ColorAdjustment> adjustments,
                                std::span<const std::size_t> selectedIndices);

// The SIMD kernel: the map's pixels (3 bytes each) of n pixels (n a multiple
// of kernelLanes()) of a row of inSamples samples each, of 8 or 16 bits, as
// calcInfluenceRange shows them pixel by pixel. scratch holds room for
// scratchFloats(plan.pass) floats.
void influenceRow(const InfluencePlan& plan, const std::uint8_t* in, int inSamples,
                  std::uint8_t* out, std::size_t n, float* scratch);
void influenceRow(const InfluencePlan& plan, const std::uint16_t* in, int inSamples,
                  std::uint8_t* out, std::size_t n, float* scratch);

} // namespace velo
