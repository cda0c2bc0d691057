#pragma once

#include "imageio/Coded.h"

#include <filesystem>
#include <optional>
#include <span>
#include <string>

namespace velo {

// Decodes every frame or page of an image file's bytes, in any format the
// installed codecs read. Never throws; a failure gives a reason.
DecodedImage decodeImage(std::span<const std::uint8_t> bytes);
// The file's image with its colour profile and metadata attached.
DecodedImage readImageFile(const std::filesystem::path& path);

} // namespace velo
