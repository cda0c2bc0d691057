#pragma once

#include "adjust/ColorAdjustment.h"
#include "platform/Bitmap.h"

#include <cstdint>
#include <memory>
#include <random>
#include <vector>

namespace velo::test {

// A meshed bitmap of random 8-bit samples, 1 to 4 per pixel; alpha favours
// the edges (0, 1 to 3, 255), where the arithmetic branches, and colour
// samples may exceed their alpha.
std::shared_ptr<Bitmap> randomBitmap(std::mt19937& random, int wide, int high, int samples);
// The same with 16-bit samples.
std::shared_ptr<Bitmap> randomDeepBitmap(std::mt19937& random, int wide, int high, int samples);

// Adjustments of every model, mask and reach, colours within and a little
// beyond 0..1, some exactly on 8-bit or 16-bit values, some without colours.
std::vector<ColorAdjustment> randomAdjustments(std::mt19937& random, int count);

std::vector<std::uint8_t> bytesOf(const Bitmap& b);

} // namespace velo::test
