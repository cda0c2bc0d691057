#include "engine/AdjustmentEngine.h"
#include "color/WorkingBitmap.h"
#include "engine/AdjustmentPass.h"
#include "engine/InfluenceMap.h"
#include "engine/RandomCases.h"
#include "platform/ThreadPriority.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <random>

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace velo {
namespace {

using Adjustments = AdjustmentEngine::Adjustments;

std::shared_ptr<Bitmap> randomBitmap(std::mt19937& random, int wide, int high, int samples) {
    auto bitmap = std::make_shared<Bitmap>(wide, high, samples, samples == 2 || samples == 4, false,
                                           kDeviceRGBColorSpace);
    for (std::size_t i = 0; i < bitmap->bytesPerPlane(); ++i) {
        bitmap->plane(0)[i] = static_cast<std::uint8_t>(random());
    }
    return bitmap;
}

std::shared_ptr<ColorAdjustment> randomAdjustment(std::mt19937& random) {
    auto colour = [&] {
        std::uniform_real_distribution<float> unit(0, 1);
        return Color::colorWithCalibratedRed(unit(random), unit(random), unit(random),
                                             unit(random) < 0.5f ? 1.0f : unit(random));
    };
    auto a = std::make_shared<ColorAdjustment>();
    a->setSourceColor(colour());
    a->setTargetColor(colour());
    a->setUsesHSB(random() % 2 == 0);
    a->setComponentsMask(static_cast<int>(random() % 16));
    return a;
}

// What the engine must produce: one single-threaded pass over everything.
std::vector<std::uint8_t> referencePixels(const Bitmap& source, const Bitmap& destination,
                                          const Adjustments& active) {
    std::vector<ColorAdjustment> copies;
    for (const auto& a : active) {
        copies.push_back(*a->copy());
    }
    auto expected =
        std::make_shared<Bitmap>(destination.pixelsWide(), destination.pixelsHigh(),
                                 destination.samplesPerPixel(), destination.hasAlpha(), false,
                                 destination.colorSpaceName(), 0, 0, destination.bitsPerSample());
    calcRange({0, static_cast<std::uint32_t>(source.pixelsHigh())}, &source, expected.get(),
              copies);
    return {expected->plane(0), expected->plane(0) + expected->bytesPerPlane()};
}

std::vector<std::uint8_t> pixelsOf(const Bitmap& bitmap) {
    return {bitmap.plane(0), bitmap.plane(0) + bitmap.bytesPerPlane()};
}

TEST(AdjustmentEngine, StartsTheRequestedNumberOfWorkers) {
    AdjustmentEngine four(4);
    EXPECT_EQ(four.numberOfBackgroundThreads(), 4);
    AdjustmentEngine automatic;
    EXPECT_EQ(automatic.numberOfBackgroundThreads(), AdjustmentEngine::processorCount());
    four.shutdown();
    EXPECT_EQ(four.numberOfBackgroundThreads(), 0);
}

TEST(AdjustmentEngine, ASweepEqualsTheReferencePass) {
    std::mt19937 random(7);
    AdjustmentEngine engine(3);
    auto source = randomBitmap(random, 97, 233, 4);
    auto destination = source->copy();
    Adjustments active{randomAdjustment(random), randomAdjustment(random),
                       randomAdjustment(random)};
    engine.replaceImage(source, destination, active);
    EXPECT_EQ(engine.chunkSize(), 24);
    float lastProgress = -1;
    engine.waitUntilComplete([&](float p) { lastProgress = p; });
    EXPECT_EQ(lastProgress, 1.0f);
    EXPECT_EQ(pixelsOf(*destination), referencePixels(*source, *destination, active));
    EXPECT_EQ(engine.dirtyLineRange(), (LineRange{233, 0}));
}

// However many workers share a 16-bit image, the bytes are the reference's.
TEST(AdjustmentEngine, A16BitSweepEqualsTheReferenceOnAnyNumberOfThreads) {
    std::mt19937 random(16);
    auto source = test::randomDeepBitmap(random, 131, 177, 4);
    Adjustments active{randomAdjustment(random), randomAdjustment(random)};
    active[0]->setReach(Reach::ball(0.4f));
    for (int threads : {1, 2, 5}) {
        AdjustmentEngine engine(threads);
        auto destination = alphaAdjustedCopy(*source, true);
        engine.replaceImage(source, destination, active);
        engine.waitUntilComplete();
        EXPECT_EQ(pixelsOf(*destination), referencePixels(*source, *destination, active))
            << threads << " threads";
    }
}

// The nice value of the thread that computed the last chunk.
std::atomic<int> workerNice{0};
void recordingPass(LineRange, const Bitmap*, Bitmap*, std::span<const ColorAdjustment>,
                   std::span<const std::size_t>) {
    workerNice = getpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)));
}

