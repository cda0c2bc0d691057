#include "imageio/StraightRows.h"

#include <cstring>

namespace velo {

namespace {

bool isMeshed(const Bitmap& band) {
    return !band.isPlanar() && band.bitsPerPixel() == band.bitsPerSample() * band.samplesPerPixel();
}

// The samples of one row, meshed, whatever the band's layout.
void gather(const Bitmap& band, int y, std::uint8_t* to) {
    const int samples = band.samplesPerPixel();
    const std::size_t size = static_cast<std::size_t>(band.bytesPerSample());
    const std::size_t row = static_cast<std::size_t>(y) * band.bytesPerRow();
    const std::size_t step = static_cast<std::size_t>(band.bitsPerPixel()) / 8;
    for (int x = 0; x < band.pixelsWide(); ++x) {
        for (int k = 0; k < samples; ++k) {
            const std::uint8_t* from = band.isPlanar() ? band.plane(k) + row + x * size
                                                       : band.plane(0) + row + x * step + k * size;
            std::memcpy(to + (static_cast<std::size_t>(x) * samples + k) * size, from, size);
        }
    }
}

// Grey and alpha as RGBA of the same sample type.
template <class Sample> void greyAlphaToRgba(const std::uint8_t* from, uchar* to, int wide) {
    const auto* grey = reinterpret_cast<const Sample*>(from);
    auto* rgba = reinterpret_cast<Sample*>(to);
    for (int x = 0; x < wide; ++x) {
        rgba[4 * x] = rgba[4 * x + 1] = rgba[4 * x + 2] = grey[2 * x];
        rgba[4 * x + 3] = grey[2 * x + 1];
    }
}

} // namespace

StraightRows::StraightRows(int pixelsWide, int samplesPerPixel, int bitsPerSample)
    : wide_(pixelsWide), samples_(samplesPerPixel), deep_(bitsPerSample == 16),
      gathered_(static_cast<std::size_t>(pixelsWide) * samplesPerPixel * (deep_ ? 2 : 1)) {
    if (samples_ == 2 || samples_ == 4) {
        premultiplied_ = QImage(wide_, 1,
                                deep_ ? QImage::Format_RGBA64_Premultiplied
                                      : QImage::Format_RGBA8888_Premultiplied);
        if (premultiplied_.isNull()) {
            throw std::bad_alloc();
        }
    }
}

const std::uint8_t* StraightRows::row(const Bitmap& band, int y) {
    const std::uint8_t* samples = band.plane(0) + static_cast<std::size_t>(y) * band.bytesPerRow();
    if (!isMeshed(band)) {
        gather(band, y, gathered_.data());
        samples = gathered_.data();
    }
    if (samples_ == 1 || samples_ == 3) {
        return samples;
    }
    uchar* rgba = premultiplied_.scanLine(0);
    if (samples_ == 4) {
        std::memcpy(rgba, samples, static_cast<std::size_t>(wide_) * 4 * (deep_ ? 2 : 1));
    } else if (deep_) {
        greyAlphaToRgba<std::uint16_t>(samples, rgba, wide_);
    } else {
        greyAlphaToRgba<std::uint8_t>(samples, rgba, wide_);
    }
    straight_ =
        premultiplied_.convertToFormat(deep_ ? QImage::Format_RGBA64 : QImage::Format_RGBA8888);
    if (straight_.isNull()) {
        throw std::bad_alloc();
    }
    return straight_.constScanLine(0);
}

} // namespace velo
