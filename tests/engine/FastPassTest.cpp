#include "engine/FastPass.h"
#include "color/OKLab.h"
#include "color/PixelAccess.h"
#include "color/WorkingBitmap.h"
#include "engine/AdjustmentPass.h"
#include "engine/RandomCases.h"
#include "imageio/ImageCodec.h"
#include "support/Corpus.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace velo {
namespace {

using test::bytesOf;
using test::randomAdjustments;
using test::randomBitmap;
using test::randomDeepBitmap;

// Both passes over the same input must write the same bytes.
void expectSameResult(const Bitmap& source, int destinationSamples,
                      const std::vector<ColorAdjustment>& list, LineRange range) {
    auto reference = std::make_shared<Bitmap>(
        source.pixelsWide(), source.pixelsHigh(), destinationSamples, destinationSamples % 2 == 0,
        false, kDeviceRGBColorSpace, 0, 0, source.bitsPerSample());
    auto fast = reference->copy();
    ASSERT_TRUE(hasFastPath(source, *fast));
    calcRange(range, &source, reference.get(), list);
    calcRangeFast(range, &source, fast.get(), list);
    ASSERT_TRUE(bytesOf(*reference) == bytesOf(*fast))
        << source.pixelsWide() << "x" << source.pixelsHigh() << ", " << source.samplesPerPixel()
        << " to " << destinationSamples << " samples, " << list.size() << " adjustments";
}

TEST(FastPass, EqualsTheReferenceOnRandomCasesAtEitherDepth) {
    std::mt19937 random(20261207);
    const std::pair<int, int> layouts[] = {{1, 1}, {1, 2}, {2, 2}, {2, 1},
                                           {3, 3}, {3, 4}, {4, 4}, {4, 3}};
    for (int round = 0; round < 3000; ++round) {
        auto [in, out] = layouts[round % 8];
        int wide = 1 + static_cast<int>(random() % 300);
        int high = 1 + static_cast<int>(random() % 4);
        auto source = round % 3 == 2 ? randomDeepBitmap(random, wide, high, in)
                                     : randomBitmap(random, wide, high, in);
        auto list = randomAdjustments(random, static_cast<int>(random() % 13));
        LineRange range{static_cast<std::uint32_t>(random() % 2),
                        static_cast<std::uint32_t>(random() % 6)};
        expectSameResult(*source, out, list, range);
        if (HasFatalFailure()) {
            return;
        }
    }
    auto large = randomDeepBitmap(random, 1200, 500, 4);
    expectSameResult(*large, 4, randomAdjustments(random, 7), {0, 500});
}

// Every hue edge: components equal to each other (which one counts as the
// largest), greys, sector boundaries, moved by HSB adjustments that match on
// hue and move it through the probe colour.
TEST(FastPass, EqualsTheReferenceOverACubeOfColoursInHSB) {
    std::mt19937 random(41);
    auto cube = std::make_shared<Bitmap>(512, 128, 3, false, false, kDeviceRGBColorSpace);
    std::uint8_t* sample = cube->plane(0);
    for (int r = 0; r < 64; ++r) {
        for (int g = 0; g < 64; ++g) {
            for (int b = 0; b < 16; ++b) {
                // Blue in coarser steps, with its top value: 0, 17, ..., 255.
                *sample++ = static_cast<std::uint8_t>(r * 255 / 63);
                *sample++ = static_cast<std::uint8_t>(g * 255 / 63);
                *sample++ = static_cast<std::uint8_t>(b * 17);
            }
        }
    }
    for (int round = 0; round < 3; ++round) {
        auto list = randomAdjustments(random, 2 + round * 2);
        for (ColorAdjustment& a : list) {
            a.setColorModel(ColorModel::HSB);
            a.setComponentsMask(a.componentsMask() | kHueBit);
        }
        expectSameResult(*cube, 3, list, {0, 128});
    }
}

TEST(FastPass, EqualsTheReferenceOnALargeImage) {
    // Rare rounding differences (a fused multiply-add, say) only show on many pixels.
    std::mt19937 random(5);
    auto source = randomBitmap(random, 1500, 700, 4);
    for (int count : {1, 5, 12}) {
        expectSameResult(*source, 4, randomAdjustments(random, count), {0, 700});
    }
}

TEST(FastPass, EqualsTheReferenceOnTheSampleImages) {
    VELO_REQUIRE_CORPUS();
    std::mt19937 random(77);
    for (const auto& entry : std::filesystem::directory_iterator(test::corpusDir())) {
        DecodedImage decoded = readImageFile(entry.path());
        if (!decoded.image) {
            continue;
        }
        auto working = bitmap(*decoded.image);
        // Keep the work small: a band of lines from the middle.
        LineRange band{static_cast<std::uint32_t>(working->pixelsHigh() / 2), 40};
        SCOPED_TRACE(entry.path().filename().string());
        expectSameResult(*working, working->samplesPerPixel(), randomAdjustments(random, 5), band);
    }
}

bool beyondEveryReach(const std::vector<ColorAdjustment>& list, RGBA pixel) {
    OKLab lab = rgbaToOKLab(pixel);
    return std::ranges::all_of(list, [&](const ColorAdjustment& a) {
        return !a.moves() || (a.reach() && a.reachTaper(lab) == 0.0f);
    });
}

// Whatever the models, a pixel beyond the reach of every adjustment that
// moves colours gets the bytes it gets with no adjustment at all.
TEST(FastPass, PixelsBeyondEveryReachComeOutAsWithNoAdjustment) {
    std::mt19937 random(31);
    int beyond = 0, within = 0;
    for (int round = 0; round < 80; ++round) {
        int samples = 1 + round % 4;
        auto source = randomBitmap(random, 67, 3, samples);
        auto list = randomAdjustments(random, 1 + static_cast<int>(random() % 6));
        // Only lists with a reach copy pixels: without one, today's bytes.
        for (ColorAdjustment& a : list) {
            if ((a.moves() || &a == &list.front()) && !a.reach()) {
                a.setReach(Reach::ball(std::uniform_real_distribution<float>(0.02f, 0.6f)(random)));
            }
        }
        auto plain =
            std::make_shared<Bitmap>(67, 3, samples, samples % 2 == 0, false, kDeviceRGBColorSpace);
        auto reference = plain->copy();
        auto fast = plain->copy();
        calcRange({0, 3}, source.get(), plain.get(), {});
        calcRange({0, 3}, source.get(), reference.get(), list);
        calcRangeFast({0, 3}, source.get(), fast.get(), list);
        ASSERT_EQ(bytesOf(*reference), bytesOf(*fast));
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < 67; ++x) {
                Point p{static_cast<float>(x), static_cast<float>(y)};
                if (!beyondEveryReach(list, RGBAAtPoint(*source, p))) {
                    ++within;
                    continue;
                }
                ++beyond;
                RGBA expected = RGBAAtPoint(*plain, p);
                RGBA got = RGBAAtPoint(*reference, p);
                ASSERT_TRUE(expected.r == got.r && expected.g == got.g && expected.b == got.b &&
                            expected.a == got.a)
                    << "pixel " << x << "," << y << " of round " << round;
            }
        }
    }
    EXPECT_GT(beyond, 1000);
    EXPECT_GT(within, 1000);
}

TEST(FastPass, OtherLayoutsTakeTheReferenceWay) {
    std::mt19937 random(9);
    Bitmap planar(5, 3, 4, true, true, kDeviceRGBColorSpace);
    Bitmap meshed(5, 3, 4, true, false, kDeviceRGBColorSpace);
    Bitmap padded(5, 3, 3, false, false, kDeviceRGBColorSpace, 0, 32);
    EXPECT_FALSE(hasFastPath(planar, meshed));
    EXPECT_FALSE(hasFastPath(padded, meshed));
    auto list = randomAdjustments(random, 3);
    Bitmap reference(5, 3, 4, true, false, kDeviceRGBColorSpace);
    calcRange({0, 3}, &planar, &reference, list);
    calcRangeFast({0, 3}, &planar, &meshed, list);
    EXPECT_EQ(bytesOf(meshed), bytesOf(reference));
}

} // namespace
} // namespace velo
