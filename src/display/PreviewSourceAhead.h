#pragma once

#include "platform/Bitmap.h"
#include "platform/LatestJobWorker.h"

#include <QSize>
#include <memory>
#include <mutex>

namespace velo {

// The reduced copy of the source that drag previews compute from, made on a
// thread of its own as soon as the display knows its size, so that the first
// frame of a drag does not reduce the whole source (about 30 ms at 20
// megapixels). Only the latest size asked for is made.
class PreviewSourceAhead {
  public:
    // Starts making the copy of source at size (the source never changes
    // once made, so reading it beside the workers is safe).
    void request(std::shared_ptr<const Bitmap> source, QSize size);
    // The copy of source at size: at once when made, after the rest of its
    // making when it is the one asked for last; null otherwise.
    std::shared_ptr<const Bitmap> take(const Bitmap& source, QSize size);

  private:
    struct Key {
        std::weak_ptr<const Bitmap> source;
        QSize size;
        bool is(const Bitmap& bitmap, QSize other) const {
            return source.lock().get() == &bitmap && size == other;
        }
    };
    std::shared_ptr<const Bitmap> made(const Bitmap& source, QSize size);

    std::mutex mutex_;
    Key asked_;
    Key madeKey_;
    std::shared_ptr<const Bitmap> made_;
    LatestJobWorker worker_; // last: it ends, having run what waits, first
};

} // namespace velo
