#pragma once

#include "engine/AdjustmentEngine.h"

#include <functional>
#include <memory>

namespace velo {

// The influence map of a document's source, kept up to date by workers of
// its own, as the adjusted image is by the document's engine. The workers
// start the first time the map is asked for. Main thread only.
class InfluenceEngine {
  public:
    explicit InfluenceEngine(int numberOfThreads) : numberOfThreads_(numberOfThreads) {}

    // Recomputes the map of source (a new map when the source is another)
    // under these adjustments and selection; none without a source.
    void restart(const std::shared_ptr<Bitmap>& source, const AdjustmentEngine::Adjustments& active,
                 AdjustmentEngine::Selection selection);
    const std::shared_ptr<Bitmap>& bitmap() const { return bitmap_; }

    // As the engine's: blocks until the map is complete for the latest
    // restart; the stripes finished since last asked; a worker-thread call
    // after each finished stripe.
    void waitUntilComplete();
    AdjustmentEngine::FinishedStripes takeFinishedStripes();
    void setStripeObserver(std::function<void()> observer);

    // Stops the workers. Idempotent.
    void shutdown();

  private:
    int numberOfThreads_;
    std::unique_ptr<AdjustmentEngine> engine_;
    std::shared_ptr<const Bitmap> source_;
    std::shared_ptr<Bitmap> bitmap_;
    std::function<void()> stripeObserver_;
};

} // namespace velo
