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

namespace velo {
namespace {

// Distances and the taper at hand-chosen points: squares and roots of
// binary fractions are exact, so are the expected values.
TEST(ReachTaper, IsOneToHalfTheReachThenFallsSmoothlyToZero) {
    ReachBounds bounds = reachBounds(0.5f);
    EXPECT_SAME_FLOAT(taperAt(0.0f, bounds), 1.0f);
    EXPECT_SAME_FLOAT(taperAt(0.25f * 0.25f, bounds), 1.0f);
    EXPECT_SAME_FLOAT(taperAt(0.375f * 0.375f, bounds), 0.5f);       // u = 0.5
    EXPECT_SAME_FLOAT(taperAt(0.4375f * 0.4375f, bounds), 0.15625f); // u = 0.25
    EXPECT_SAME_FLOAT(taperAt(0.5f * 0.5f, bounds), 0.0f);
    EXPECT_SAME_FLOAT(taperAt(4.0f, bounds), 0.0f);
    // Monotonic and never steeper than twice the straight line's 1 / (R / 2).
    float last = 1.0f;
    for (int i = 0; i <= 1000; ++i) {
        float d = 0.25f + 0.25f * static_cast<float>(i) / 1000.0f;
        float taper = taperAt(d * d, bounds);
        EXPECT_LE(taper, last);
        EXPECT_LE(last - taper, 2.0f * (0.25f / 1000.0f) / 0.25f * 1.001f);
        last = taper;
    }
}

TEST(ReachTaper, MeasuresTheOKLabDistanceFromTheSource) {
    ColorAdjustment a = adjustment(Color::redColor(), Color::blueColor());
    EXPECT_SAME_FLOAT(a.reachTaper(a.sourceOKLab()), 1.0f); // no reach
    a.setReach(Reach::ball(0.5f));
    OKLab s = a.sourceOKLab();
    EXPECT_SAME_FLOAT(a.reachTaper(s), 1.0f);
    EXPECT_SAME_FLOAT(a.reachTaper({s.L, s.a, s.b + 0.6f}), 0.0f);
    EXPECT_GT(a.reachTaper({s.L - 0.3f, s.a, s.b}), 0.0f);
    EXPECT_LT(a.reachTaper({s.L - 0.3f, s.a, s.b}), 1.0f);
}

TEST(OKLabDistance, SplitsLightnessChromaAndHue) {
    ColorAdjustment a = adjustment(Color::redColor(), Color::redColor());
    OKLab s = a.sourceOKLab();
    EXPECT_SAME_FLOAT(a.distanceToOKLab(s, 1), 0.0f);
    // The same lightness and chroma, the hue turned half way round: only
    // the hue differs, by the whole a-b difference.
    OKLab opposite{s.L, -s.a, -s.b};
    float ab = (2 * s.a) * (2 * s.a) + (2 * s.b) * (2 * s.b);
    a.setComponentsMask(kHueBit);
    EXPECT_NEAR(a.distanceToOKLab(opposite, 1), ab, 1e-6f);
    a.setComponentsMask(kSaturationBit | kBrightnessBit);
    EXPECT_NEAR(a.distanceToOKLab(opposite, 1), 0.0f, 1e-7f);
    // Lightness alone, scaled by the pixel's alpha, and alpha beside it.
    a.setComponentsMask(kBrightnessBit);
    EXPECT_SAME_FLOAT(a.distanceToOKLab({s.L - 0.5f, s.a, s.b}, 0.5f), 0.125f);
    a.setComponentsMask(kBrightnessBit | kAlphaBit);
    EXPECT_SAME_FLOAT(a.distanceToOKLab({s.L - 0.5f, s.a, s.b}, 0.5f), (0.125f + 0.25f) / 2);
    a.setComponentsMask(0);
    EXPECT_SAME_FLOAT(a.distanceToOKLab(opposite, 1), 1.0f);
}

} // namespace
} // namespace velo
