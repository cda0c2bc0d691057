#include "color/OKLab.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <random>

namespace velo {
namespace {

// Published OKLab coordinates of the sRGB primaries, white and black.
TEST(OKLab, MatchesThePublishedValues) {
    struct Case {
        RGBA rgb;
        float L, a, b;
    } cases[] = {
        {{1, 0, 0, 1}, 0.627955f, 0.224863f, 0.125846f},
        {{0, 1, 0, 1}, 0.866440f, -0.233888f, 0.179498f},
        {{0, 0, 1, 1}, 0.452014f, -0.032457f, -0.311528f},
        {{1, 1, 1, 1}, 1.0f, 0.0f, 0.0f},
        {{0, 0, 0, 1}, 0.0f, 0.0f, 0.0f},
    };
    for (const Case& c : cases) {
        OKLab lab = rgbaToOKLab(c.rgb);
        EXPECT_NEAR(lab.L, c.L, 2e-6f);
        EXPECT_NEAR(lab.a, c.a, 2e-6f);
        EXPECT_NEAR(lab.b, c.b, 2e-6f);
    }
}

// Within a few units in the last place of the true values, over the whole
// range the conversion meets.
TEST(OKLab, RootsAndTransferFunctionAreAccurate) {
    std::mt19937 random(24);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    for (int i = 0; i < 200000; ++i) {
        float x = unit(random);
        float tiny = std::ldexp(unit(random), -20);
        EXPECT_NEAR(cubeRoot(x), std::cbrt(static_cast<double>(x)), 3e-7 * std::cbrt(x));
        EXPECT_NEAR(cubeRoot(tiny), std::cbrt(static_cast<double>(tiny)), 3e-7 * std::cbrt(tiny));
        float w = 0.007f + x * 0.993f;
        EXPECT_NEAR(fifthRoot(w), std::pow(static_cast<double>(w), 0.2), 3e-7);
        double linear = x <= 0.04045f ? x / 12.92 : std::pow((x + 0.055) / 1.055, 2.4);
        EXPECT_NEAR(srgbToLinear(x), linear, 1e-6 * linear + 1e-12);
    }
    EXPECT_EQ(cubeRoot(0.0f), 0.0f);
    EXPECT_EQ(cubeRoot(-1.0f), 0.0f);
    EXPECT_EQ(srgbToLinear(-0.5f), 0.0f);
    EXPECT_EQ(srgbToLinear(7.0f), srgbToLinear(1.0f));
}

TEST(OKLab, TheByteTableHoldsTheFunctionsBits) {
    const std::array<float, 256>& table = linearOfBytes();
    for (int k = 0; k < 256; ++k) {
        ASSERT_EQ(std::bit_cast<std::uint32_t>(table[k]),
                  std::bit_cast<std::uint32_t>(srgbToLinear(static_cast<float>(k) / 255.0f)));
        if (k > 0) {
            EXPECT_LT(table[k - 1], table[k]);
        }
    }
}

// The documented check values: another implementation of the written-down
// arithmetic gives exactly these bits.
TEST(OKLab, GivesTheDocumentedBits) {
    auto bits = [](float f) { return std::bit_cast<std::uint32_t>(f); };
    OKLab orange = rgbaToOKLab({1.0f, 0.5f, 0.25f, 1});
    OKLab grey = rgbaToOKLab({0.2f, 0.2f, 0.2f, 1});
    EXPECT_EQ(bits(orange.L), 0x3f3bf02au);
    EXPECT_EQ(bits(orange.a), 0x3dfaf9e0u);
    EXPECT_EQ(bits(orange.b), 0x3dfa5614u);
    EXPECT_EQ(bits(grey.L), 0x3ea4663du);
    EXPECT_EQ(bits(srgbToLinear(0.5f)), 0x3e5b2d9bu);
    EXPECT_EQ(bits(cubeRoot(0.5f)), 0x3f4b2ff6u);
}

} // namespace
} // namespace velo
