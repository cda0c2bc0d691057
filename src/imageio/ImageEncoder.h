#pragma once

#include "imageio/Coded.h"
#include "platform/Bitmap.h"

namespace velo {

enum class ImageFileType { TIFF, JPEG, BMP, GIF, PNG };

// Encodes a bitmap as a file of the given type. jpegQuality is 0..1. Never
// throws; a failure gives a reason.
EncodedData encodeImage(const Bitmap& bitmap, ImageFileType type, float jpegQuality);

} // namespace velo
