#include "engine/AdjustmentEngine.h"

#include "engine/ChunkHandout.h"
#include "engine/FastPass.h"
#include "platform/ThreadPriority.h"

#include <algorithm>
#include <sched.h>
#include <utility>

namespace velo {

namespace {

constexpr auto kIdleWait = std::chrono::duration<double>(2.0);
constexpr auto kProgressInterval = std::chrono::milliseconds(100);

bool overlaps(LineRange a, LineRange b) {
    return a.location < b.end() && b.location < a.end();
}

LineRange clippedTo(LineRange range, int height) {
    auto end = std::min<std::uint64_t>(range.end(), static_cast<std::uint64_t>(height));
    auto location = std::min<std::uint64_t>(range.location, end);
    return {static_cast<std::uint32_t>(location), static_cast<std::uint32_t>(end - location)};
}

} // namespace

int AdjustmentEngine::processorCount() {
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) != 0) {
        return 2;
    }
    int count = CPU_COUNT(&set);
    return count > 0 ? count : 2;
}

void AdjustmentEngine::recolourChunk(LineRange range, const Bitmap* source, Bitmap* destination,
                                     std::span<const ColorAdjustment> adjustments,
                                     std::span<const std::size_t> /*selection*/) {
    calcRangeFast(range, source, destination, adjustments);
}

AdjustmentEngine::AdjustmentEngine(int numberOfThreads, ChunkPass pass) : pass_(pass) {
    int count = numberOfThreads > 0 ? numberOfThreads : processorCount();
    for (int i = 0; i < count; ++i) {
        threads_.emplace_back([this] { runBackgroundThread(); });
    }
    lock_.lockWhen([this, count] { return numberOfBackgroundThreads_ == count; });
    lock_.unlock();
}

AdjustmentEngine::~AdjustmentEngine() {
    shutdown();
}

std::shared_ptr<const std::vector<ColorAdjustment>>
AdjustmentEngine::copies(const Adjustments& active) {
    // Copies made here, on the main thread, through the adjustment
    // dictionary: workers never see the records the user edits.
    auto list = std::make_shared<std::vector<ColorAdjustment>>();
    list->reserve(active.size());
    for (const auto& adjustment : active) {
        PropertyValue dict = adjustment->pList();
        list->emplace_back(&dict);
    }
    return list;
}

void AdjustmentEngine::replaceImage(std::shared_ptr<Bitmap> source,
                                    std::shared_ptr<Bitmap> destination, const Adjustments& active,
                                    Selection selection) {
    auto adjustments = copies(active);
    auto chosen = std::make_shared<const Selection>(std::move(selection));
    lock_.lock();
    sourceBitmap_ = std::move(source);
    destinationBitmap_ = std::move(destination);
    int height = destinationBitmap_ ? destinationBitmap_->pixelsHigh() : 0;
    int width = destinationBitmap_ ? destinationBitmap_->pixelsWide() : 0;
    needsDistplayRect_ = {0, 0, static_cast<float>(width), static_cast<float>(height)};
    chunkSize_ = chunkSizeForHeight(height);
    startSweep(std::move(adjustments), std::move(chosen));
    lock_.unlockWithCondition(kWorkPending);
}

// Under the lock: every line waits again, for a new sweep.
void AdjustmentEngine::startSweep(std::shared_ptr<const std::vector<ColorAdjustment>> adjustments,
                                  std::shared_ptr<const Selection> selection) {
    adjustments_ = std::move(adjustments);
    selection_ = std::move(selection);
    dirtyLineRange_ = {
        0, destinationBitmap_ ? static_cast<std::uint32_t>(destinationBitmap_->pixelsHigh()) : 0u};
    finishedStripes_.clear();
    ++generation_;
}

void AdjustmentEngine::replaceDestination(std::shared_ptr<Bitmap> destination) {
    lock_.lock();
    destinationBitmap_ = std::move(destination);
    finishedStripes_.clear();
    lock_.unlock();
}

void AdjustmentEngine::restart(const Adjustments& active, Selection selection) {
    auto adjustments = copies(active);
    auto chosen = std::make_shared<const Selection>(std::move(selection));
    lock_.lock();
    startSweep(std::move(adjustments), std::move(chosen));
    lock_.unlockWithCondition(kWorkPending);
}

void AdjustmentEngine::unlockByDirtyRange() {
    lock_.unlockWithCondition(dirtyLineRange_.length == 0 ? kIdle : kWorkPending);
}

// A chunk of an earlier sweep may still be writing these lines of the same
// destination; a new chunk must not write them at the same time, nor before
// it (the older pixels would land last).
bool AdjustmentEngine::isBlockedByStaleChunk(LineRange next) const {
    return std::any_of(chunksInFlight_.begin(), chunksInFlight_.end(), [&](const Chunk& c) {
        return c.destination == destinationBitmap_.get() && overlaps(c.range, next);
    });
}

bool AdjustmentEngine::takeWork(Work& work) {
    int height = sourceBitmap_ ? sourceBitmap_->pixelsHigh() : 0;
    LineRange next{
        dirtyLineRange_.location,
        std::min<std::uint32_t>(static_cast<std::uint32_t>(chunkSize_), dirtyLineRange_.length)};
    if (next.length > 0 && isBlockedByStaleChunk(next)) {
        // The stale chunk's end sets the condition back to pending.
        lock_.unlockWithCondition(kIdle);
        return false;
    }
    work.source = sourceBitmap_;
    work.destination = destinationBitmap_;
    work.adjustments = adjustments_;
    work.selection = selection_;
    LineRange range = takeChunk(dirtyLineRange_, height, chunkSize_);
    work.chunk = {range, generation_, destinationBitmap_.get()};
    chunksInFlight_.push_back(work.chunk);
    unlockByDirtyRange();
    return true;
}

