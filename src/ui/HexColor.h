#pragma once

#include "platform/Color.h"

#include <string>

namespace velo {

// "#RRGGBB", or "#RRGGBBAA" with alpha, each component in 0..1 rounded to
// the nearest byte (halves up), as colour pickers and web colours write it.
std::string hexColorText(float red, float green, float blue, float alpha, bool withAlpha);

// A colour's calibrated RGB as hex; alpha shown when it is not opaque.
// Empty for no colour.
std::string hexColorText(const ColorRef& color);

} // namespace velo
