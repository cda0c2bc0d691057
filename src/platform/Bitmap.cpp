#include "platform/Bitmap.h"

#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>

namespace velo {

namespace {

// Bits of one row in one plane.
long long rowBits(int wide, int samples, bool planar, int bitsPerPixel) {
    return static_cast<long long>(wide) * (planar ? bitsPerPixel / samples : bitsPerPixel);
}

void checkLayout(int wide, int high, int samples, bool hasAlpha, bool planar, int bytesPerRow,
                 int bitsPerPixel, int bitsPerSample) {
    if (bitsPerSample != 8 && bitsPerSample != 16) {
        throw std::invalid_argument("a bitmap holds 8-bit or 16-bit samples");
    }
    if (bitsPerSample == 16 && (bytesPerRow % 2 != 0 || bitsPerPixel % 16 != 0)) {
        throw std::invalid_argument("16-bit samples must be aligned");
    }
    if (wide < 0 || high < 0) {
        throw std::invalid_argument("negative bitmap size");
    }
    if (samples < 1 || samples > 4) {
        throw std::invalid_argument("a bitmap holds 1 to 4 samples per pixel");
    }
    if (hasAlpha && samples != 2 && samples != 4) {
        throw std::invalid_argument("only 2 or 4 samples can carry alpha");
    }
    if (samples == 2 && !hasAlpha) {
        throw std::invalid_argument("2 samples are grey and alpha");
    }
    if (bitsPerPixel < bitsPerSample * samples || bitsPerPixel > 255) {
        throw std::invalid_argument("bits per pixel do not fit the samples");
    }
    if (static_cast<long long>(bytesPerRow) * 8 < rowBits(wide, samples, planar, bitsPerPixel)) {
        throw std::invalid_argument("bytes per row too small for the pixels");
    }
}

int defaultBytesPerRow(int wide, int samples, bool planar, int bitsPerPixel) {
    long long bytes = (rowBits(wide, samples, planar, bitsPerPixel) + 7) / 8;
    if (bytes > std::numeric_limits<int>::max()) {
        throw std::invalid_argument("bitmap rows too long");
    }
    return static_cast<int>(bytes);
}

} // namespace

void Bitmap::Free::operator()(std::uint8_t* p) const {
    std::free(p);
}

Bitmap::Bitmap(int pixelsWide, int pixelsHigh, int samplesPerPixel, bool hasAlpha, bool isPlanar,
               std::string colorSpaceName, int bytesPerRow, int bitsPerPixel, int bitsPerSample)
    : pixelsWide_(pixelsWide), pixelsHigh_(pixelsHigh), samplesPerPixel_(samplesPerPixel),
      hasAlpha_(hasAlpha), isPlanar_(isPlanar), colorSpaceName_(std::move(colorSpaceName)),
      bitsPerSample_(bitsPerSample), size_{static_cast<double>(pixelsWide),
                                           static_cast<double>(pixelsHigh)} {
    bitsPerPixel_ = bitsPerPixel != 0 ? bitsPerPixel : bitsPerSample * samplesPerPixel;
    if (pixelsWide >= 0 && samplesPerPixel >= 1 && samplesPerPixel <= 4) {
        bytesPerRow_ = bytesPerRow != 0 ? bytesPerRow
                                        : defaultBytesPerRow(pixelsWide, samplesPerPixel, isPlanar,
                                                             bitsPerPixel_);
    } else {
        bytesPerRow_ = bytesPerRow;
    }
    checkLayout(pixelsWide, pixelsHigh, samplesPerPixel, hasAlpha, isPlanar, bytesPerRow_,
                bitsPerPixel_, bitsPerSample_);
    std::size_t bytes = std::max<std::size_t>(bytesPerPlane(), 1);
    for (int i = 0; i < numberOfPlanes(); ++i) {
        // calloc lets the system hand out zeroed pages lazily for big images.
        planes_[i].reset(static_cast<std::uint8_t*>(std::calloc(bytes, 1)));
        if (!planes_[i]) {
            throw std::bad_alloc();
        }
    }
}

std::shared_ptr<Bitmap> Bitmap::copy() const {
    auto result =
        std::make_shared<Bitmap>(pixelsWide_, pixelsHigh_, samplesPerPixel_, hasAlpha_, isPlanar_,
                                 colorSpaceName_, bytesPerRow_, bitsPerPixel_, bitsPerSample_);
    result->opaque_ = opaque_;
    result->size_ = size_;
    result->iccProfile_ = iccProfile_;
    for (int i = 0; i < numberOfPlanes(); ++i) {
        std::memcpy(result->planes_[i].get(), planes_[i].get(), bytesPerPlane());
    }
    return result;
}

} // namespace velo
