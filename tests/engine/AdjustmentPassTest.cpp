#include "engine/AdjustmentPass.h"
#include "color/PixelAccess.h"

#include <gtest/gtest.h>

#include <vector>

namespace velo {
namespace {

struct Layout {
    int samples;
    bool planar;
};

std::string layoutName(const ::testing::TestParamInfo<Layout>& info) {
    return std::to_string(info.param.samples) + (info.param.planar ? "Planar" : "Meshed");
}

std::shared_ptr<Bitmap> makeBitmap(Layout layout, int wide, int high) {
    bool alpha = layout.samples == 2 || layout.samples == 4;
    return std::make_shared<Bitmap>(wide, high, layout.samples, alpha, layout.planar,
                                    kDeviceRGBColorSpace);
}

// Sample k of the pixel in buffer row `row`, column `column`, whatever the layout.
std::uint8_t& sample(Bitmap& b, int column, int row, int k) {
    std::size_t rowStart = static_cast<std::size_t>(row) * b.bytesPerRow();
    if (b.isPlanar()) {
        return b.plane(k)[rowStart + column];
    }
    return b.plane(0)[rowStart + static_cast<std::size_t>(column) * b.samplesPerPixel() + k];
}

std::vector<int> pixel(Bitmap& b, int column = 0, int row = 0) {
    std::vector<int> out;
    for (int k = 0; k < b.samplesPerPixel(); ++k) {
        out.push_back(sample(b, column, row, k));
    }
    return out;
}

ColorAdjustment adjustment(ColorRef source, ColorRef target, bool hsb = false) {
    ColorAdjustment a;
    a.setSourceColor(std::move(source));
    a.setTargetColor(std::move(target));
    a.setUsesHSB(hsb);
    return a;
}

class ColourPass : public ::testing::TestWithParam<Layout> {
  protected:
    // Runs the pass on one opaque pixel and gives its stored RGB(A) bytes.
    std::vector<int> run(std::vector<std::uint8_t> rgb, const std::vector<ColorAdjustment>& list) {
        auto source = makeBitmap(GetParam(), 1, 1);
        for (int k = 0; k < 3; ++k) {
            sample(*source, 0, 0, k) = rgb[k];
        }
        if (GetParam().samples == 4) {
            sample(*source, 0, 0, 3) = 255;
        }
        auto destination = makeBitmap(GetParam(), 1, 1);
        calcRange({0, 1}, source.get(), destination.get(), list);
        return pixel(*destination);
    }

