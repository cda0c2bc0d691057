#pragma once

#include "imageio/RowDecoder.h"

#include <memory>
#include <string>

namespace velo {

// Decodes a PNG through libspng into the layout and premultiplied samples of
// Qt's reader: 8-bit grey, grey with alpha, RGB, RGBA, palettes of 2 to 8
// bits and transparency chunks. Null for what only Qt's reader gives exactly
// (16 bits, grey under 8 bits, 1-bit palettes, interlacing), for images beyond
// imageMemoryLimit(), and for what is no PNG or has a damaged header.
std::unique_ptr<RowDecoder> openPngDecoder(EncodedSource source);

bool looksLikePng(std::span<const std::uint8_t> start);

// What is missing of a PNG whose rows stopped decoding with libspng's code
// after lines of high rows.
std::string pngDamage(int code, long long lines, long long high);

} // namespace velo
