#include "app/NewCommand.h"

#include "app/Subcommand.h"
#include "document/DocumentController.h"
#include "document/FileTypes.h"

#include <filesystem>
#include <ostream>

namespace velo {

const char* const kNewUsage =
    "usage: velo new FILE.velo IMAGE [--map MAP]... [--sample-size N] [--defaults] [--strict]\n"
    "                [--alpha on|off] [--background COLOR] [--threads N]\n"
    "Writes a document holding IMAGE, then the stored or built-in default adjustments when\n"
    "--defaults is given, then each MAP (as for velo apply). A damaged IMAGE is warned\n"
    "about; with --strict it is an error.\n"
    "A pick map is fitted to the shades of IMAGE around its points: the document keeps the\n"
    "fitted source and range, not the points; e.g.\n"
    "  velo new car.velo car.jpg --map 'pick:410,220;480,260>#2060e0'\n";

namespace {

const Subcommand kNew{"new",
                      kNewUsage,
                      {"--map", "--sample-size", "--alpha", "--background", "--threads"},
                      {"--defaults", "--strict"}};

int newDocument(const CommandContext& context, const Arguments& arguments) {
    DocumentSettings settings;
    std::optional<std::string> error = readDocumentSettings(arguments, settings);
    if (!error && arguments.operands.size() != 2) {
        error = "give the document file and one image";
    }
    if (error) {
        return usageError(context, kNew, *error);
    }
    std::filesystem::path file = arguments.operands[0];
    std::filesystem::path image = arguments.operands[1];
    VeloDocument document(arguments.has("--defaults") ? &context.defaults : nullptr,
                          settings.threads);
    VeloDocument::Adjustments active = arguments.has("--defaults")
                                           ? document.activeColorAdjustments()
                                           : VeloDocument::Adjustments{};
    VeloDocument::LoadResult loaded =
        document.readFromFile(image, DocumentController::typeForFile(image));
    const std::string& damage = document.sourceDamage();
    if (!loaded.ok || (!damage.empty() && arguments.has("--strict"))) {
        context.err << "velo: " << image.string() << ": " << (loaded.ok ? damage : loaded.error)
                    << "\n";
        return kExitFailure;
    }
    if (!damage.empty()) {
        context.err << "velo: " << image.string() << ": warning: " << damage << "\n";
    }
    ImageMaps maps = mapsForDocument(settings, document);
    if (!maps.error.empty()) {
        context.err << "velo: " << image.string() << ": " << maps.error << "\n";
        return kExitFailure;
    }
    active.insert(active.end(), maps.adjustments.begin(), maps.adjustments.end());
    document.replaceAdjustments(active, {});
    if (settings.alpha) {
        setResultAlpha(document, *settings.alpha);
    }
    if (settings.background) {
        document.setBackgroundColor(settings.background);
    }
    document.finishSetUp();
    if (auto failure = document.writeToFile(file, kVeloDocumentType)) {
        context.err << "velo: " << file.string() << ": " << *failure << "\n";
        return kExitFailure;
    }
    return kExitSuccess;
}

} // namespace

int runNewCommand(const CommandContext& context) {
    return runCommand(context, kNew,
                      [&](const Arguments& arguments) { return newDocument(context, arguments); });
}

} // namespace velo
