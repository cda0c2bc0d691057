#include "adjust/ColorAdjustment.h"
#include "support/Bits.h"

#include <gtest/gtest.h>

namespace velo {
namespace {

ColorAdjustment adjustment(ColorRef source, ColorRef target, int mask = 15) {
    ColorAdjustment a;
    a.setSourceColor(std::move(source));
    a.setTargetColor(std::move(target));
    a.setComponentsMask(mask);
    return a;
}

TEST(AdjustmentMath, ThePixelAtTheSourceIsAtDistanceZero) {
    ColorRef colour = Color::colorWithCalibratedRed(0.3f, 0.6f, 0.9f, 0.7f);
    for (int mask = 1; mask <= 15; ++mask) {
        ColorAdjustment a = adjustment(colour, Color::blackColor(), mask);
        EXPECT_SAME_FLOAT(a.distanceToHSBA(a.sourceHSBA()), 0.0f);
        EXPECT_SAME_FLOAT(a.distanceToRGBA(a.sourceRGBA()), 0.0f);
    }
    EXPECT_SAME_FLOAT(adjustment(colour, colour, 0).distanceToHSBA({0.1f, 0.2f, 0.3f, 1}), 1.0f);
    EXPECT_SAME_FLOAT(adjustment(colour, colour, 16).distanceToHSBA({0.1f, 0.2f, 0.3f, 1}), 1.0f);
}

TEST(AdjustmentMath, HueGoesTheShortWayAndCountsByTheLesserSaturation) {
    HSBA pixel{0.9f, 0.5f, 0.8f, 1};
    EXPECT_SAME_FLOAT(adjustment(Color::redColor(), Color::redColor(), 15).distanceToHSBA(pixel),
                      0.07312499731779099f);
    EXPECT_SAME_FLOAT(adjustment(Color::redColor(), Color::redColor(), 1).distanceToHSBA(pixel),
                      0.002500001108273864f);
    EXPECT_SAME_FLOAT(adjustment(Color::redColor(), Color::redColor(), 8).distanceToHSBA(pixel),
                      0.0f);
}

TEST(AdjustmentMath, TransparencyScalesTheHsbDistance) {
    ColorAdjustment red = adjustment(Color::redColor(), Color::redColor(), 15);
    EXPECT_SAME_FLOAT(red.distanceToHSBA({0, 1, 1, 0.5f}), 0.0625f);
    EXPECT_SAME_FLOAT(red.distanceToHSBA({0.5f, 1, 1, 0.5f}), 0.09375f);
    ColorAdjustment noAlpha = adjustment(Color::redColor(), Color::redColor(), 7);
    EXPECT_SAME_FLOAT(noAlpha.distanceToHSBA({0.5f, 1, 1, 0}), 0.0f);
}

TEST(AdjustmentMath, RgbDistanceIsScaledByTheSourceAlpha) {
    ColorAdjustment opaque = adjustment(Color::redColor(), Color::redColor());
    EXPECT_SAME_FLOAT(opaque.distanceToRGBA({0, 1, 0, 1}), 0.5f);
    ColorAdjustment clear =
        adjustment(Color::colorWithCalibratedRed(1, 0, 0, 0), Color::redColor());
    EXPECT_SAME_FLOAT(clear.distanceToRGBA({0, 1, 0, 1}), 0.25f);
    EXPECT_SAME_FLOAT(opaque.distanceToColor(Color::greenColor()), 0.5f);
    EXPECT_SAME_FLOAT(opaque.distanceToColor(nullptr), 0.5f);
}

TEST(AdjustmentMath, RedToBlueMovesInBothModels) {
    ColorAdjustment a = adjustment(Color::redColor(), Color::blueColor());
    EXPECT_SAME_RGBA(a.adjustRGBA({1, 0, 0, 1}, 1), 0, 0, 1, 1);
    HSBA moved = a.adjustHSBA({0, 1, 1, 1}, 1, 15);
    EXPECT_SAME_HSBA(moved, 0.5952380895614624f, 1, 1, 1);
    EXPECT_SAME_RGBA(hsba2rgba(moved), 0, 0.4285714626312256f, 1, 1);
    // Components outside the mask stay as they are.
    HSBA hueOnly = a.adjustHSBA({0.25f, 0.4f, 0.3f, 0.2f}, 0.5f, 1);
    EXPECT_SAME_FLOAT(hueOnly.s, 0.4f);
    EXPECT_SAME_FLOAT(hueOnly.b, 0.3f);
    EXPECT_SAME_FLOAT(hueOnly.a, 0.2f);
}

TEST(AdjustmentMath, AProbeLandingOnGreyGivesHueZero) {
    // Moving the red probe (0.5, 0.25, 0.25) by (0, +0.25, +0.25) makes it grey.
    ColorAdjustment a = adjustment(Color::colorWithCalibratedRed(0.25f, 0.25f, 0.25f, 1),
                                   Color::colorWithCalibratedRed(0.25f, 0.5f, 0.5f, 1));
    HSBA moved = a.adjustHSBA({0.0f, 0.5f, 0.5f, 1}, 1, 1);
    EXPECT_SAME_FLOAT(moved.h, 0.0f);
}

} // namespace
} // namespace velo
