#include "document/InfluenceEngine.h"

#include "engine/FastInfluenceMap.h"
#include "engine/InfluenceMap.h"

#include <utility>

namespace velo {

void InfluenceEngine::restart(const std::shared_ptr<Bitmap>& source,
                              const AdjustmentEngine::Adjustments& active,
                              AdjustmentEngine::Selection selection) {
    if (!engine_) {
        engine_ = std::make_unique<AdjustmentEngine>(numberOfThreads_, calcInfluenceRangeFast);
        engine_->setStripeObserver(stripeObserver_);
    }
    if (source == source_) {
        engine_->restart(active, std::move(selection));
        return;
    }
    source_ = source;
    bitmap_ = source ? influenceBitmap(*source) : nullptr;
    engine_->replaceImage(source, bitmap_, active, std::move(selection));
}

void InfluenceEngine::waitUntilComplete() {
    if (engine_) {
        engine_->waitUntilComplete();
    }
}

AdjustmentEngine::FinishedStripes InfluenceEngine::takeFinishedStripes() {
    return engine_ ? engine_->takeFinishedStripes() : AdjustmentEngine::FinishedStripes{};
}

void InfluenceEngine::setStripeObserver(std::function<void()> observer) {
    stripeObserver_ = std::move(observer);
    if (engine_) {
        engine_->setStripeObserver(stripeObserver_);
    }
}

void InfluenceEngine::shutdown() {
    if (engine_) {
        engine_->shutdown();
    }
}

} // namespace velo
