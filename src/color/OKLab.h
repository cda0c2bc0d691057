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
// The way back: OKLab to the roots of LMS (each row starts with 1 × L), and
// LMS to linear sRGB.
inline constexpr float kLabToLMS[9] = {
    1.0f, 0.3963377774f,  0.2158037573f,  //
    1.0f, -0.1055613458f, -0.0638541728f, //
    1.0f, -0.0894841775f, -1.2914855480f,
};
inline constexpr float kLMSToLinear[9] = {
    4.0767416621f,  -3.3077115913f, 0.2309699292f,  //
    -1.2684380046f, 2.6097574011f,  -0.3413193965f, //
    -0.0041960863f, -0.7034186147f, 1.7076147010f,
};
inline constexpr float kEncodeBreak = 0.0031308f;
// Halvings of the chroma that bring a colour outside sRGB back inside.
inline constexpr int kGamutSteps = 12;
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

struct LinearRGB {
    float r = 0, g = 0, b = 0;
};

// The way back, without clamping: a colour outside sRGB has components
// outside 0..1.
LinearRGB okLabToLinear(OKLab c);
bool isInsideSRGB(LinearRGB c);

// A linear-light component, clamped to 0..1, sRGB-encoded.
float linearToSrgb(float linear);

// The sRGB-encoded colour of c, its lightness clamped to 0..1 and, when it
// lies outside sRGB, its chroma lowered at the same lightness and hue until
// it lies inside. Alpha is left 1.
RGBA gamutMappedRGB(OKLab c);

} // namespace velo
