#include "app/Subcommand.h"

#include <ostream>

namespace velo {

int runCommand(const CommandContext& context, const Subcommand& command,
               const std::function<int(const Arguments&)>& body) {
    std::set<std::string> flags = command.flagOptions;
    flags.insert("--help");
    Arguments arguments = parseArguments(context.args, command.valueOptions, flags);
    if (arguments.has("--help")) {
        context.out << command.usage;
        return kExitSuccess;
    }
    if (!arguments.error.empty()) {
        return usageError(context, command, arguments.error);
    }
    return body(arguments);
}

int usageError(const CommandContext& context, const Subcommand& command,
               const std::string& message) {
    context.err << "velo " << command.name << ": " << message << "\n" << command.usage;
    return kExitUsage;
}

} // namespace velo
