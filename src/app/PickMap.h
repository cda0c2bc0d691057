#pragma once

#include "adjust/ColorAdjustment.h"
#include "adjust/Reach.h"
#include "color/ColorRecords.h"
#include "color/PixelAccess.h"
#include "platform/Color.h"

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace velo {

// A map written as points on one object rather than as a source colour: on
// each image it becomes the row a stroke through those pixels would make
// there, so one command recolours the object however each photo lights it.
struct PickMap {
    std::string text;               // as written, to name it in messages
    std::vector<PixelIndex> points; // column and row from the top-left pixel
    ColorRef target;
    std::optional<Reach> reach; // replaces the fitted range when given
};

// Why the pick cannot be made on an image of that size: its first point
// outside it, named with the size. Nothing when every point is on it.
std::optional<std::string> pointOutside(const PickMap& pick, int pixelsWide, int pixelsHigh);

// The row made from the shades around the points: oklab, every component,
// source and range fitted to the shades, the pick's target (and its reach,
// when it has one). Null when the shades are none (all transparent).
std::shared_ptr<ColorAdjustment> pickedAdjustment(const PickMap& pick,
                                                  std::span<const RGBA> shades);

} // namespace velo
