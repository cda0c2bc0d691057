#pragma once

#include "adjust/ColorAdjustment.h"
#include "app/PickMap.h"
#include "platform/Color.h"

#include <memory>
#include <optional>
#include <string>

namespace velo {

// A colour as written on the command line: "#RRGGBB", "#RRGGBBAA" (each byte
// k is k / 255.0 as a float) or "r,g,b[,a]" in decimal (a is 1 when left
// out). Always calibrated RGB. Nothing and a reason when malformed.
struct ParsedColor {
    ColorRef color;
    std::string error;
};
ParsedColor parseColor(const std::string& text);

// An adjustment as written on the command line:
// [MODEL[/COMPONENTS]:]SOURCE>TARGET[@REACH], MODEL rgb (default), hsb or
// oklab, COMPONENTS letters of h, s, b, a for hsb and of l, c, h, a for oklab
// (all four by default), REACH a positive OKLab distance or a range
// "L0.3,C0.08,H0.12" of lightness, chroma and hue extents (letters in either
// case and order; each brought within the reach's bounds). Or a pick map,
// pick:X,Y[;X,Y]...>TARGET[@REACH], made into a row on each image.
struct ParsedMap {
    std::shared_ptr<ColorAdjustment> adjustment; // a map of colours
    std::optional<PickMap> pick;                 // or one of points
    std::string error;                           // or what is wrong with it
};
ParsedMap parseMap(const std::string& text);

// A colour written back the way parseColor reads it, exactly.
std::string describeColor(const ColorRef& color);

} // namespace velo
