#pragma once

#include "imageio/RowDecoder.h"

#include <cstdio>
#include <filesystem>
#include <memory>

namespace velo {

// Our own decoder for an encoded image (libjpeg for JPEG, libspng for PNG)
// when it gives exactly what Qt's reader gives, upright as stored; null when
// only Qt's reader does (other formats, layouts and orientations it alone
// handles). The bytes, or the open file, must outlive the decoder.
std::unique_ptr<RowDecoder> openOwnDecoder(std::span<const std::uint8_t> bytes);
std::unique_ptr<RowDecoder> openOwnDecoder(const std::filesystem::path& path, std::FILE* file);

} // namespace velo
