#pragma once

#include "app/CommandSupport.h"

namespace velo {

// `velo apply`: recolours images in batch.
int runApplyCommand(const CommandContext& context);
extern const char* const kApplyUsage;

} // namespace velo