// Workers give way to the window's thread only in a program with windows.
TEST(AdjustmentEngine, WorkersYieldOnlyWhereBackgroundThreadsAreToldTo) {
    std::mt19937 random(3);
    const int own = getpriority(PRIO_PROCESS, 0);
    for (bool yield : {true, false}) {
        setBackgroundThreadsYield(yield);
        AdjustmentEngine engine(1, recordingPass);
        auto source = randomBitmap(random, 8, 8, 3);
        engine.replaceImage(source, source->copy(), {});
        engine.waitUntilComplete();
        EXPECT_EQ(workerNice.load(), yield ? std::min(own + 10, 19) : own);
    }
}

TEST(AdjustmentEngine, StaysExactUnderRandomChangesWhileWorking) {
    std::mt19937 random(2024);
    for (int threads : {1, 2, 5}) {
        AdjustmentEngine engine(threads);
        auto source = randomBitmap(random, 61, 157, 4);
        auto destination = source->copy();
        Adjustments active{randomAdjustment(random)};
        engine.replaceImage(source, destination, active);
        for (int change = 0; change < 60; ++change) {
            switch (random() % 5) {
            case 0: // a new image
                source =
                    randomBitmap(random, 20 + random() % 60, 20 + random() % 150, 3 + random() % 2);
                destination = source->copy();
                engine.replaceImage(source, destination, active);
                break;
            case 1: // transparency switched
                destination = alphaAdjustedCopy(*source, !destination->hasAlpha());
                engine.replaceDestination(destination);
                engine.restart(active);
                break;
            case 2: // an adjustment added or removed
                if (active.size() < 12 && random() % 2 == 0) {
                    active.push_back(randomAdjustment(random));
                } else if (!active.empty()) {
                    active.erase(active.begin() + random() % active.size());
                }
                engine.restart(active);
                break;
            case 3: // an adjustment edited
                if (!active.empty()) {
                    active[random() % active.size()]->setUsesHSB(random() % 2 == 0);
                }
                engine.restart(active);
                break;
            default:
                engine.restart(active);
            }
            if (random() % 4 == 0) {
                std::this_thread::sleep_for(std::chrono::microseconds(random() % 3000));
            }
        }
        engine.waitUntilComplete();
        EXPECT_EQ(pixelsOf(*destination), referencePixels(*source, *destination, active))
            << threads << " threads";
    }
}

// The same engine sweeps the influence map with its selection: the last
// restart's selection wins over those it interrupted.
TEST(AdjustmentEngine, AnInfluenceSweepEqualsTheMapOfItsLastSelection) {
    std::mt19937 random(11);
    AdjustmentEngine engine(3, calcInfluenceRange);
    auto source = randomBitmap(random, 83, 191, 4);
    auto map = influenceBitmap(*source);
    Adjustments active{randomAdjustment(random), randomAdjustment(random), randomAdjustment(random),
                       randomAdjustment(random)};
    engine.replaceImage(source, map, active, {1});
    AdjustmentEngine::Selection last;
    for (int change = 0; change < 20; ++change) {
        last.clear();
        for (std::size_t i = 0; i < active.size(); ++i) {
            if (random() % 2 == 0) {
                last.push_back(i);
            }
        }
        engine.restart(active, last);
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 2000));
    }
    engine.waitUntilComplete();
    auto copies = AdjustmentEngine::copies(active);
    auto expected = influenceBitmap(*source);
    calcInfluenceRange({0, static_cast<std::uint32_t>(source->pixelsHigh())}, source.get(),
                       expected.get(), *copies, last);
    EXPECT_EQ(pixelsOf(*map), pixelsOf(*expected));
}

