#include "color/PixelAccess.h"

#include <cstddef>

namespace velo {

namespace {

// Truncation toward zero of a float that may be far outside int's range.
bool truncateToInt(float v, int& out) {
    if (!(v > -2147483648.0f && v < 2147483648.0f)) {
        return false;
    }
    out = static_cast<int>(v);
    return true;
}

} // namespace

bool pixelAt(const Bitmap& bitmap, Point point, PixelIndex& index) {
    if (!truncateToInt(point.x + 0.5f, index.x) ||
        !truncateToInt(static_cast<float>(bitmap.pixelsHigh()) - point.y - 0.5f, index.y)) {
        return false;
    }
    return index.x >= 0 && index.x <= bitmap.pixelsWide() - 1 && index.y >= 0 &&
           index.y <= bitmap.pixelsHigh() - 1;
}

namespace {

// Offset of the pixel's first sample in each plane. Meshed pixels may carry
// bits besides their samples, so the offset goes by bitsPerPixel for reading
// and writing alike: both always address the same bytes.
std::size_t pixelOffset(const Bitmap& bitmap, PixelIndex index) {
    std::size_t row = static_cast<std::size_t>(index.y) * bitmap.bytesPerRow();
    std::size_t bits = static_cast<std::size_t>(bitmap.bitsPerPixel()) * index.x;
    if (bitmap.isPlanar()) {
        return row + bits / (bitmap.samplesPerPixel() * 8);
    }
    return row + bits / 8;
}

// Where sample k of the pixel at a byte offset lies.
template <class AnyBitmap> auto* sampleAddress(AnyBitmap& bitmap, std::size_t offset, int k) {
    return bitmap.isPlanar()
               ? bitmap.plane(k) + offset
               : bitmap.plane(0) + offset + static_cast<std::size_t>(k) * bitmap.bytesPerSample();
}

float sampleAt(const Bitmap& bitmap, std::size_t offset, int k) {
    const std::uint8_t* at = sampleAddress(bitmap, offset, k);
    return bitmap.isDeep() ? sample16ToFloat(*reinterpret_cast<const std::uint16_t*>(at))
                           : byteToFloat(*at);
}

void storeSample(Bitmap& bitmap, std::size_t offset, int k, float v) {
    std::uint8_t* at = sampleAddress(bitmap, offset, k);
    if (bitmap.isDeep()) {
        *reinterpret_cast<std::uint16_t*>(at) = floatToSample16(v);
    } else {
        *at = floatToByte(v);
    }
}

bool isPartialAlpha(float a) {
    double d = a;
    return d > 1e-7 && d < 0.9999999;
}

RGBA premultiplied(RGBA c) {
    if (static_cast<double>(c.a) < 1e-7) {
        return {0, 0, 0, 0};
    }
    if (static_cast<double>(c.a) < 0.9999999) {
        return {c.r * c.a, c.g * c.a, c.b * c.a, c.a};
    }
    return c;
}

} // namespace

bool containsPoint(const Bitmap& bitmap, Point point) {
    PixelIndex index;
    return pixelAt(bitmap, point, index);
}

RGBA RGBAAtPoint(const Bitmap& bitmap, Point point) {
    PixelIndex index;
    if (!pixelAt(bitmap, point, index)) {
        return {0, 0, 0, 0};
    }
    std::size_t offset = pixelOffset(bitmap, index);
    auto sample = [&](int k) { return sampleAt(bitmap, offset, k); };
    switch (bitmap.samplesPerPixel()) {
    case 1: {
        float grey = sample(0);
        return {grey, grey, grey, 1.0f};
    }
    case 2: {
        float grey = sample(0);
        float alpha = sample(1);
        if (isPartialAlpha(alpha)) {
            grey = grey / alpha;
        }
        return {grey, grey, grey, alpha};
    }
    case 3:
        return {sample(0), sample(1), sample(2), 1.0f};
    case 4: {
        RGBA c{sample(0), sample(1), sample(2), sample(3)};
        if (isPartialAlpha(c.a)) {
            c.r = c.r / c.a;
            c.g = c.g / c.a;
            c.b = c.b / c.a;
        }
        return c;
    }
    default:
        return {0, 0, 0, 0};
    }
}

void setRGBA(Bitmap& bitmap, RGBA col, Point point) {
    PixelIndex index;
    if (!pixelAt(bitmap, point, index)) {
        return;
    }
    std::size_t offset = pixelOffset(bitmap, index);
    switch (bitmap.samplesPerPixel()) {
    case 1:
        storeSample(bitmap, offset, 0, col.r);
        break;
    case 2: {
        RGBA c = premultiplied(col);
        storeSample(bitmap, offset, 0, c.r);
        storeSample(bitmap, offset, 1, c.a);
        break;
    }
    case 3:
        storeSample(bitmap, offset, 0, col.r);
        storeSample(bitmap, offset, 1, col.g);
        storeSample(bitmap, offset, 2, col.b);
        break;
    case 4: {
        RGBA c = premultiplied(col);
        storeSample(bitmap, offset, 0, c.r);
        storeSample(bitmap, offset, 1, c.g);
        storeSample(bitmap, offset, 2, c.b);
        storeSample(bitmap, offset, 3, c.a);
        break;
    }
    default:
        break;
    }
}

} // namespace velo
