#include "app/DefaultsCommand.h"

#include "app/ColorSpecs.h"
#include "app/Subcommand.h"
#include "document/DefaultsKeys.h"
#include "document/DocumentController.h"
#include "document/FileTypes.h"

#include <ostream>

namespace velo {

const char* const kDefaultsUsage =
    "usage: velo defaults show | save FILE.velo | reset\n"
    "Shows the adjustments new documents start with, stores a document's active\n"
    "adjustments as those, or forgets them (back to the built-in five).\n";

namespace {

int show(const CommandContext& context) {
    bool stored = context.defaults.objectForKey(kActiveColorAdjustmentsDefault).has_value();
    VeloDocument document(&context.defaults, 1);
    context.out << (stored ? "stored defaults" : "built-in defaults") << ": "
                << document.activeColorAdjustments().size() << " adjustments\n";
    for (const auto& a : document.activeColorAdjustments()) {
        context.out << "  " << colorModelName(a->colorModel()) << " mask " << a->componentsMask()
                    << "  " << describeColor(a->sourceColor()) << " > "
                    << describeColor(a->targetColor()) << "\n";
    }
    return kExitSuccess;
}

int stored(const CommandContext& context) {
    if (std::string error = context.defaults.writeError(); !error.empty()) {
        context.err << "velo: " << error << "\n";
        return kExitFailure;
    }
    return kExitSuccess;
}

int save(const CommandContext& context, const std::string& path) {
    VeloDocument document(nullptr, 1);
    VeloDocument::LoadResult loaded = document.readFromFile(path, kVeloDocumentType);
    if (!loaded.ok) {
        context.err << "velo: " << path << ": " << loaded.error << "\n";
        return kExitFailure;
    }
    document.saveColorAdjustmentsAsDefault(context.defaults);
    return stored(context);
}

} // namespace

int runDefaultsCommand(const CommandContext& context) {
    const Subcommand defaults{"defaults", kDefaultsUsage, {}, {}};
    return runCommand(context, defaults, [&](const Arguments& arguments) {
        const auto& operands = arguments.operands;
        if (operands.size() == 1 && operands[0] == "show") {
            return show(context);
        }
        if (operands.size() == 2 && operands[0] == "save") {
            return save(context, operands[1]);
        }
        if (operands.size() == 1 && operands[0] == "reset") {
            DocumentController(context.defaults).revertDefaults();
            return stored(context);
        }
        return usageError(context, defaults, "unknown use");
    });
}

} // namespace velo
