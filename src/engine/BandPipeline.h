#pragma once

#include "adjust/ColorAdjustment.h"
#include "platform/Bitmap.h"

#include <functional>
#include <memory>
#include <span>

namespace velo {

// The three stages of recolouring an image band by band.
struct BandStages {
    // The next band of source rows, as tall as the band; null at the end
    // (bandsLeft false) or on a failure.
    std::function<std::shared_ptr<Bitmap>()> read;
    std::function<bool()> bandsLeft;
    // Where the pass writes a source band's result: its layout, its size.
    std::function<std::shared_ptr<Bitmap>(const Bitmap& source)> destinationFor;
    // Writes the next recoloured band; false on a failure.
    std::function<bool(const Bitmap& band)> write;
};

// Recolours an image band by band with the fast pass, on three threads at
// once: one reads a band while another recolours the band before and the
// caller's writes the one before that, so the whole image never exists in
// memory. Each pixel gets what one pass over the whole image gives it, and
// bands are written in order. False when a stage failed (it knows why).
bool recolourInBands(const BandStages& stages, std::span<const ColorAdjustment> adjustments);

} // namespace velo
