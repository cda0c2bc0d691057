#include "app/Velo.h"

#include "app/ApplyCommand.h"
#include "app/DefaultsCommand.h"
#include "app/InfoCommand.h"
#include "app/LutCommand.h"
#include "app/NewCommand.h"

#include <algorithm>
#include <ostream>

namespace velo {

namespace {

const char* const kUsage =
    "usage: velo [FILE...]        open the files (or a new document) in windows\n"
    "       velo COMMAND [ARGS]\n"
    "Velo recolours images: every pixel moves toward the targets of the adjustments whose\n"
    "source colours it is close to.\n"
    "commands:\n"
    "  apply     recolour images in batch\n"
    "  new       write a document for an image\n"
    "  info      describe a document or an image\n"
    "  defaults  show, store or forget the default adjustments\n"
    "  lut       write the adjustments as a .cube file or a Hald CLUT\n"
    "velo COMMAND --help tells more; velo --version tells the version.\n";

} // namespace

bool isCommandLineUse(const std::vector<std::string>& args) {
    static const std::vector<std::string> kCommands{"apply", "new",    "info", "defaults", "lut",
                                                    "help",  "--help", "-h",   "--version"};
    if (args.empty()) {
        return false;
    }
    const std::string& first = args[0];
    return std::find(kCommands.begin(), kCommands.end(), first) != kCommands.end() ||
           first.starts_with("-");
}

int runVelo(const CommandContext& context) {
    if (context.args.empty()) {
        context.err << kUsage;
        return kExitUsage;
    }
    const std::string& command = context.args[0];
    if (command == "--help" || command == "-h" || command == "help") {
        context.out << kUsage;
        return kExitSuccess;
    }
    if (command == "--version") {
        context.out << "velo " << VELO_VERSION << "\n";
        return kExitSuccess;
    }
    CommandContext rest{{context.args.begin() + 1, context.args.end()},
                        context.out,
                        context.err,
                        context.defaults,
                        context.errIsTerminal};
    if (command == "apply") {
        return runApplyCommand(rest);
    }
    if (command == "new") {
        return runNewCommand(rest);
    }
    if (command == "info") {
        return runInfoCommand(rest);
    }
    if (command == "defaults") {
        return runDefaultsCommand(rest);
    }
    if (command == "lut") {
        return runLutCommand(rest);
    }
    context.err << "velo: unknown command '" << command << "'\n" << kUsage;
    return kExitUsage;
}

} // namespace velo
