#pragma once

#include "imageio/Coded.h"
#include "platform/Bitmap.h"

#include <span>

namespace velo {

// TIFF through libtiff, keeping a bitmap's exact layout: 1 to 4 samples,
// meshed or planar, alpha stored as associated (premultiplied) alpha, LZW
// compression, the size in points as its resolution.
EncodedData encodeTiff(const Bitmap& bitmap);

// Reads the first page of an 8-bit TIFF of the layouts encodeTiff writes.
DecodedBitmap decodeTiff(std::span<const std::uint8_t> bytes);

} // namespace velo
