#pragma once

#include "adjust/ColorAdjustment.h"
#include "platform/Bitmap.h"

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <span>
#include <string>

namespace velo {

// A document's recolouring as a 3D colour lookup table for other programs.
// The pass depends on a pixel's colour alone, so for opaque pixels the table
// is the recolouring: the Adobe/Resolve .cube text (the pass's floats) or a
// Hald CLUT image (the pass's bytes).
enum class LutFormat { Cube, Hald };

inline constexpr int kMinCubeSize = 2;
inline constexpr int kMaxCubeSize = 256;
inline constexpr int kDefaultCubeSize = 33;
inline constexpr int kMinHaldLevel = 2;
inline constexpr int kMaxHaldLevel = 16;
inline constexpr int kDefaultHaldLevel = 16;

struct LutSettings {
    LutFormat format = LutFormat::Cube;
    int size = kDefaultCubeSize;   // grid points per axis of a .cube
    int level = kDefaultHaldLevel; // a Hald CLUT of level L has L² steps per axis
};

// The .cube text: the header, then size³ lines "r g b", red varying fastest.
// Each entry is the pass's float result for the grid colour
// (i, j, k) / (size - 1) with alpha 1, written so that it reads back as the
// same float.
void writeCube(std::ostream& out, std::span<const ColorAdjustment> adjustments, int size,
               const std::string& title);

// The byte of step k of `steps` per axis: 255 k / (steps - 1) rounded to the
// nearest, halves up, as ImageMagick's hald: image holds it at 8 bits. Exact
// for level 16, whose 256 steps are the bytes.
std::uint8_t haldStepByte(int step, int steps);

// The identity Hald CLUT of a level, an RGB image L³ pixels square. Pixel
// number n, counted row by row from the top left, holds step n mod L² of
// red, (n / L²) mod L² of green and n / L⁴ of blue.
Bitmap identityHald(int level);

// The identity Hald CLUT recoloured by the pass `velo apply` uses.
Bitmap recolouredHald(std::span<const ColorAdjustment> adjustments, int level);

// Whether the adjustments are about alpha, so that the table, which holds
// the opaque colours only, leaves part of them out: an HSB adjustment that
// matches on alpha, or any adjustment whose source or target is not opaque
// (it aims at translucent pixels, or makes pixels translucent).
bool dependsOnAlpha(std::span<const ColorAdjustment> adjustments);

// Writes the table atomically: an error message, or nothing once written.
std::optional<std::string> writeLut(const std::filesystem::path& path,
                                    std::span<const ColorAdjustment> adjustments,
                                    const LutSettings& settings, const std::string& title);

} // namespace velo
