#include "platform/SampleDepth.h"

namespace velo {

namespace {

// Sample k of pixel x in row y, of either depth and layout, as 16 bits.
std::uint16_t sample16(const Bitmap& bitmap, int y, int x, int k) {
    const int planeIndex = bitmap.isPlanar() ? k : 0;
    const std::size_t bits = static_cast<std::size_t>(bitmap.bitsPerPixel()) * x;
    std::size_t offset = bitmap.isPlanar() ? bits / (8 * bitmap.samplesPerPixel()) : bits / 8;
    if (!bitmap.isPlanar()) {
        offset += static_cast<std::size_t>(k) * bitmap.bytesPerSample();
    }
    const std::uint8_t* at =
        bitmap.plane(planeIndex) + static_cast<std::size_t>(y) * bitmap.bytesPerRow() + offset;
    if (!bitmap.isDeep()) {
        return widenSample(*at);
    }
    return *reinterpret_cast<const std::uint16_t*>(at);
}

} // namespace

std::shared_ptr<Bitmap> copyWithDepth(const Bitmap& bitmap, int bitsPerSample) {
    auto result = std::make_shared<Bitmap>(bitmap.pixelsWide(), bitmap.pixelsHigh(),
                                           bitmap.samplesPerPixel(), bitmap.hasAlpha(), false,
                                           bitmap.colorSpaceName(), 0, 0, bitsPerSample);
    result->setSize(bitmap.size());
    result->setOpaque(bitmap.isOpaque());
    result->setIccProfile(bitmap.iccProfile());
    const int samples = bitmap.samplesPerPixel();
    for (int y = 0; y < bitmap.pixelsHigh(); ++y) {
        std::uint8_t* narrow =
            result->plane(0) + static_cast<std::size_t>(y) * result->bytesPerRow();
        std::uint16_t* wide = result->isDeep() ? result->samples16(0, y) : nullptr;
        for (int x = 0; x < bitmap.pixelsWide(); ++x) {
            for (int k = 0; k < samples; ++k) {
                std::uint16_t v = sample16(bitmap, y, x, k);
                std::size_t at = static_cast<std::size_t>(x) * samples + k;
                if (wide) {
                    wide[at] = v;
                } else {
                    narrow[at] =
                        bitmap.isDeep() ? narrowSample(v) : static_cast<std::uint8_t>(v >> 8);
                }
            }
        }
    }
    return result;
}

} // namespace velo
