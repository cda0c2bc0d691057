#pragma once

#include "imageio/RowDecoder.h"

#include <memory>

namespace velo {

// Decodes a JPEG through libjpeg with the settings Qt's reader uses (its
// defaults: accurate integer DCT, smooth chroma upsampling), giving grey or
// RGB as it is stored, never turned. Null for what only Qt's reader gives
// exactly (CMYK and YCCK), for images beyond imageMemoryLimit(), and for what
// is no JPEG or has a damaged header.
std::unique_ptr<RowDecoder> openJpegDecoder(EncodedSource source);

bool looksLikeJpeg(std::span<const std::uint8_t> start);

} // namespace velo
