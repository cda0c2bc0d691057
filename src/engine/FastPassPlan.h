#pragma once

#include "adjust/ColorAdjustment.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace velo {

// One adjustment as the SIMD kernel reads it: its model, mask and the
// components and differences it would compute per call.
struct FastAdjustment {
    bool usesHSB = false;
    bool usesOKLab = false;
    bool moves = false; // its target differs from its source
    bool hasReach = false;
    bool movesInOKLCh = false; // an oklab adjustment that moves colours
    ReachMeasure reach;
    OKLChMove oklch;
    std::int32_t mask = 0;
    float source[4]{};     // RGBA
    float difference[4]{}; // target - source, RGBA
    float sourceHSB[4]{};  // HSBA
    float differenceHSB[4]{};
    float sourceLab[3]{}; // L a b
    float sourceChroma = 0;
};

// Float equivalents of the double thresholds: a float x, widened to double,
// is below the threshold exactly when x <= the float given here.
struct Thresholds {
    float nearZero;     // 1e-7
    float weightFloor;  // 1e-6
    float almostOpaque; // 0.9999999
};
const Thresholds& thresholds();

// The adjustments in the pass's order: RGB ones first in list order, then HSB
// ones in reverse list order.
struct PassPlan {
    std::vector<FastAdjustment> ordered;
    std::vector<std::size_t> entryOf; // for each list position, its index in ordered
    bool needsHSB = false;            // the last entry is HSB
    bool startsWithRGB = true;        // the first entry is RGB (or there is none)
    bool needsOKLab = false;          // some entry matches in OKLab or has a reach
    bool hasReach = false;            // some entry has a reach
    bool movesInOKLCh = false;        // some oklab entry moves colours
};
PassPlan makePassPlan(std::span<const ColorAdjustment> adjustments);

// The SIMD kernel: moves n pixels (n a multiple of kernelLanes(), the pixels
// it takes at a time) of a row of
// inSamples samples each into a row of outSamples samples each, of 8 or 16
// bits, exactly as reading, the pass and writing do pixel by pixel. scratch
// holds room for scratchFloats(plan) floats.
void adjustRow(const PassPlan& plan, const std::uint8_t* in, int inSamples, std::uint8_t* out,
               int outSamples, std::size_t n, float* scratch);
void adjustRow(const PassPlan& plan, const std::uint16_t* in, int inSamples, std::uint16_t* out,
               int outSamples, std::size_t n, float* scratch);

std::size_t kernelLanes();
std::size_t scratchFloats(const PassPlan& plan);

} // namespace velo
