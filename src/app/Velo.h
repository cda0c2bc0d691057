#pragma once

#include "app/CommandSupport.h"

namespace velo {

// The `velo` command line: dispatches to the command named first.
int runVelo(const CommandContext& context);

} // namespace velo
