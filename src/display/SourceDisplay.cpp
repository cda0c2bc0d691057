#include "display/SourceDisplay.h"

#include "display/BitmapDisplay.h"
#include "display/DisplayColorTransform.h"

#include <utility>

namespace velo {

void SourceDisplay::setDrawnSize(QSize size) {
    if (size != wanted_) {
        wanted_ = size;
        stale_ = true;
    }
}

void SourceDisplay::matchColors(bool on, std::shared_ptr<const IccProfile> screenProfile) {
    matchColors_ = on;
    screenProfile_ = std::move(screenProfile);
    stale_ = true;
}

const QImage& SourceDisplay::image() {
    const std::shared_ptr<Bitmap>& source = document_.sourceBitmap();
    if (stale_ || drawnFrom_.lock() != source) {
        rebuild(source);
    }
    return image_;
}

// As LiveDisplay draws the source: its own profile to the screen's.
void SourceDisplay::rebuild(const std::shared_ptr<Bitmap>& source) {
    stale_ = false;
    drawnFrom_ = source;
    image_ = QImage();
    if (!source) {
        return;
    }
    QSize size = wanted_.boundedTo(QSize(source->pixelsWide(), source->pixelsHigh()));
    if (size.isEmpty()) {
        return;
    }
    image_ = newDisplayImage(size);
    drawRowsInto(image_, *source, 0, image_.height());
    if (!matchColors_) {
        return;
    }
    if (std::shared_ptr<const DisplayColorTransform> transform =
            DisplayColorTransform::between(source->iccProfile().get(), screenProfile_.get())) {
        transform->apply(image_, 0, image_.height());
    }
}

} // namespace velo
