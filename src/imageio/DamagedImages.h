#pragma once

#include "imageio/ImageCodec.h"

#include <optional>
#include <span>
#include <string>

namespace velo {

// What can be read of a PNG, TIFF or WebP file that ends early or is corrupt
// and that Qt's readers refused as a whole: the first frame's lines before
// the damage, the rest grey, with what is missing said in damage; or, for a
// TIFF whose directory is cut off, no image and that reason. Null for any
// other file, a whole one, or one of which not a line can be read.
std::optional<DecodedImage> salvageDamagedImage(std::span<const std::uint8_t> bytes);

std::optional<DecodedImage> salvagePng(std::span<const std::uint8_t> bytes);
std::optional<DecodedImage> salvageTiff(std::span<const std::uint8_t> bytes);
std::optional<DecodedImage> salvageWebp(std::span<const std::uint8_t> bytes);

// What Qt's readers pass over in silence in a file they read: the end of a
// GIF cut off, or TIFF pages. Empty for a whole file.
std::string silentDamage(std::span<const std::uint8_t> bytes);

// A GIF frame whose data ends early or is corrupt, or frames missing at the
// end; empty for a whole GIF and for anything that is no GIF.
std::string gifDamage(std::span<const std::uint8_t> bytes);
// TIFF pages whose directories lie beyond the end of the data.
std::string tiffPagesDamage(std::span<const std::uint8_t> bytes);

} // namespace velo
