#include "color/OKLab.h"

#include <bit>
#include <cmath>

namespace velo {

namespace {

// A guess within a few per cent: the argument's bits divided as a float,
// truncated, plus a bias that rebiases the exponent.
float rootGuess(float x, float divisor, std::int32_t bias) {
    auto bits = std::bit_cast<std::int32_t>(x);
    auto guess = static_cast<std::int32_t>(static_cast<float>(bits) * divisor) + bias;
    return std::bit_cast<float>(guess);
}

// a * k0 + b * k1 + c * k2, added left to right.
float row(const float* k, float a, float b, float c) {
    return (k[0] * a + k[1] * b) + k[2] * c;
}

} // namespace

float clampUnit(float x) {
    if (x < 0.0f) {
        return 0.0f;
    }
    return x < 1.0f ? x : 1.0f;
}

float cubeRoot(float x) {
    if (!(x > 0.0f)) {
        return 0.0f;
    }
    float z = rootGuess(x, oklab::kThird, oklab::kCubeRootBias);
    for (int i = 0; i < oklab::kCubeRootSteps; ++i) {
        z = ((z + z) + x / (z * z)) * oklab::kThird;
    }
    return z;
}

float fifthRoot(float x) {
    float z = rootGuess(x, oklab::kFifth, oklab::kFifthRootBias);
    for (int i = 0; i < oklab::kFifthRootSteps; ++i) {
        float z2 = z * z;
        z = (z * 4.0f + x / (z2 * z2)) * oklab::kFifth;
    }
    return z;
}

float srgbToLinear(float encoded) {
    float x = clampUnit(encoded);
    if (x <= oklab::kLinearBreak) {
        return x / oklab::kLinearSlope;
    }
    // y^2.4 = y^2 * (y^2)^(1/5)
    float y = (x + oklab::kOffset) / oklab::kScale;
    float y2 = y * y;
    return y2 * fifthRoot(y2);
}

const std::array<float, 256>& linearOfBytes() {
    static const std::array<float, 256> table = [] {
        std::array<float, 256> t{};
        for (int k = 0; k < 256; ++k) {
            t[static_cast<std::size_t>(k)] = srgbToLinear(static_cast<float>(k) / 255.0f);
        }
        return t;
    }();
    return table;
}

OKLab linearToOKLab(float r, float g, float b) {
    const float* m = oklab::kLinearToLMS;
    float l = cubeRoot(row(m, r, g, b));
    float md = cubeRoot(row(m + 3, r, g, b));
    float s = cubeRoot(row(m + 6, r, g, b));
    const float* k = oklab::kLMSToLab;
    return {row(k, l, md, s), row(k + 3, l, md, s), row(k + 6, l, md, s)};
}

OKLab rgbaToOKLab(RGBA c) {
    return linearToOKLab(srgbToLinear(c.r), srgbToLinear(c.g), srgbToLinear(c.b));
}

} // namespace velo
