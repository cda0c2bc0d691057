#pragma once

#include "platform/Bitmap.h"

#include <QImage>

#include <cstdint>
#include <vector>

namespace velo {

// A bitmap's rows as the image writers take them: meshed, 1 channel for
// grey, 3 for RGB, 4 for anything with alpha (grey with alpha as RGBA),
// alpha undone exactly as Qt undoes it when it writes a file, so that files
// keep the pixels they had when Qt wrote them. 16-bit samples stay 16-bit,
// native-endian.
class StraightRows {
  public:
    StraightRows(int pixelsWide, int samplesPerPixel, int bitsPerSample = 8);

    int channels() const { return samples_ == 1 ? 1 : samples_ == 3 ? 3 : 4; }
    // Row y of the band (of any layout with these samples), valid until the
    // next call.
    const std::uint8_t* row(const Bitmap& band, int y);

  private:
    int wide_;
    int samples_;
    bool deep_;
    std::vector<std::uint8_t> gathered_;
    QImage premultiplied_;
    QImage straight_;
};

} // namespace velo
