#pragma once

#include "color/ColorRecords.h"
#include "document/BitmapViewClick.h"

#include <optional>
#include <vector>

namespace velo {

class VeloDocument;

// What the status bar tells of the pixel under the pointer: where it is, its
// colour before and after, and the adjustments that weigh most on it.
struct PointerReadout {
    struct Share {
        int row = 0; // in the table, from 0
        RGBA source; // the adjustment's source colour
        float fraction = 0;
    };
    int column = 0; // from the left
    int row = 0;    // from the top
    RGBA source;
    RGBA adjusted; // the pixel as the pass stores it
    bool hasAlpha = false;
    std::vector<Share> shares; // largest first
};

// The readout for the pixel a point of the view falls on (as the pick maps
// it), computed from the source and the pass's own arithmetic, so it never
// waits for a sweep. None outside the image or without one.
std::optional<PointerReadout> pointerReadout(const VeloDocument& document,
                                             const BitmapViewClick& at);

} // namespace velo
