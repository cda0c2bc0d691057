#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

namespace velo {

// Whether Qt's reader turns or mirrors the image when it decodes it (the
// orientation an EXIF block states), asked of Qt itself so that its exact
// reading of the block decides.
bool turnedWhenDecoded(std::span<const std::uint8_t> bytes);
bool turnedWhenDecoded(const std::filesystem::path& file);

} // namespace velo
