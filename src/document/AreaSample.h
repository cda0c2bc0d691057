#pragma once

#include "color/ColorRecords.h"
#include "platform/Bitmap.h"
#include "platform/Geometry.h"

#include <array>
#include <cstdint>

namespace velo {

// The squares the colour pick can average over, pixels a side.
inline constexpr std::array<int, 4> kSampleSizes{1, 3, 5, 11};

bool isSampleSize(int sampleSize);

// The mean straight colour of the sampleSize by sampleSize square of pixels
// centred on the one a point falls on (as RGBAAtPoint maps points), clipped
// at the bitmap's edges. Alpha is averaged over every pixel, the colour over
// those that are not fully transparent (such a pixel has no colour to give),
// or over all of them when none has any alpha. One pixel a side reads exactly
// what RGBAAtPoint reads. Outside the bitmap: (0, 0, 0, 0).
RGBA meanRGBAAroundPoint(const Bitmap& bitmap, Point point, int sampleSize);

// The colour a pick takes: one pixel exactly as read, or the mean of the
// square with each component rounded to the nearest byte value (halves up),
// so that a picked colour is one the image could hold.
RGBA pickedRGBA(const Bitmap& bitmap, Point point, int sampleSize);

} // namespace velo
