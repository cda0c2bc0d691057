// The pass per core and on all cores, reference and fast, against the
// machine's memory-copy bandwidth, and the whole engine for a full sweep.
#include "bench/BenchImages.h"
#include "engine/AdjustmentEngine.h"
#include "engine/AdjustmentPass.h"
#include "engine/FastInfluenceMap.h"
#include "engine/FastPass.h"
#include "engine/InfluenceMap.h"
#include "platform/SampleDepth.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <functional>
#include <thread>

namespace velo::bench {

namespace {

using PassFunction = void (*)(LineRange, const Bitmap*, Bitmap*, std::span<const ColorAdjustment>);

// 0: transparent, 1: the photo, 2: the photo at 16 bits per sample.
const std::shared_ptr<Bitmap>& image(int which) {
    static std::shared_ptr<Bitmap> transparent = transparentImage();
    static std::shared_ptr<Bitmap> photo = photoImage();
    if (which == 2) {
        static std::shared_ptr<Bitmap> deep = copyWithDepth(*photo, 16);
        return deep;
    }
    return which == 0 ? transparent : photo;
}

// Runs the pass over `lines` lines split among `threads` threads.
void runSplit(PassFunction pass, const Bitmap& source, Bitmap& destination,
              const std::vector<ColorAdjustment>& set, int lines, int threads) {
    std::vector<std::thread> workers;
    int share = (lines + threads - 1) / threads;
    for (int t = 0; t < threads; ++t) {
        LineRange range{static_cast<std::uint32_t>(t * share), static_cast<std::uint32_t>(share)};
        workers.emplace_back([&, range] { pass(range, &source, &destination, set); });
    }
    for (std::thread& w : workers) {
        w.join();
    }
}

// Args: image (0 transparent, 1 photo), set (a, b, c), fast (0/1), threads.
void Pass(benchmark::State& state) {
    const Bitmap& source = *image(static_cast<int>(state.range(0)));
    char set = static_cast<char>(state.range(1));
    bool fast = state.range(2) != 0;
    int threads = static_cast<int>(state.range(3));
    auto destination = source.copy();
    auto adjustments = adjustmentSet(set);
    // The reference is slow: a band of lines gives the same rate sooner.
    int lines = fast ? source.pixelsHigh() : std::min(source.pixelsHigh(), 256 * threads);
    for (auto _ : state) {
        runSplit(fast ? calcRangeFast : calcRange, source, *destination, adjustments, lines,
                 threads);
    }
    state.SetItemsProcessed(state.iterations() * lines * static_cast<int64_t>(source.pixelsWide()));
    state.counters["threads"] = threads;
}

void Copy(benchmark::State& state) {
    const Bitmap& source = *image(static_cast<int>(state.range(0)));
    auto destination = source.copy();
    for (auto _ : state) {
        std::memcpy(destination->plane(0), source.plane(0), source.bytesPerPlane());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * source.pixelsHigh() *
                            static_cast<int64_t>(source.pixelsWide()));
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(source.bytesPerPlane()));
}

// A full sweep of the engine after a restart: workers, chunks and lock.
void Engine(benchmark::State& state) {
    const auto& source = image(static_cast<int>(state.range(0)));
    auto set = sharedAdjustmentSet(static_cast<char>(state.range(1)));
    int threads = static_cast<int>(state.range(3));
    AdjustmentEngine engine(threads);
    engine.replaceImage(source, source->copy(), set);
    engine.waitUntilComplete();
    for (auto _ : state) {
        engine.restart(set);
        engine.waitUntilComplete();
    }
    state.SetItemsProcessed(state.iterations() * source->pixelsHigh() *
                            static_cast<int64_t>(source->pixelsWide()));
    state.counters["threads"] = threads;
}

// The influence map on one core, as the window's preview recomputes it for
// each edit while the map is shown. Args: set, rows selected (0: the owners),
// fast (0: the per-pixel reference).
void Influence(benchmark::State& state) {
    const Bitmap& source = *image(1);
    auto adjustments = adjustmentSet(static_cast<char>(state.range(0)));
    AdjustmentEngine::Selection selection;
    if (state.range(1) != 0) {
        selection.push_back(0);
    }
    bool fast = state.range(2) != 0;
    auto map = influenceBitmap(source);
    // The reference is slow: a band of lines gives the same rate sooner.
    auto lines = static_cast<std::uint32_t>(fast ? source.pixelsHigh() : 256);
    for (auto _ : state) {
        (fast ? calcInfluenceRangeFast : calcInfluenceRange)({0, lines}, &source, map.get(),
                                                             adjustments, selection);
    }
    state.SetItemsProcessed(state.iterations() * lines * static_cast<int64_t>(source.pixelsWide()));
}

void passArguments(benchmark::internal::Benchmark* b) {
    int all = AdjustmentEngine::processorCount();
    for (int img : {0, 1}) {
        for (char set : {'a', 'b', 'c'}) {
            for (int fast : {0, 1}) {
                for (int threads : {1, all}) {
                    b->Args({img, set, fast, threads});
                }
            }
        }
    }
}

void engineArguments(benchmark::internal::Benchmark* b) {
    int all = AdjustmentEngine::processorCount();
    for (int img : {0, 1}) {
        for (char set : {'a', 'b', 'c'}) {
            for (int threads : {1, all}) {
                b->Args({img, set, 1, threads});
            }
        }
    }
}

} // namespace

BENCHMARK(Pass)->Apply(passArguments)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(0.5);
// Set (a) with a reach of 0.15 on every adjustment, and in the oklab model,
// on the fast path, against set (a) itself.
BENCHMARK(Pass)
    ->ArgsProduct({{0, 1}, {'r', 'o'}, {1}, {1}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(0.5);
// The photo at 8 and at 16 bits per sample, fast, on one core.
BENCHMARK(Pass)
    ->ArgsProduct({{1, 2}, {'a', 'b', 'c'}, {1}, {1}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(0.5)
    ->Name("Pass/depth");
BENCHMARK(Influence)
    ->ArgsProduct({{'a', 'b', 'c'}, {0, 1}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(Copy)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Engine)
    ->Apply(engineArguments)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(0.5);

} // namespace velo::bench

BENCHMARK_MAIN();
