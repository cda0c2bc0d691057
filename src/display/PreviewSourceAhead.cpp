#include "display/PreviewSourceAhead.h"

#include "display/BitmapDisplay.h"

namespace velo {

void PreviewSourceAhead::request(std::shared_ptr<const Bitmap> source, QSize size) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (asked_.is(*source, size)) {
            return;
        }
        asked_ = {source, size};
    }
    worker_.post([this, source = std::move(source), size] {
        std::shared_ptr<const Bitmap> copy = reducedCopy(*source, size);
        std::lock_guard<std::mutex> lock(mutex_);
        madeKey_ = {source, size};
        made_ = std::move(copy);
    });
}

std::shared_ptr<const Bitmap> PreviewSourceAhead::made(const Bitmap& source, QSize size) {
    std::lock_guard<std::mutex> lock(mutex_);
    return madeKey_.is(source, size) ? made_ : nullptr;
}

std::shared_ptr<const Bitmap> PreviewSourceAhead::take(const Bitmap& source, QSize size) {
    if (auto copy = made(source, size)) {
        return copy;
    }
    bool asked = false;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        asked = asked_.is(source, size);
    }
    if (!asked) {
        return nullptr;
    }
    // Sooner than making it again here.
    worker_.waitUntilIdle();
    return made(source, size);
}

} // namespace velo
