#pragma once

#include "platform/Bitmap.h"
#include "platform/Image.h"

#include <cstdint>
#include <memory>

namespace velo {

// The layouts every decoder gives: 1 to 4 meshed samples of 8 or 16 bits,
// alpha (the last of 2 or 4) premultiplied, grey for 1 or 2 samples and RGB
// otherwise.
std::shared_ptr<Bitmap> newDecodedBitmap(int pixelsWide, int pixelsHigh, int samplesPerPixel,
                                         int bitsPerSample = 8);

// Premultiplies count pixels of samples meshed samples, alpha last, rounding
// as Qt does.
void premultiplyLikeQt(std::uint8_t* pixels, int count, int samples);

// An image of one frame, that bitmap, as large as the bitmap says.
Image singleBitmapImage(std::shared_ptr<Bitmap> bitmap);

// Whether a decoded bitmap of four samples a pixel, of bytesPerSample each,
// stays within imageMemoryLimit().
bool fitsImageMemoryLimit(long long pixelsWide, long long pixelsHigh, int bytesPerSample = 1);

} // namespace velo
