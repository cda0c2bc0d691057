#include "color/WorkingBitmap.h"

#include <cmath>

namespace velo {

bool isAcceptableBitmap(const ImageRep& rep) {
    if (!rep.isBitmap || (rep.bitsPerSample != 8 && rep.bitsPerSample != 16) ||
        rep.samplesPerPixel > 4) {
        return false;
    }
    if (rep.samplesPerPixel > 3 && !rep.hasAlpha) {
        return false;
    }
    return rep.bitmap != nullptr;
}

namespace {

// Pixel images render at the pixel size of their largest representation, so
// that a deep image loses depth but no resolution; drawings at their size in
// points.
std::shared_ptr<Bitmap> renderedBitmap(const Image& image) {
    long wide = std::lround(image.size.width);
    long high = std::lround(image.size.height);
    for (const ImageRep& rep : image.representations) {
        if (rep.isBitmap && rep.pixelsWide >= 1 && rep.pixelsHigh >= 1 &&
            static_cast<long long>(rep.pixelsWide) * rep.pixelsHigh > 1LL * wide * high) {
            wide = rep.pixelsWide;
            high = rep.pixelsHigh;
        }
    }
    if (!image.renderer || wide < 1 || high < 1 || wide > INT32_MAX || high > INT32_MAX) {
        return nullptr;
    }
    return image.renderer(static_cast<int>(wide), static_cast<int>(high));
}

} // namespace

std::shared_ptr<Bitmap> bitmap(const Image& image) {
    const ImageRep* pick = nullptr;
    for (const ImageRep& rep : image.representations) {
        if (!isAcceptableBitmap(rep)) {
            continue;
        }
        if (!pick || rep.pixelsWide > pick->pixelsWide || rep.pixelsHigh > pick->pixelsHigh) {
            pick = &rep;
        }
    }
    return pick ? pick->bitmap : renderedBitmap(image);
}

std::shared_ptr<Bitmap> alphaAdjustedCopy(const Bitmap& source, bool shouldHaveAlpha) {
    int alphaChange = (shouldHaveAlpha ? 1 : 0) - (source.hasAlpha() ? 1 : 0);
    std::shared_ptr<Bitmap> result;
    if (alphaChange == 0) {
        result = source.copy();
    } else {
        result = std::make_shared<Bitmap>(
            source.pixelsWide(), source.pixelsHigh(), source.samplesPerPixel() + alphaChange,
            shouldHaveAlpha, false, source.colorSpaceName(), 0, 0, source.bitsPerSample());
        result->setSize(source.size());
    }
    result->setOpaque(!shouldHaveAlpha);
    return result;
}

} // namespace velo
