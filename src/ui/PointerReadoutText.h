#pragma once

#include "document/PointerReadout.h"

#include <string>

namespace velo {

// The status bar's rich text for a readout: the pixel's position, its
// colour before and after as #RRGGBB (#RRGGBBAA when the image has alpha),
// then each weighing adjustment as its source swatch, table row (from 1) and
// share in percent.
std::string pointerReadoutText(const PointerReadout& readout);

} // namespace velo
