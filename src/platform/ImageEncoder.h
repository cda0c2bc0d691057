#pragma once

#include "platform/Bitmap.h"
#include "platform/TiffCodec.h"

namespace velo {

enum class ImageFileType { TIFF, JPEG, BMP, GIF, PNG };

// Encodes a bitmap as a file of the given type. jpegQuality is 0..1. Never
// throws; a failure gives a reason.
EncodedData encodeImage(const Bitmap& bitmap, ImageFileType type, float jpegQuality);

// The bitmap's pixels as meshed straight (not premultiplied) RGBA bytes.
std::vector<std::uint8_t> straightRGBA(const Bitmap& bitmap);

} // namespace velo
