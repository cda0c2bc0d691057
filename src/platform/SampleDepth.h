#pragma once

#include "platform/Bitmap.h"

#include <cstdint>
#include <memory>

namespace velo {

// A 16-bit sample as the nearest 8-bit one, halves up, in integers.
inline std::uint8_t narrowSample(std::uint16_t k) {
    return static_cast<std::uint8_t>((std::uint32_t{k} * 255u + 32767u) / 65535u);
}

// An 8-bit sample as the 16-bit one of the same value.
inline std::uint16_t widenSample(std::uint8_t k) {
    return static_cast<std::uint16_t>(k * 257u);
}

// A meshed copy of the bitmap with samples of the given depth (8 or 16), each
// sample narrowed or widened on its own (premultiplied samples stay within
// their alpha, since both rules keep order); size, profile and opacity kept.
std::shared_ptr<Bitmap> copyWithDepth(const Bitmap& bitmap, int bitsPerSample);

} // namespace velo
