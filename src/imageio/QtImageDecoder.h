#pragma once

#include "imageio/ImageCodec.h"

#include <cstdint>
#include <span>

namespace velo {

// Decodes through Qt's image readers alone, every frame, turned upright as the
// file says: what decodeImage gives for the files its own codecs leave to Qt,
// and what they must match pixel for pixel for the others. Throws
// std::bad_alloc when memory runs out.
DecodedImage decodeWithQtOnly(std::span<const std::uint8_t> bytes);

} // namespace velo
