#pragma once

#include "adjust/ColorAdjustment.h"
#include "imageio/ImageEncoder.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace velo {

// The adjustments an input is recoloured with, or why it cannot be.
struct InputAdjustments {
    std::vector<ColorAdjustment> list; // the active ones, in order
    std::string error;
};

// One input recoloured into one output band by band, without the whole
// image in memory: for inputs read row by row (one frame, no turning) into
// outputs written row by row. Writes the same bytes as the whole-image path.
struct StreamedApply {
    std::filesystem::path input;
    std::filesystem::path output;
    ImageFileType type = ImageFileType::PNG;
    // Asked once the input is known to stream, before its first band: a
    // pick map is made from the input's own pixels.
    std::function<InputAdjustments()> adjustments;
    std::optional<bool> alpha; // the result's alpha, when chosen
    float jpegQuality = 1;
    bool keepsMetadata = true;
    bool refusesDamage = false; // a damaged input is an error, not a warning
};

struct StreamedResult {
    bool streamed = false;   // false: take the whole-image path instead
    std::string error;       // when streamed but failed; nothing was written
    std::string damage = {}; // what of the input its data did not hold
};

StreamedResult applyStreamed(const StreamedApply& job);

} // namespace velo
