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
    std::int32_t mask = 0;
    float source[4]{};     // RGBA
    float difference[4]{}; // target - source, RGBA
    float sourceHSB[4]{};  // HSBA
    float differenceHSB[4]{};
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
    bool needsHSB = false;     // the last entry is HSB
    bool startsWithRGB = true; // the first entry is RGB (or there is none)
};
PassPlan makePassPlan(std::span<const ColorAdjustment> adjustments);

// Pixels as separate float arrays, straight (not premultiplied) alpha.
struct PixelArrays {
    float* r;
    float* g;
    float* b;
    float* a;
};

// The SIMD kernel: moves n pixels (n a multiple of kernelLanes()), in to out.
// scratch holds room for ordered.size() * n floats.
void adjustPixels(const PassPlan& plan, PixelArrays in, PixelArrays out, std::size_t n,
                  float* scratch);

// Premultiplies (when the destination has alpha) and turns each float into
// its byte, as pixel writes do: n pixels, results as ints per channel.
void pixelsToBytes(PixelArrays pixels, bool premultiply, std::int32_t* r, std::int32_t* g,
                   std::int32_t* b, std::int32_t* a, std::size_t n);

// Divides colour by alpha where alpha is partial, as pixel reads do.
void unpremultiply(PixelArrays pixels, std::size_t n);

std::size_t kernelLanes();

} // namespace velo
