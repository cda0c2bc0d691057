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

LinearRGB okLabToLinear(OKLab c) {
    const float* k = oklab::kLabToLMS;
    float l = row(k, c.L, c.a, c.b);
    float m = row(k + 3, c.L, c.a, c.b);
    float s = row(k + 6, c.L, c.a, c.b);
    l = (l * l) * l;
    m = (m * m) * m;
    s = (s * s) * s;
    const float* t = oklab::kLMSToLinear;
    return {row(t, l, m, s), row(t + 3, l, m, s), row(t + 6, l, m, s)};
}

bool isInsideSRGB(LinearRGB c) {
    return c.r >= 0.0f && c.r <= 1.0f && c.g >= 0.0f && c.g <= 1.0f && c.b >= 0.0f && c.b <= 1.0f;
}

float linearToSrgb(float linear) {
    float x = clampUnit(linear);
    if (x <= oklab::kEncodeBreak) {
        return x * oklab::kLinearSlope;
    }
    // x^(1/2.4) = (x * x^(1/4))^(1/3)
    return oklab::kScale * cubeRoot(x * std::sqrt(std::sqrt(x))) - oklab::kOffset;
}

RGBA gamutMappedRGB(OKLab c) {
    float L = clampUnit(c.L);
    LinearRGB linear = okLabToLinear({L, c.a, c.b});
    if (!isInsideSRGB(linear)) {
        // The largest share of the chroma that stays inside, by halving.
        float inside = 0.0f;
        float outside = 1.0f;
        for (int i = 0; i < oklab::kGamutSteps; ++i) {
            float middle = (inside + outside) * 0.5f;
            if (isInsideSRGB(okLabToLinear({L, c.a * middle, c.b * middle}))) {
                inside = middle;
            } else {
                outside = middle;
            }
        }
        linear = okLabToLinear({L, c.a * inside, c.b * inside});
    }
    return {linearToSrgb(linear.r), linearToSrgb(linear.g), linearToSrgb(linear.b), 1.0f};
}

} // namespace velo
