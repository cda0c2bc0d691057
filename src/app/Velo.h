#pragma once

#include "app/CommandSupport.h"

#include <string>
#include <vector>

namespace velo {

// Whether the arguments ask for a command (or an option) rather than for
// files to open in windows.
bool isCommandLineUse(const std::vector<std::string>& args);

// The `velo` command line: dispatches to the command named first.
int runVelo(const CommandContext& context);

} // namespace velo
