#pragma once

#include "color/ColorRecords.h"

#include <array>
#include <cstdint>

// Björn Ottosson's OKLab, computed by a fixed sequence of single-precision
// operations (no libm function but the correctly rounded square root), so
// that every machine gets the same bits. docs/oklab.md writes it down.

namespace velo {

struct OKLab {
    float L = 0, a = 0, b = 0;
};

// The constants the conversion uses, shared with the SIMD kernel.
namespace oklab {
inline constexpr float kLinearToLMS[9] = {
    0.4122214708f, 0.5363325363f, 0.0514459929f, //
    0.2119034982f, 0.6806995451f, 0.1073969566f, //
    0.0883024619f, 0.2817188376f, 0.6299787005f,
};
inline constexpr float kLMSToLab[9] = {
    0.2104542553f, 0.7936177850f,  -0.0040720468f, //
    1.9779984951f, -2.4285922050f, 0.4505937099f,  //
    0.0259040371f, 0.7827717662f,  -0.8086757660f,
};
inline constexpr float kLinearBreak = 0.04045f;
inline constexpr float kLinearSlope = 12.92f;
inline constexpr float kOffset = 0.055f;
inline constexpr float kScale = 1.055f;
inline constexpr float kThird = 1.0f / 3.0f;
inline constexpr float kFifth = 0.2f;
// First guesses for the roots from the bits of the argument: its exponent
// divided by 3 (or 5), rebiased.
inline constexpr std::int32_t kCubeRootBias = 709958130;
inline constexpr std::int32_t kFifthRootBias = 852282573;
inline constexpr int kCubeRootSteps = 3;
inline constexpr int kFifthRootSteps = 4;
} // namespace oklab

// x clamped to 0..1 (NaN gives 1), as the pass clamps.
float clampUnit(float x);

// The cube root of x for x > 0, 0 otherwise; the fifth root of x > 0.
float cubeRoot(float x);
float fifthRoot(float x);

// An sRGB-encoded component, clamped to 0..1, in linear light.
float srgbToLinear(float encoded);

// srgbToLinear(k / 255.0f) for every byte k: the same bits, looked up.
const std::array<float, 256>& linearOfBytes();

// From linear-light sRGB components.
OKLab linearToOKLab(float r, float g, float b);

// From sRGB-encoded components; alpha is not part of OKLab.
OKLab rgbaToOKLab(RGBA c);

} // namespace velo
