#include "document/AreaSample.h"

#include "color/PixelAccess.h"

#include <algorithm>
#include <cmath>

namespace velo {

namespace {

struct Sums {
    float r = 0, g = 0, b = 0, alpha = 0;
    int pixels = 0;

    void add(RGBA c) {
        r = r + c.r;
        g = g + c.g;
        b = b + c.b;
        alpha = alpha + c.a;
        ++pixels;
    }
};

// The point RGBAAtPoint maps onto a pixel.
Point pointOf(const Bitmap& bitmap, int column, int row) {
    return {static_cast<float>(column), static_cast<float>(bitmap.pixelsHigh() - 1 - row)};
}

} // namespace

bool isSampleSize(int sampleSize) {
    return std::find(kSampleSizes.begin(), kSampleSizes.end(), sampleSize) != kSampleSizes.end();
}

RGBA meanRGBAAroundPoint(const Bitmap& bitmap, Point point, int sampleSize) {
    PixelIndex centre;
    if (!pixelAt(bitmap, point, centre)) {
        return {0, 0, 0, 0};
    }
    int reach = std::max(sampleSize, 1) / 2;
    Sums all, coloured;
    for (int row = std::max(centre.y - reach, 0);
         row <= std::min(centre.y + reach, bitmap.pixelsHigh() - 1); ++row) {
        for (int column = std::max(centre.x - reach, 0);
             column <= std::min(centre.x + reach, bitmap.pixelsWide() - 1); ++column) {
            RGBA c = RGBAAtPoint(bitmap, pointOf(bitmap, column, row));
            all.add(c);
            if (c.a > 0.0f) {
                coloured.add(c);
            }
        }
    }
    const Sums& colour = coloured.pixels > 0 ? coloured : all;
    auto count = [](const Sums& s) { return static_cast<float>(s.pixels); };
    return {colour.r / count(colour), colour.g / count(colour), colour.b / count(colour),
            all.alpha / count(all)};
}

// Rounded, not truncated as the pass stores bytes: a mean lies between byte
// values and the nearest is its fair reading, while in float the mean of
// equal bytes may land a hair below its byte and truncation would drop it.
RGBA pickedRGBA(const Bitmap& bitmap, Point point, int sampleSize) {
    if (sampleSize <= 1) {
        return RGBAAtPoint(bitmap, point);
    }
    RGBA mean = meanRGBAAroundPoint(bitmap, point, sampleSize);
    auto rounded = [](float v) { return byteToFloat(nearestByte(v)); };
    return {rounded(mean.r), rounded(mean.g), rounded(mean.b), rounded(mean.a)};
}

} // namespace velo
