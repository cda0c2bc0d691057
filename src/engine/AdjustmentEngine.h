#pragma once

#include "adjust/ColorAdjustment.h"
#include "engine/LineRange.h"
#include "platform/Bitmap.h"
#include "platform/ConditionLock.h"

#include <atomic>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <thread>
#include <vector>

namespace velo {

// Keeps a destination bitmap up to date with its source under a list of
// adjustments: worker threads sweep the image in chunks of lines from the
// bottom up, and any change restarts the sweep. All public operations are
// for the main thread.
class AdjustmentEngine {
  public:
    using Adjustments = std::vector<std::shared_ptr<ColorAdjustment>>;
    // Positions in the active list a sweep singles out (for passes that
    // show a selection; the recolouring ignores them).
    using Selection = std::vector<std::size_t>;
    // What a worker computes for a chunk: the destination's lines in range
    // from the same lines of the source, touching nothing else.
    using ChunkPass = void (*)(LineRange range, const Bitmap* source, Bitmap* destination,
                               std::span<const ColorAdjustment> adjustments,
                               std::span<const std::size_t> selection);
    // The recolouring of the adjusted image (the fast pass).
    static void recolourChunk(LineRange range, const Bitmap* source, Bitmap* destination,
                              std::span<const ColorAdjustment> adjustments,
                              std::span<const std::size_t> selection);

    // What the display tick finds: finished lines to show, and while lines
    // wait, the share of them handed out.
    struct DisplayUpdate {
        bool redraw = false;
        std::optional<float> progress;
    };

    // Lock conditions.
    static constexpr int kWorkPending = 0;
    static constexpr int kIdle = 1;
    static constexpr int kWorkersEnded = 2;

    // Starts numberOfThreads workers (0: one per processor this process may
    // run on), each computing chunks with pass, and returns once all of
    // them run.
    explicit AdjustmentEngine(int numberOfThreads = 0, ChunkPass pass = recolourChunk);
    // Stops and joins the workers.
    ~AdjustmentEngine();
    AdjustmentEngine(const AdjustmentEngine&) = delete;
    AdjustmentEngine& operator=(const AdjustmentEngine&) = delete;

    // Swaps in a new image's bitmaps (either may be null), marks it all for
    // display and restarts with the given adjustments.
    void replaceImage(std::shared_ptr<Bitmap> source, std::shared_ptr<Bitmap> destination,
                      const Adjustments& active, Selection selection = {});
    // Swaps the destination alone (the caller restarts next).
    void replaceDestination(std::shared_ptr<Bitmap> destination);
    // Recomputes every line with the current bitmaps and these adjustments.
    void restart(const Adjustments& active, Selection selection = {});

    // The once-a-second tick: whether to redraw, and the progress.
    DisplayUpdate displayTimerFired(bool viewShowsDestination);

    // Blocks until the destination is complete for the latest restart,
    // reporting the share of lines done (0..1) now and then.
    void waitUntilComplete(const std::function<void(float)>& progress = {});
    // Whether the destination is complete for the latest restart.
    bool isResultComplete();

    // The stripes of the destination finished by the current sweep since the
    // last call. Until the main thread restarts again no worker writes those
    // lines, so it may read them without the lock.
    struct FinishedStripes {
        const Bitmap* destination = nullptr; // the bitmap they belong to
        std::vector<LineRange> stripes;
    };
    FinishedStripes takeFinishedStripes();
    // Called on a worker thread, without the lock, each time a stripe of the
    // current sweep has been finished; it must be cheap and thread-safe.
    void setStripeObserver(std::function<void()> observer);

    // Private copies of adjustments, as the workers compute with them.
    static std::shared_ptr<const std::vector<ColorAdjustment>> copies(const Adjustments& active);

    // Stops the workers and waits for them to end. Idempotent.
    void shutdown();

    int numberOfBackgroundThreads();
    int chunkSize();
    LineRange dirtyLineRange();
    Rect needsDistplayRect(); // "Distplay" is its long-standing name: keep the spelling

    // Workers this process would start: its processors, or 2 if unknown.
    static int processorCount();

  private:
    struct Chunk {
        LineRange range;
        std::uint64_t generation;
        Bitmap* destination;
    };
    struct Work {
        std::shared_ptr<const Bitmap> source;
        std::shared_ptr<Bitmap> destination;
        std::shared_ptr<const std::vector<ColorAdjustment>> adjustments;
        std::shared_ptr<const Selection> selection;
        Chunk chunk;
    };

    void runBackgroundThread();
    bool takeWork(Work& work);
    void finishWork(const Work& work);
    void unlockByDirtyRange();
    bool isBlockedByStaleChunk(LineRange next) const;
    bool isComplete() const;
    void startSweep(std::shared_ptr<const std::vector<ColorAdjustment>> adjustments,
                    std::shared_ptr<const Selection> selection);

    ConditionLock lock_{kIdle};
    std::shared_ptr<const Bitmap> sourceBitmap_;
    std::shared_ptr<Bitmap> destinationBitmap_;
    std::shared_ptr<const std::vector<ColorAdjustment>> adjustments_;
    std::shared_ptr<const Selection> selection_;
    ChunkPass pass_;
    LineRange dirtyLineRange_;
    Rect needsDistplayRect_;
    int chunkSize_ = 100;
    int numberOfBackgroundThreads_ = 0;
    std::uint64_t generation_ = 0;
    std::vector<Chunk> chunksInFlight_;
    std::vector<LineRange> finishedStripes_;
    std::function<void()> stripeObserver_;
    std::atomic<bool> shouldTerminateBackgroundThreads_{false};
    std::vector<std::thread> threads_;
};

} // namespace velo
