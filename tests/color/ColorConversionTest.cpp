#include "color/ColorRecords.h"
#include "support/Bits.h"

#include <gtest/gtest.h>

namespace velo {
namespace {

struct Primary {
    RGBA rgb;
    float hue;
};

TEST(ColorConversion, PrimariesAndSecondariesHaveExactHuesAndConvertBack) {
    const Primary primaries[] = {
        {{1, 0, 0, 1}, 0.0f},
        {{1, 1, 0, 1}, 0.1666666716337204f},
        {{0, 1, 0, 1}, 0.3333333432674408f},
        {{0, 1, 1, 1}, 0.5f},
        {{0, 0, 1, 1}, 0.6666666865348816f},
        {{1, 0, 1, 1}, 0.8333333134651184f},
    };
    for (const Primary& p : primaries) {
        HSBA hsba = rgba2hsba(p.rgb);
        EXPECT_SAME_HSBA(hsba, p.hue, 1, 1, 1);
        EXPECT_SAME_RGBA(hsba2rgba(hsba), p.rgb.r, p.rgb.g, p.rgb.b, 1);
    }
}

TEST(ColorConversion, GreysHaveNoHueOrSaturation) {
    EXPECT_SAME_HSBA(rgba2hsba({0, 0, 0, 1}), 0, 0, 0, 1);
    EXPECT_SAME_RGBA(hsba2rgba({0, 0, 0, 1}), 0, 0, 0, 1);
    EXPECT_SAME_HSBA(rgba2hsba({1, 1, 1, 1}), 0, 0, 1, 1);
    EXPECT_SAME_HSBA(rgba2hsba({0.5f, 0.5f, 0.5f, 1}), 0, 0, 0.5f, 1);
    EXPECT_SAME_RGBA(hsba2rgba({0, 0, 0.5f, 1}), 0.5f, 0.5f, 0.5f, 1);
    // Below the threshold the hue is ignored.
    EXPECT_SAME_RGBA(hsba2rgba({0.7f, 9e-8f, 0.25f, 0.5f}), 0.25f, 0.25f, 0.25f, 0.5f);
}

TEST(ColorConversion, RedSectorWrapsOnceAndCarriesAlpha) {
    HSBA hsba = rgba2hsba({1, 0, 0.5f, 0.25f});
    EXPECT_SAME_HSBA(hsba, 0.9166666865348816f, 1, 1, 0.25f);
    RGBA back = hsba2rgba(hsba);
    EXPECT_SAME_FLOAT(back.a, 0.25f);
    EXPECT_SAME_FLOAT(back.r, 1.0f);
}

TEST(ColorConversion, SharedMaximumTakesTheEarlierFormula) {
    // Red and green both at the maximum: the red formula (1 - 0) / 1 * 1/6.
    EXPECT_SAME_FLOAT(rgba2hsba({1, 1, 0, 1}).h, (1.0f - 0.0f) / 1.0f * (1.0f / 6.0f));
    // Green and blue share it: the green formula, (b - r) / delta + 2.
    EXPECT_SAME_FLOAT(rgba2hsba({0, 1, 1, 1}).h, ((1.0f - 0.0f) / 1.0f + 2.0f) * (1.0f / 6.0f));
}

TEST(ColorConversion, HueNearAFullTurnCountsAsRed) {
    EXPECT_SAME_RGBA(hsba2rgba({1.0f, 1, 1, 1}), 1, 0, 0, 1);
    EXPECT_SAME_RGBA(hsba2rgba({0.99999994f, 1, 1, 1}), 1, 0, 0, 1);
}

TEST(ColorConversion, OutOfRangeInputsStayDefined) {
    // Not produced by the application, but must not read outside the sector table.
    RGBA high = hsba2rgba({7.0f, 1, 1, 1});
    RGBA low = hsba2rgba({-0.5f, 1, 1, 1});
    EXPECT_SAME_FLOAT(high.r, 1.0f);
    EXPECT_SAME_FLOAT(low.r, 1.0f);
}

} // namespace
} // namespace velo
