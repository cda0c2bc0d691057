#pragma once

#include "app/CommandSupport.h"

namespace velo {

// `velo lut`: writes the recolouring as a .cube file or a Hald CLUT.
int runLutCommand(const CommandContext& context);
extern const char* const kLutUsage;

} // namespace velo
