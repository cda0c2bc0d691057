#include "engine/FastPass.h"
#include "color/OKLab.h"
#include "color/PixelAccess.h"
#include "color/WorkingBitmap.h"
#include "engine/AdjustmentPass.h"
#include "imageio/ImageCodec.h"
#include "support/Corpus.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace velo {
namespace {

// Alpha bytes favour the edges, where the arithmetic branches.
std::uint8_t randomByte(std::mt19937& random, bool isAlpha) {
    if (isAlpha) {
        switch (random() % 5) {
        case 0:
            return 0;
        case 1:
            return 255;
        case 2:
            return static_cast<std::uint8_t>(1 + random() % 3);
        default:
            break;
        }
    }
    return static_cast<std::uint8_t>(random());
}

std::shared_ptr<Bitmap> randomBitmap(std::mt19937& random, int wide, int high, int samples) {
    bool alpha = samples == 2 || samples == 4;
    auto bitmap = std::make_shared<Bitmap>(wide, high, samples, alpha, false, kDeviceRGBColorSpace);
    for (int y = 0; y < high; ++y) {
        std::uint8_t* row = bitmap->plane(0) + static_cast<std::size_t>(y) * bitmap->bytesPerRow();
        for (int x = 0; x < wide * samples; ++x) {
            // Colour samples may exceed their alpha: such pixels land out of range.
            row[x] = randomByte(random, alpha && x % samples == samples - 1);
        }
    }
    return bitmap;
}

ColorRef randomColour(std::mt19937& random) {
    std::uniform_real_distribution<float> unit(-0.1f, 1.1f);
    switch (random() % 6) {
    case 0:
        return nullptr;
    case 1:
        return Color::colorWithCalibratedWhite(unit(random), unit(random));
    case 2: // exactly a byte value, so that pixels meet it
        return Color::colorWithCalibratedRed(byteToFloat(random() % 256),
                                             byteToFloat(random() % 256),
                                             byteToFloat(random() % 256), 1);
    default:
        return Color::colorWithCalibratedRed(unit(random), unit(random), unit(random),
                                             random() % 2 ? 1.0f : unit(random));
    }
}

std::vector<ColorAdjustment> randomAdjustments(std::mt19937& random, int count) {
    std::vector<ColorAdjustment> list(count);
    for (ColorAdjustment& a : list) {
        if (random() % 8 != 0) {
            a.setSourceColor(randomColour(random));
            a.setTargetColor(randomColour(random));
        }
        a.setColorModel(static_cast<ColorModel>(random() % 3));
        a.setComponentsMask(static_cast<int>(random() % 20));
        if (random() % 2 == 0) {
            a.setReach(std::uniform_real_distribution<float>(0.0f, 1.2f)(random));
        }
    }
    return list;
}

std::vector<std::uint8_t> bytesOf(const Bitmap& b) {
    return {b.plane(0), b.plane(0) + b.bytesPerPlane()};
}

// Both passes over the same input must write the same bytes.
void expectSameResult(const Bitmap& source, int destinationSamples,
                      const std::vector<ColorAdjustment>& list, LineRange range) {
    auto reference =
        std::make_shared<Bitmap>(source.pixelsWide(), source.pixelsHigh(), destinationSamples,
                                 destinationSamples % 2 == 0, false, kDeviceRGBColorSpace);
    auto fast = reference->copy();
    ASSERT_TRUE(hasFastPath(source, *fast));
    calcRange(range, &source, reference.get(), list);
    calcRangeFast(range, &source, fast.get(), list);
    ASSERT_TRUE(bytesOf(*reference) == bytesOf(*fast))
        << source.pixelsWide() << "x" << source.pixelsHigh() << ", " << source.samplesPerPixel()
        << " to " << destinationSamples << " samples, " << list.size() << " adjustments";
}

TEST(FastPass, EqualsTheReferenceOnRandomCases) {
    std::mt19937 random(20261207);
    const std::pair<int, int> layouts[] = {{1, 1}, {1, 2}, {2, 2}, {2, 1},
                                           {3, 3}, {3, 4}, {4, 4}, {4, 3}};
    for (int round = 0; round < 2000; ++round) {
        auto [in, out] = layouts[round % 8];
        int wide = 1 + static_cast<int>(random() % 300);
        int high = 1 + static_cast<int>(random() % 4);
        auto source = randomBitmap(random, wide, high, in);
        auto list = randomAdjustments(random, static_cast<int>(random() % 13));
        LineRange range{static_cast<std::uint32_t>(random() % 2),
                        static_cast<std::uint32_t>(random() % 6)};
        expectSameResult(*source, out, list, range);
        if (HasFatalFailure()) {
            return;
        }
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
                a.setReach(std::uniform_real_distribution<float>(0.02f, 0.6f)(random));
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
