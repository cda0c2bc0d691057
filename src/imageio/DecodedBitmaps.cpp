#include "imageio/DecodedBitmaps.h"

#include "imageio/ImageMemoryLimit.h"

namespace velo {

std::shared_ptr<Bitmap> newDecodedBitmap(int pixelsWide, int pixelsHigh, int samplesPerPixel,
                                         int bitsPerSample) {
    bool hasAlpha = samplesPerPixel == 2 || samplesPerPixel == 4;
    const std::string& space =
        samplesPerPixel <= 2 ? kCalibratedWhiteColorSpace : kDeviceRGBColorSpace;
    return std::make_shared<Bitmap>(pixelsWide, pixelsHigh, samplesPerPixel, hasAlpha, false, space,
                                    0, 0, bitsPerSample);
}

void premultiplyLikeQt(std::uint8_t* pixels, int count, int samples) {
    for (int i = 0; i < count; ++i, pixels += samples) {
        unsigned alpha = pixels[samples - 1];
        for (int k = 0; k < samples - 1; ++k) {
            unsigned t = pixels[k] * alpha;
            pixels[k] = static_cast<std::uint8_t>((t + (t >> 8) + 0x80) >> 8);
        }
    }
}

Image singleBitmapImage(std::shared_ptr<Bitmap> bitmap) {
    Image image;
    image.size = bitmap->size();
    image.representations.push_back(ImageRep::fromBitmap(std::move(bitmap)));
    return image;
}

bool fitsImageMemoryLimit(long long pixelsWide, long long pixelsHigh, int bytesPerSample) {
    if (pixelsWide < 0 || pixelsHigh < 0) {
        return false;
    }
    return static_cast<unsigned long long>(pixelsWide) *
               static_cast<unsigned long long>(pixelsHigh) * 4 *
               static_cast<unsigned long long>(bytesPerSample) <=
           imageMemoryLimit();
}

} // namespace velo
