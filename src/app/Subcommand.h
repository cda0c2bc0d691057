#pragma once

#include "app/Arguments.h"
#include "app/CommandSupport.h"

#include <functional>
#include <set>
#include <string>

namespace velo {

// One command of the command line (velo apply, velo new, ...), as the
// preamble every command shares needs it.
struct Subcommand {
    std::string name; // as typed after velo
    const char* usage;
    std::set<std::string> valueOptions;
    std::set<std::string> flagOptions; // --help comes with every command
};

// Parses the arguments for the command: --help prints its usage, arguments
// that do not parse are a usage error, and anything else goes to body.
int runCommand(const CommandContext& context, const Subcommand& command,
               const std::function<int(const Arguments&)>& body);

// Says what is wrong with the use of the command, then its usage: exit 2.
int usageError(const CommandContext& context, const Subcommand& command,
               const std::string& message);

} // namespace velo