void AdjustmentEngine::finishWork(const Work& work) {
    std::function<void()> observer;
    lock_.lock();
    auto it = std::find_if(chunksInFlight_.begin(), chunksInFlight_.end(), [&](const Chunk& c) {
        return c.generation == work.chunk.generation && c.range == work.chunk.range &&
               c.destination == work.chunk.destination;
    });
    chunksInFlight_.erase(it);
    if (destinationBitmap_ == work.destination && work.destination) {
        Rect stripe{0, static_cast<float>(work.chunk.range.location),
                    static_cast<float>(work.destination->pixelsWide()),
                    static_cast<float>(work.chunk.range.length)};
        needsDistplayRect_ = unionRect(needsDistplayRect_, stripe);
        if (work.chunk.generation == generation_) {
            finishedStripes_.push_back(clippedTo(work.chunk.range, work.destination->pixelsHigh()));
            observer = stripeObserver_;
        }
    }
    unlockByDirtyRange();
    if (observer) {
        observer();
    }
}

void AdjustmentEngine::runBackgroundThread() {
    enterBackgroundPriority();
    lock_.lock();
    ++numberOfBackgroundThreads_;
    lock_.unlock();
    auto ready = [this] {
        return lock_.condition() == kWorkPending || shouldTerminateBackgroundThreads_;
    };
    while (!shouldTerminateBackgroundThreads_) {
        auto deadline = ConditionLock::Clock::now() +
                        std::chrono::duration_cast<ConditionLock::Clock::duration>(kIdleWait);
        if (!lock_.lockWhen(ready, deadline)) {
            continue;
        }
        if (shouldTerminateBackgroundThreads_) {
            lock_.unlock();
            break;
        }
        Work work;
        if (!takeWork(work)) {
            continue;
        }
        pass_(work.chunk.range, work.source.get(), work.destination.get(), *work.adjustments,
              *work.selection);
        finishWork(work);
    }
    lock_.lock();
    --numberOfBackgroundThreads_;
    lock_.unlockWithCondition(numberOfBackgroundThreads_ == 0 ? kWorkersEnded : kWorkPending);
}

AdjustmentEngine::DisplayUpdate AdjustmentEngine::displayTimerFired(bool viewShowsDestination) {
    lock_.lock();
    if (needsDistplayRect_.height < 1.0f || !viewShowsDestination) {
        lock_.unlock();
        return {};
    }
    needsDistplayRect_ = Rect{};
    LineRange dirty = dirtyLineRange_;
    int height = sourceBitmap_ ? sourceBitmap_->pixelsHigh() : 0;
    unlockByDirtyRange();
    DisplayUpdate update;
    update.redraw = true;
    if (dirty.length != 0) {
        update.progress = handedOutShare(dirty, height);
    }
    return update;
}

bool AdjustmentEngine::isComplete() const {
    return dirtyLineRange_.length == 0 &&
           std::none_of(chunksInFlight_.begin(), chunksInFlight_.end(),
                        [&](const Chunk& c) { return c.destination == destinationBitmap_.get(); });
}

void AdjustmentEngine::waitUntilComplete(const std::function<void(float)>& progress) {
    auto done = [this] { return isComplete(); };
    while (!lock_.lockWhen(done, ConditionLock::Clock::now() + kProgressInterval)) {
        if (progress) {
            lock_.lock();
            int height = destinationBitmap_ ? destinationBitmap_->pixelsHigh() : 0;
            float share = height > 0 ? static_cast<float>(dirtyLineRange_.location) / height : 1;
            lock_.unlock();
            progress(share);
        }
    }
    lock_.unlock();
    if (progress) {
        progress(1.0f);
    }
}

bool AdjustmentEngine::isResultComplete() {
    std::lock_guard guard(lock_);
    return isComplete();
}

AdjustmentEngine::FinishedStripes AdjustmentEngine::takeFinishedStripes() {
    std::lock_guard guard(lock_);
    return {destinationBitmap_.get(), std::exchange(finishedStripes_, {})};
}

void AdjustmentEngine::setStripeObserver(std::function<void()> observer) {
    std::lock_guard guard(lock_);
    stripeObserver_ = std::move(observer);
}

void AdjustmentEngine::shutdown() {
    if (threads_.empty()) {
        return;
    }
    shouldTerminateBackgroundThreads_ = true;
    // Wake idle workers at once instead of at the end of their wait.
    lock_.lock();
    lock_.unlock();
    lock_.lockWhenCondition(kWorkersEnded);
    lock_.unlock();
    for (std::thread& thread : threads_) {
        thread.join();
    }
    threads_.clear();
}

int AdjustmentEngine::numberOfBackgroundThreads() {
    std::lock_guard guard(lock_);
    return numberOfBackgroundThreads_;
}

int AdjustmentEngine::chunkSize() {
    std::lock_guard guard(lock_);
    return chunkSize_;
}

LineRange AdjustmentEngine::dirtyLineRange() {
    std::lock_guard guard(lock_);
    return dirtyLineRange_;
}

Rect AdjustmentEngine::needsDistplayRect() {
    std::lock_guard guard(lock_);
    return needsDistplayRect_;
}

} // namespace velo
