#pragma once

#include "document/VeloDocument.h"
#include "platform/IccProfile.h"

#include <QImage>
#include <QSize>
#include <memory>

namespace velo {

// The document's source bitmap as a LiveDisplay draws it when it shows the
// original: the same block averages at the same size, converted to the
// screen's colours the same way, so that it lines up pixel for pixel with the
// live display beside it (the split view's original side, and the original
// while its key is held). The source never changes once made, so its copy is
// made once, when first asked for: most views never show it. Main thread only.
class SourceDisplay {
  public:
    // Reads the document's source from now on; the document outlives it.
    explicit SourceDisplay(const VeloDocument& document) : document_(document) {}

    const std::shared_ptr<Bitmap>& bitmap() const { return document_.sourceBitmap(); }
    // As LiveDisplay's: the size in device pixels the bitmap is drawn at,
    // and whether it is converted to the screen's colours (null: sRGB).
    void setDrawnSize(QSize size);
    void matchColors(bool on, std::shared_ptr<const IccProfile> screenProfile);

    // The source at that size; null without a source or a size.
    const QImage& image();

  private:
    void rebuild(const std::shared_ptr<Bitmap>& source);

    const VeloDocument& document_;
    QSize wanted_;
    bool matchColors_ = true;
    std::shared_ptr<const IccProfile> screenProfile_;
    QImage image_;
    // The source the image was made from; another is drawn anew.
    std::weak_ptr<Bitmap> drawnFrom_;
    bool stale_ = true;
};

} // namespace velo
