#include "imageio/StraightRows.h"

#include <cstring>

namespace velo {

namespace {

bool isMeshed(const Bitmap& band) {
    return !band.isPlanar() && band.bitsPerPixel() == 8 * band.samplesPerPixel();
}

// The samples of one row, meshed, whatever the band's layout.
void gather(const Bitmap& band, int y, std::uint8_t* to) {
    int samples = band.samplesPerPixel();
    std::size_t row = static_cast<std::size_t>(y) * band.bytesPerRow();
    std::size_t step = static_cast<std::size_t>(band.bitsPerPixel()) / 8;
    for (int x = 0; x < band.pixelsWide(); ++x) {
        for (int k = 0; k < samples; ++k) {
            to[x * samples + k] =
                band.isPlanar() ? band.plane(k)[row + x] : band.plane(0)[row + x * step + k];
        }
    }
}

} // namespace

StraightRows::StraightRows(int pixelsWide, int samplesPerPixel)
    : wide_(pixelsWide), samples_(samplesPerPixel),
      gathered_(static_cast<std::size_t>(pixelsWide) * samplesPerPixel) {
    if (samples_ == 2 || samples_ == 4) {
        premultiplied_ = QImage(wide_, 1, QImage::Format_RGBA8888_Premultiplied);
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
        std::memcpy(rgba, samples, static_cast<std::size_t>(wide_) * 4);
    } else {
        for (int x = 0; x < wide_; ++x) {
            rgba[4 * x] = rgba[4 * x + 1] = rgba[4 * x + 2] = samples[2 * x];
            rgba[4 * x + 3] = samples[2 * x + 1];
        }
    }
    straight_ = premultiplied_.convertToFormat(QImage::Format_RGBA8888);
    if (straight_.isNull()) {
        throw std::bad_alloc();
    }
    return straight_.constScanLine(0);
}

} // namespace velo
