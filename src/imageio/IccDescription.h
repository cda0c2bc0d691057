#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace velo {

// The profile's description (its 'desc' tag) in UTF-8, from a version 2
// textDescriptionType or a version 4 multiLocalizedUnicodeType, English
// preferred. Nothing for a profile without a readable one; any bytes are safe.
std::optional<std::string> iccProfileDescription(std::span<const std::uint8_t> profile);

} // namespace velo
