#include "imageio/DecodedBitmaps.h"

#include "imageio/ImageMemoryLimit.h"

namespace velo {

std::shared_ptr<Bitmap> newDecodedBitmap(int pixelsWide, int pixelsHigh, int samplesPerPixel) {
    bool hasAlpha = samplesPerPixel == 2 || samplesPerPixel == 4;
    const std::string& space =
        samplesPerPixel <= 2 ? kCalibratedWhiteColorSpace : kDeviceRGBColorSpace;
    return std::make_shared<Bitmap>(pixelsWide, pixelsHigh, samplesPerPixel, hasAlpha, false,
                                    space);
}

Image singleBitmapImage(std::shared_ptr<Bitmap> bitmap) {
    Image image;
    image.size = bitmap->size();
    image.representations.push_back(ImageRep::fromBitmap(std::move(bitmap)));
    return image;
}

bool fitsImageMemoryLimit(long long pixelsWide, long long pixelsHigh) {
    if (pixelsWide < 0 || pixelsHigh < 0) {
        return false;
    }
    return static_cast<unsigned long long>(pixelsWide) *
               static_cast<unsigned long long>(pixelsHigh) * 4 <=
           imageMemoryLimit();
}

} // namespace velo
