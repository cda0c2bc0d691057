#pragma once

#include "platform/Bitmap.h"
#include "platform/PropertyValue.h"

#include <memory>
#include <optional>
#include <span>
#include <string>

namespace velo {

// TIFF through libtiff, keeping a bitmap's exact layout: 1 to 4 samples,
// meshed or planar, alpha stored as associated (premultiplied) alpha, LZW
// compression, the size in points as its resolution.
struct EncodedData {
    std::optional<PropertyValue::Data> data;
    std::string error;
};

EncodedData encodeTiff(const Bitmap& bitmap);

struct DecodedBitmap {
    std::shared_ptr<Bitmap> bitmap;
    std::string error;
};

// Reads the first page of an 8-bit TIFF of the layouts encodeTiff writes.
DecodedBitmap decodeTiff(std::span<const std::uint8_t> bytes);

} // namespace velo
