#include "platform/Image.h"

namespace velo {

ImageRep ImageRep::fromBitmap(std::shared_ptr<Bitmap> bitmap) {
    ImageRep rep;
    rep.pixelsWide = bitmap->pixelsWide();
    rep.pixelsHigh = bitmap->pixelsHigh();
    rep.bitsPerSample = bitmap->bitsPerSample();
    rep.samplesPerPixel = bitmap->samplesPerPixel();
    rep.hasAlpha = bitmap->hasAlpha();
    rep.bitmap = std::move(bitmap);
    return rep;
}

} // namespace velo
