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
    "velo COMMAND --help tells more; velo --version tells the version.\n"
    "exit status: 0 success, 1 some input or output failed, 2 usage error.\n";

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

namespace {

// Qt platforms that show windows without an X or Wayland display.
bool needsNoDisplay(const char* platform) {
    std::string name = platform ? platform : "";
    return name == "offscreen" || name == "minimal" || name == "vnc" || name == "eglfs" ||
           name == "linuxfb";
}

bool isSet(const char* value) {
    return value && *value;
}

} // namespace

std::optional<WindowRefusal>
refuseWindows(const std::vector<std::string>& args,
              const std::function<const char*(const char*)>& environment,
              const std::function<bool(const std::string&)>& fileExists) {
    // A mistyped command would otherwise open a window saying the file is missing.
    if (!args.empty() && !fileExists(args[0])) {
        return WindowRefusal{"velo: '" + args[0] + "' is neither a command nor a file", kExitUsage};
    }
    if (!isSet(environment("DISPLAY")) && !isSet(environment("WAYLAND_DISPLAY")) &&
        !needsNoDisplay(environment("QT_QPA_PLATFORM"))) {
        return WindowRefusal{"velo: no display to show a window on (DISPLAY and WAYLAND_DISPLAY "
                             "are unset); for the command line see velo --help",
                             kExitFailure};
    }
    return std::nullopt;
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