TEST(AdjustmentEngine, TheTickRedrawsOnlyTheShownResultAndTellsTheProgress) {
    std::mt19937 random(3);
    AdjustmentEngine engine(2);
    auto source = randomBitmap(random, 30, 40, 3);
    auto destination = source->copy();
    engine.replaceImage(source, destination, {randomAdjustment(random)});
    engine.waitUntilComplete();

    // While the source is shown, nothing changes and the region keeps growing.
    AdjustmentEngine::DisplayUpdate hidden = engine.displayTimerFired(false);
    EXPECT_FALSE(hidden.redraw);
    EXPECT_FALSE(hidden.progress);
    EXPECT_EQ(engine.needsDistplayRect(), (Rect{0, 0, 30, 40}));

    // Complete: finished lines to show, and no progress.
    AdjustmentEngine::DisplayUpdate shown = engine.displayTimerFired(true);
    EXPECT_TRUE(shown.redraw);
    EXPECT_FALSE(shown.progress);
    EXPECT_TRUE(engine.needsDistplayRect().isEmpty());
    EXPECT_FALSE(engine.displayTimerFired(true).redraw);
}

TEST(AdjustmentEngine, ADocumentWithoutImageStaysIdle) {
    AdjustmentEngine engine(2);
    engine.replaceImage(nullptr, nullptr, {});
    engine.restart({});
    engine.waitUntilComplete();
    EXPECT_EQ(engine.dirtyLineRange(), (LineRange{0, 0}));
    EXPECT_EQ(engine.chunkSize(), 10);
}

TEST(AdjustmentEngine, ShutdownWaitsForARunningChunkAndEndsEveryWorker) {
    std::mt19937 random(11);
    auto engine = std::make_unique<AdjustmentEngine>(2);
    auto source = randomBitmap(random, 800, 600, 4);
    Adjustments active;
    for (int i = 0; i < 12; ++i) {
        active.push_back(randomAdjustment(random));
        active.back()->setUsesHSB(true);
    }
    engine->replaceImage(source, source->copy(), active);
    engine->shutdown();
    EXPECT_EQ(engine->numberOfBackgroundThreads(), 0);
    engine.reset(); // a second stop through the destructor is harmless
}

TEST(AdjustmentEngine, ClosingAnIdleEngineDoesNotWaitOutTheIdlePeriod) {
    AdjustmentEngine engine(3);
    auto start = std::chrono::steady_clock::now();
    engine.shutdown();
    // Idle workers wait 2 s at a time; shutdown must wake them, not wait.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1500));
}

} // namespace
} // namespace velo

namespace velo {
namespace {

TEST(AdjustmentEngine, FinishedStripesOfOneSweepCoverTheImageOnceAndAreAnnounced) {
    std::mt19937 random(11);
    AdjustmentEngine engine(3);
    std::atomic<int> announced{0};
    engine.setStripeObserver([&] { ++announced; });
    auto source = randomBitmap(random, 40, 251, 3);
    auto destination = source->copy();
    Adjustments active{randomAdjustment(random)};
    engine.replaceImage(source, destination, active);
    engine.waitUntilComplete();
    for (int sweep = 0; sweep < 2; ++sweep) {
        AdjustmentEngine::FinishedStripes finished = engine.takeFinishedStripes();
        EXPECT_EQ(finished.destination, destination.get());
        std::vector<int> covered(251, 0);
        for (LineRange stripe : finished.stripes) {
            ASSERT_LE(stripe.end(), 251u);
            for (std::uint32_t y = stripe.location; y < stripe.end(); ++y) {
                ++covered[y];
            }
        }
        EXPECT_EQ(std::count(covered.begin(), covered.end(), 1), 251) << "sweep " << sweep;
        // Taken once; a restart begins a new account.
        EXPECT_TRUE(engine.takeFinishedStripes().stripes.empty());
        engine.restart(active);
        engine.waitUntilComplete();
    }
    EXPECT_TRUE(engine.isResultComplete());
    // Announcements follow the report of each stripe: all are in once the
    // workers have ended.
    engine.shutdown();
    EXPECT_EQ(announced.load(), 3 * 10);
}

} // namespace
} // namespace velo
