#pragma once

#include "app/CommandSupport.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace velo {

// Whether the arguments ask for a command (or an option) rather than for
// files to open in windows.
bool isCommandLineUse(const std::vector<std::string>& args);

// Why no window can be opened for these arguments: a line for standard error
// and the exit status. Checked before the GUI application exists, since Qt
// aborts when it finds no display. Nothing when windows can open.
struct WindowRefusal {
    std::string message;
    int status;
};
std::optional<WindowRefusal>
refuseWindows(const std::vector<std::string>& args,
              const std::function<const char*(const char*)>& environment,
              const std::function<bool(const std::string&)>& fileExists);

// The `velo` command line: dispatches to the command named first.
int runVelo(const CommandContext& context);

} // namespace velo
