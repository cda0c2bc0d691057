#pragma once

#include "platform/Geometry.h"

namespace velo {

// Resolutions as Qt's image readers and writers state them, so that every
// codec turns them into points (and back) the way decoding through Qt does.

// The resolution Qt gives an image that states none.
int qtDefaultDotsPerMeter();

// The size in points of an image of the given pixels and dots per metre. A
// resolution that is missing, nonsensical or Qt's default is one point a pixel.
Size pointSizeFor(int pixelsWide, int pixelsHigh, int dotsPerMeterX, int dotsPerMeterY);

struct DotsPerMeter {
    int x = 0, y = 0;
};

// The resolution an image of these pixels and this size in points is written
// with; Qt's default where the size says none.
DotsPerMeter dotsPerMeterFor(int pixelsWide, int pixelsHigh, Size pointSize);

} // namespace velo
