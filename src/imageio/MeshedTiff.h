#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace velo {

// Qt's TIFF reader fills only the first plane's share of each row of a deep
// (more than 8 bits per sample) TIFF whose samples lie in separate planes,
// and leaves the rest of its buffer as it found it. This rewrites such a file
// as an uncompressed TIFF with the samples meshed, keeping every tag Qt's
// reader looks at, so that Qt reads it as it reads any meshed deep TIFF.
// Empty for any other file, which Qt reads correctly as it is.
std::optional<std::vector<std::uint8_t>> meshedDeepTiff(std::span<const std::uint8_t> bytes);

} // namespace velo
