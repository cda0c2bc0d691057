#pragma once

#include "color/ColorRecords.h"
#include "platform/Bitmap.h"
#include "platform/Geometry.h"

#include <cstdint>

namespace velo {

// Byte k as the float nearest to k / 255.0.
inline float byteToFloat(std::uint8_t k) {
    return static_cast<float>(static_cast<double>(k) / 255.0);
}

// v times 255.0 in double, truncated, low 8 bits kept: no rounding, no
// clamping. Values too large for an int (or NaN) store 0 rather than
// invoking undefined behaviour.
inline std::uint8_t floatToByte(float v) {
    double d = static_cast<double>(v) * 255.0;
    if (!(d > -2147483649.0 && d < 2147483648.0)) {
        return 0;
    }
    return static_cast<std::uint8_t>(static_cast<int>(d) & 0xff);
}

// A 16-bit sample k as the float nearest to k / 65535.
inline float sample16ToFloat(std::uint16_t k) {
    return static_cast<float>(k) / 65535.0f;
}

// v times 65535 in single precision, truncated, low 16 bits kept: an unmoved
// sample comes back as itself (a double product would lose a level on half
// of them). Values too large for an int (or NaN) store 0.
inline std::uint16_t floatToSample16(float v) {
    float product = v * 65535.0f;
    if (!(product > -2147483648.0f && product < 2147483648.0f)) {
        return 0;
    }
    return static_cast<std::uint16_t>(static_cast<int>(product) & 0xffff);
}

// v clamped to 0..1 as the nearest byte value, halves up: for colours that
// are shown or picked rather than computed by the pass (a mean, a share).
inline std::uint8_t nearestByte(float v) {
    if (!(v > 0.0f)) {
        return 0;
    }
    return v >= 1.0f ? 255 : static_cast<std::uint8_t>(static_cast<double>(v) * 255.0 + 0.5);
}

// A pixel's column from the left and its row in the buffer, from the top.
struct PixelIndex {
    int x = 0, y = 0;
};

// The pixel a point (origin lower left) falls on, as reads and writes map
// it; false when it falls outside the bitmap.
bool pixelAt(const Bitmap& bitmap, Point point, PixelIndex& index);

// Whether a point falls on a pixel of the bitmap (as reads and writes map it).
bool containsPoint(const Bitmap& bitmap, Point point);

// Reads the pixel at a point (origin lower left) with straight alpha.
// Outside the bitmap it gives (0, 0, 0, 0).
RGBA RGBAAtPoint(const Bitmap& bitmap, Point point);

// Writes one pixel, premultiplying where the bitmap carries alpha. Points
// outside the bitmap are ignored.
void setRGBA(Bitmap& bitmap, RGBA col, Point point);

} // namespace velo
