#include "engine/InfluenceMap.h"
#include "color/PixelAccess.h"
#include "engine/AdjustmentShares.h"
#include "engine/FastInfluenceMap.h"
#include "engine/PixelMover.h"
#include "engine/RandomCases.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <thread>

namespace velo {
namespace {

std::vector<ColorAdjustment> randomAdjustments(std::mt19937& random) {
    std::uniform_real_distribution<float> unit(-0.1f, 1.1f);
    auto colour = [&] {
        return Color::colorWithCalibratedRed(unit(random), unit(random), unit(random),
                                             unit(random));
    };
    std::vector<ColorAdjustment> list(random() % 7);
    for (std::size_t i = 0; i < list.size(); ++i) {
        // Now and then the source of an earlier row, so that shares tie.
        list[i].setSourceColor(i > 0 && random() % 4 == 0 ? list[random() % i].sourceColor()
                                                          : colour());
        list[i].setTargetColor(colour());
        list[i].setUsesHSB(random() % 2 == 0);
        list[i].setComponentsMask(static_cast<int>(random() % 16));
    }
    return list;
}

// Checks each share against its inverse distance over the sum of them all,
// and gives the list positions by share, largest first, ties in list order.
std::vector<std::size_t> checkedOrder(std::span<const float> shares, RGBA c,
                                      const std::vector<ColorAdjustment>& list) {
    std::vector<double> weights;
    for (const ColorAdjustment& a : list) {
        float d = a.usesHSB() ? a.distanceToHSBA(rgba2hsba(c)) : a.distanceToRGBA(c);
        weights.push_back(d < 1e-6 ? 1e6 : 1.0 / d);
    }
    double total = std::accumulate(weights.begin(), weights.end(), 0.0);
    for (std::size_t i = 0; i < list.size(); ++i) {
        EXPECT_NEAR(shares[i], weights[i] / total, 1e-5) << i;
    }
    std::vector<std::size_t> order(shares.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](auto a, auto b) { return shares[a] > shares[b]; });
    return order;
}

TEST(InfluenceMap, FollowsThePassFractionsOnRandomImagesAndLists) {
    std::mt19937 random(1607);
    for (int round = 0; round < 400; ++round) {
        auto source =
            std::make_shared<Bitmap>(1 + random() % 40, 1 + random() % 6, 1 + round % 4,
                                     round % 2 == 1, round % 8 >= 4, kDeviceRGBColorSpace);
        for (int k = 0; k < source->numberOfPlanes(); ++k) {
            std::generate_n(source->plane(k), source->bytesPerPlane(), [&] { return random(); });
        }
        auto list = randomAdjustments(random);
        std::vector<std::size_t> selected(random() % 3);
        std::generate(selected.begin(), selected.end(), [&] { return random() % 8; });
        auto influence = influenceBitmap(*source);
        std::fill_n(influence->plane(0), influence->bytesPerPlane(), 7);
        LineRange range{std::uint32_t(random() % 3), std::uint32_t(random() % 6)};
        calcInfluenceRange(range, source.get(), influence.get(), list, selected);

        PixelMover mover(list);
        for (int y = 0; y < source->pixelsHigh(); ++y) {
            for (int x = 0; x < source->pixelsWide(); ++x) {
                SCOPED_TRACE(testing::Message() << round << " at " << x << "," << y);
                RGBA c = RGBAAtPoint(*source, {float(x), float(y)});
                std::span<const float> shares = mover.shares(c);
                std::vector<std::size_t> order = checkedOrder(shares, c, list);
                std::vector<AdjustmentShare> top;
                for (std::size_t k = 0; k < std::min<std::size_t>(3, order.size()); ++k) {
                    top.push_back({order[k], shares[order[k]]});
                }
                EXPECT_EQ(sharesUnderPointer(c, list), top);

                RGBA shown = list.empty() ? c : list[order[0]].targetRGBA();
                if (!selected.empty()) {
                    float sum = 0;
                    for (std::size_t i = 0; i < list.size(); ++i) {
                        sum += std::count(selected.begin(), selected.end(), i) ? shares[i] : 0.0f;
                    }
                    shown = {sum, sum, sum};
                }
                auto byte = [](float v) { return int(nearestByte(v)); };
                std::vector expected{byte(shown.r), byte(shown.g), byte(shown.b)};
                if (y < int(range.location) || y >= int(range.end())) {
                    expected = {7, 7, 7};
                }
                std::uint8_t* stored = influence->plane(0) +
                                       (source->pixelsHigh() - 1 - y) * influence->bytesPerRow() +
                                       3 * x;
                ASSERT_EQ(std::vector<int>(stored, stored + 3), expected);
            }
        }
    }
}

// Rows that match alike tie for the largest share: some rows take an earlier
// row's source, model, mask and reach (their targets differ).
void addTies(std::mt19937& random, std::vector<ColorAdjustment>& list) {
    for (std::size_t i = 1; i < list.size(); ++i) {
        if (random() % 4 == 0) {
            const ColorAdjustment& earlier = list[random() % i];
            list[i].setSourceColor(earlier.sourceColor());
            list[i].setColorModel(earlier.colorModel());
            list[i].setComponentsMask(earlier.componentsMask());
            list[i].setReach(earlier.reach());
        }
    }
}

// Half the time none (the owners), else positions within and past the list,
// now and then one twice.
std::vector<std::size_t> randomSelection(std::mt19937& random, std::size_t listSize) {
    std::vector<std::size_t> selected(random() % 2 == 0 ? 0 : 1 + random() % 3);
    std::generate(selected.begin(), selected.end(), [&] { return random() % (listSize + 2); });
    return selected;
}

std::shared_ptr<Bitmap> filledMap(const Bitmap& source) {
    auto map = influenceBitmap(source);
    std::fill_n(map->plane(0), map->bytesPerPlane(), 7);
    return map;
}

void expectSameMap(const Bitmap& source, const std::vector<ColorAdjustment>& list,
                   const std::vector<std::size_t>& selected, LineRange range) {
    auto reference = filledMap(source);
    auto fast = filledMap(source);
    calcInfluenceRange(range, &source, reference.get(), list, selected);
    calcInfluenceRangeFast(range, &source, fast.get(), list, selected);
    ASSERT_TRUE(test::bytesOf(*reference) == test::bytesOf(*fast))
        << source.pixelsWide() << "x" << source.pixelsHigh() << ", " << source.samplesPerPixel()
        << " samples of " << source.bitsPerSample() << " bits, " << list.size() << " adjustments, "
        << selected.size() << " selected";
}

TEST(InfluenceMap, FastEqualsTheReferenceOnRandomCases) {
    std::mt19937 random(20261210);
    for (int round = 0; round < 1600; ++round) {
        int samples = 1 + round % 4;
        int wide = 1 + static_cast<int>(random() % 300);
        int high = 1 + static_cast<int>(random() % 4);
        auto source = round % 8 < 4 ? test::randomBitmap(random, wide, high, samples)
                                    : test::randomDeepBitmap(random, wide, high, samples);
        ASSERT_TRUE(hasFastInfluencePath(*source, *influenceBitmap(*source)));
        auto list = test::randomAdjustments(random, static_cast<int>(random() % 13));
        addTies(random, list);
        LineRange range{static_cast<std::uint32_t>(random() % 2),
                        static_cast<std::uint32_t>(random() % 6)};
        expectSameMap(*source, list, randomSelection(random, list.size()), range);
        if (HasFatalFailure()) {
            return;
        }
    }
}

// Workers fill disjoint ranges: any split gives the single call's bytes.
TEST(InfluenceMap, FastGivesTheSameBytesOnAnyNumberOfThreads) {
    std::mt19937 random(12);
    auto source = test::randomBitmap(random, 1500, 300, 4);
    auto list = test::randomAdjustments(random, 12);
    addTies(random, list);
    for (const std::vector<std::size_t>& selected :
         {std::vector<std::size_t>{}, std::vector<std::size_t>{0, 3, 11}}) {
        expectSameMap(*source, list, selected, {0, 300});
        auto whole = filledMap(*source);
        calcInfluenceRangeFast({0, 300}, source.get(), whole.get(), list, selected);
        auto split = filledMap(*source);
        std::vector<std::thread> workers;
        for (std::uint32_t start = 0; start < 300; start += 70) {
            workers.emplace_back([&, start] {
                calcInfluenceRangeFast({start, 70}, source.get(), split.get(), list, selected);
            });
        }
        for (std::thread& worker : workers) {
            worker.join();
        }
        EXPECT_TRUE(test::bytesOf(*whole) == test::bytesOf(*split));
    }
}

TEST(InfluenceMap, FastTakesTheReferenceWayForOtherLayouts) {
    std::mt19937 random(3);
    Bitmap planar(37, 3, 4, true, true, kDeviceRGBColorSpace);
    std::generate_n(planar.plane(2), planar.bytesPerPlane(), [&] { return random(); });
    auto meshed = test::randomBitmap(random, 37, 3, 3);
    Bitmap withAlpha(37, 3, 4, true, false, kDeviceRGBColorSpace);
    EXPECT_FALSE(hasFastInfluencePath(planar, *influenceBitmap(planar)));
    EXPECT_FALSE(hasFastInfluencePath(*meshed, withAlpha));
    expectSameMap(planar, test::randomAdjustments(random, 4), {}, {0, 3});
}

} // namespace
} // namespace velo
