#pragma once

#include "platform/Geometry.h"
#include "platform/IccProfile.h"

#include <tiffio.h>

#include <memory>

namespace velo {

// What Velo's TIFFs say of their pixels: 8-bit or 16-bit samples, grey or RGB, alpha
// as associated (premultiplied) alpha, LZW, the size in points as the
// resolution, the colour profile when there is one.
struct TiffPage {
    int pixelsWide = 0;
    int pixelsHigh = 0;
    int samplesPerPixel = 0;
    int bitsPerSample = 8;
    bool hasAlpha = false;
    bool isPlanar = false;
    Size pointSize;
    std::shared_ptr<const IccProfile> profile;
};

void writeTiffTags(TIFF* tiff, const TiffPage& page);

} // namespace velo
