#pragma once

#include "platform/Color.h"

#include <string>
#include <variant>

namespace velo {

// The columns of the adjustments table, as the document knows them; the
// window decides their order and which of them it shows.
enum class TableColumn {
    Active,
    ColorSpace,
    Source,
    Target,
    Hue,
    Saturation,
    Brightness,
    Alpha,
    Unknown
};

// What a cell shows or is given: a colour (null for none), a check box's
// state, a number (the colour space's index, or -1 for a mixed check box) or
// a text.
using TableValue = std::variant<ColorRef, bool, int, std::string>;

// A check box's mixed state: the hue of a record that matches in RGB.
inline constexpr int kMixedState = -1;

} // namespace velo
