#pragma once

#include "document/VeloDocument.h"
#include "engine/AdjustmentPass.h"

#include <random>

namespace velo::test {

// An image of one 8-bit bitmap with random pixels.
inline std::shared_ptr<const Image> randomImage(int wide, int high, int samples, unsigned seed = 1,
                                                int bitsPerSample = 8) {
    std::mt19937 random(seed);
    auto bitmap = std::make_shared<Bitmap>(wide, high, samples, samples == 2 || samples == 4, false,
                                           kDeviceRGBColorSpace, 0, 0, bitsPerSample);
    for (std::size_t i = 0; i < bitmap->bytesPerPlane(); ++i) {
        bitmap->plane(0)[i] = static_cast<std::uint8_t>(random());
    }
    auto image = std::make_shared<Image>();
    image->representations.push_back(ImageRep::fromBitmap(bitmap));
    image->size = {double(wide), double(high)};
    return image;
}

// The document's result as one single-threaded pass computes it.
inline std::vector<std::uint8_t> referenceResult(const VeloDocument& document) {
    const Bitmap& destination = *document.destinationBitmap();
    Bitmap expected(destination.pixelsWide(), destination.pixelsHigh(),
                    destination.samplesPerPixel(), destination.hasAlpha(), false,
                    destination.colorSpaceName(), 0, 0, destination.bitsPerSample());
    std::vector<ColorAdjustment> copies;
    for (const auto& a : document.activeColorAdjustments()) {
        copies.push_back(*a->copy());
    }
    calcRange({0, static_cast<std::uint32_t>(destination.pixelsHigh())},
              document.sourceBitmap().get(), &expected, copies);
    return {expected.plane(0), expected.plane(0) + expected.bytesPerPlane()};
}

inline std::vector<std::uint8_t> resultOf(VeloDocument& document) {
    document.waitUntilComplete();
    const Bitmap& destination = *document.destinationBitmap();
    return {destination.plane(0), destination.plane(0) + destination.bytesPerPlane()};
}

} // namespace velo::test