    std::vector<int> expect(std::vector<int> rgb) {
        if (GetParam().samples == 4) {
            rgb.push_back(255);
        }
        return rgb;
    }
};

TEST_P(ColourPass, OneAdjustmentMovesNearAndFarPixelsFully) {
    std::vector<ColorAdjustment> redToBlue{adjustment(Color::redColor(), Color::blueColor())};
    EXPECT_EQ(run({255, 0, 0}, redToBlue), expect({0, 0, 255}));
    // (0.5, 0.2, 0.2) becomes (-0.5, 0.2, 1.2) before clamping.
    EXPECT_EQ(run({127, 51, 51}, redToBlue), expect({0, 51, 255}));

    std::vector<ColorAdjustment> greyToPink{
        adjustment(Color::colorWithCalibratedRed(0.5f, 0.5f, 0.5f, 1),
                   Color::colorWithCalibratedRed(0.6f, 0.5f, 0.5f, 1))};
    // The source (0.5, 0.5, 0.5) is no byte; 127 is near enough to follow fully.
    EXPECT_EQ(run({127, 127, 127}, greyToPink), expect({152, 127, 127}));
}

TEST_P(ColourPass, HsbAdjustmentMovesHueThroughTheProbe) {
    std::vector<ColorAdjustment> list{adjustment(Color::redColor(), Color::blueColor(), true)};
    EXPECT_EQ(run({255, 0, 0}, list), expect({0, 109, 255}));
}

TEST_P(ColourPass, AColourlessAdjustmentStillDilutesTheOthers) {
    std::vector<ColorAdjustment> list{adjustment(Color::redColor(), Color::blueColor()),
                                      ColorAdjustment()};
    EXPECT_EQ(run({255, 0, 0}, list), expect({0, 0, 254}));
}

TEST_P(ColourPass, RgbMovesComeFirstThenOneSwitchToHsb) {
    std::vector<ColorAdjustment> list{adjustment(Color::redColor(), Color::blueColor(), true),
                                      adjustment(Color::redColor(), Color::blueColor(), false)};
    EXPECT_EQ(run({255, 0, 0}, list), expect({0, 31, 127}));
}

TEST_P(ColourPass, ReachLimitsWhatAnAdjustmentMoves) {
    ColorAdjustment redToBlue = adjustment(Color::redColor(), Color::blueColor());
    redToBlue.setReach(Reach::ball(0.16f));
    EXPECT_EQ(run({255, 0, 0}, {redToBlue}), expect({0, 0, 255}));
    EXPECT_EQ(run({0, 255, 0}, {redToBlue}), expect({0, 255, 0}));
    // About 0.106 from red in OKLab: past half the reach, part of the way.
    std::vector<int> partial = run({200, 40, 40}, {redToBlue});
    EXPECT_GT(partial[2], 40);
    EXPECT_LT(partial[2], 255);
    EXPECT_GT(partial[0], 0);
    // Beyond the reach an HSB anchor without a reach, which moves nothing,
    // leaves the pixel exactly as it was read.
    ColorAdjustment anchor = adjustment(Color::greenColor(), Color::greenColor(), true);
    redToBlue.setUsesHSB(true);
    for (std::uint8_t level = 0; level < 250; level += 7) {
        std::vector<std::uint8_t> rgb{static_cast<std::uint8_t>(level / 5),
                                      static_cast<std::uint8_t>(255 - level / 3),
                                      static_cast<std::uint8_t>(60 + level / 2)};
        EXPECT_EQ(run(rgb, {redToBlue, anchor}), expect({rgb[0], rgb[1], rgb[2]}));
    }
}

TEST_P(ColourPass, NoAdjustmentsCopiesThePixels) {
    EXPECT_EQ(run({51, 102, 153}, {}), expect({51, 102, 153}));
}

INSTANTIATE_TEST_SUITE_P(Layouts, ColourPass,
                         ::testing::Values(Layout{3, false}, Layout{3, true}, Layout{4, false},
                                           Layout{4, true}),
                         layoutName);

class AnyLayoutPass : public ::testing::TestWithParam<Layout> {};

TEST_P(AnyLayoutPass, RangesCountFromTheBottomAndStopAtTheTop) {
    auto source = makeBitmap(GetParam(), 2, 4);
    for (int row = 0; row < 4; ++row) {
        for (int k = 0; k < GetParam().samples; ++k) {
            sample(*source, 0, row, k) = sample(*source, 1, row, k) = 40 + 40 * row;
        }
    }
    auto destination = makeBitmap(GetParam(), 2, 4);
    calcRange({0, 1}, source.get(), destination.get(), {});
    EXPECT_EQ(pixel(*destination, 1, 3), pixel(*source, 1, 3)); // line 0 is the bottom row
    EXPECT_EQ(pixel(*destination, 1, 2), std::vector<int>(GetParam().samples, 0));

    calcRange({3, 100}, source.get(), destination.get(), {});
    EXPECT_EQ(pixel(*destination, 0, 0), pixel(*source, 0, 0));
    auto untouched = makeBitmap(GetParam(), 2, 4);
    calcRange({4, 10}, source.get(), untouched.get(), {});
    calcRange({0, 0}, source.get(), untouched.get(), {});
    calcRange({0xffffffffu, 2}, source.get(), untouched.get(), {});
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(pixel(*untouched, 0, row), std::vector<int>(GetParam().samples, 0));
    }
}

TEST_P(AnyLayoutPass, GreyAndColourLayoutsStoreWhatTheyHold) {
    auto source = makeBitmap(GetParam(), 1, 1);
    for (int k = 0; k < GetParam().samples; ++k) {
        sample(*source, 0, 0, k) = 200;
    }
    auto destination = makeBitmap(GetParam(), 1, 1);
    std::vector<ColorAdjustment> redToBlue{adjustment(Color::redColor(), Color::blueColor())};
    calcRange({0, 1}, source.get(), destination.get(), redToBlue);
    // Grey 200 (0.784) loses the full red difference: red 0, stored as grey.
    // Colour layouts gain blue. Alpha stays opaque when the source is.
    std::vector<int> expected;
    switch (GetParam().samples) {
    case 1:
        expected = {0};
        break;
    case 2:
        expected = {0, 200};
        break;
    case 3:
        expected = {0, 200, 255};
        break;
    default:
        expected = {0, 200, 200, 200};
    }
    EXPECT_EQ(pixel(*destination), expected);
}

INSTANTIATE_TEST_SUITE_P(Layouts, AnyLayoutPass,
                         ::testing::Values(Layout{1, false}, Layout{1, true}, Layout{2, false},
                                           Layout{2, true}, Layout{3, false}, Layout{3, true},
                                           Layout{4, false}, Layout{4, true}),
                         layoutName);

TEST(AdjustmentPass, AppliesRgbInOrderThenHsbInReverse) {
    // (R1, H1, R2, H2) must act as R1, R2, H2, H1. Check against moves done by hand.
    auto r1 = adjustment(Color::redColor(), Color::greenColor());
    auto h1 = adjustment(Color::blueColor(), Color::whiteColor(), true);
    auto r2 = adjustment(Color::greenColor(), Color::blueColor());
    auto h2 =
        adjustment(Color::colorWithCalibratedRed(0.2f, 0.7f, 0.4f, 1), Color::redColor(), true);
    Bitmap source(1, 1, 3, false, false, kDeviceRGBColorSpace);
    source.plane(0)[0] = 90;
    source.plane(0)[1] = 160;
    source.plane(0)[2] = 30;
    Bitmap destination(1, 1, 3, false, false, kDeviceRGBColorSpace);
    calcRange({0, 1}, &source, &destination, std::vector<ColorAdjustment>{r1, h1, r2, h2});

    RGBA p = RGBAAtPoint(source, {0, 0});
    HSBA ph = rgba2hsba(p);
    float w[4];
    const ColorAdjustment* order[4] = {&r1, &r2, &h2, &h1};
    float sum = 0;
    for (int i = 0; i < 4; ++i) {
        float d = order[i]->usesHSB() ? order[i]->distanceToHSBA(ph) : order[i]->distanceToRGBA(p);
        w[i] = static_cast<double>(d) < 1e-6 ? 1000000.0f : 1.0f / d;
        sum = w[i] + sum;
    }
    RGBA moved = r2.adjustRGBA(r1.adjustRGBA(p, w[0] / sum), w[1] / sum);
    auto clamp = [](float v) { return v < 0 ? 0.0f : (v < 1 ? v : 1.0f); };
    HSBA h = rgba2hsba({clamp(moved.r), clamp(moved.g), clamp(moved.b), moved.a});
    h = h1.adjustHSBA(h2.adjustHSBA(h, w[2] / sum, 15), w[3] / sum, 15);
    RGBA expected = hsba2rgba({clamp(h.h), clamp(h.s), clamp(h.b), clamp(h.a)});
    Bitmap reference(1, 1, 3, false, false, kDeviceRGBColorSpace);
    setRGBA(reference, expected, {0, 0});
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(destination.plane(0)[k], reference.plane(0)[k]) << k;
    }
}

} // namespace
} // namespace velo
