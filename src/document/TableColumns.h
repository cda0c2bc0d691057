#pragma once

#include "adjust/Reach.h"
#include "platform/Color.h"

#include <optional>
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
    Reach,
    Unknown
};

// A reach in OKLab distance; none is unlimited.
using ReachValue = std::optional<Reach>;

// What a cell shows or is given: a colour (null for none), a check box's
// state, a number (the colour model's index, or -1 for a mixed check box), a
// reach or a text.
using TableValue = std::variant<ColorRef, bool, int, ReachValue, std::string>;

// A check box's mixed state: the hue of a record that matches in RGB.
inline constexpr int kMixedState = -1;

} // namespace velo
