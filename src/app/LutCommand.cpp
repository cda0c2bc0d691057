#include "app/LutCommand.h"

#include "app/Subcommand.h"
#include "document/FileTypes.h"
#include "document/LutExport.h"

#include <filesystem>
#include <ostream>

namespace velo {

namespace fs = std::filesystem;

const char* const kLutUsage =
    "usage: velo lut [--doc FILE.velo] [--map MAP]... --format cube|hald [--size N]\n"
    "                [--level L] -o OUT\n"
    "Writes the document's active adjustments followed by each MAP as a 3D colour lookup\n"
    "table for other programs (video editors, darktable, ImageMagick, ffmpeg).\n"
    "  cube   Adobe/Resolve .cube text with N points per axis (2 to 256, default 33):\n"
    "         each entry is its grid colour recoloured as Velo computes it, unrounded\n"
    "  hald   a Hald CLUT PNG of level L (2 to 16, default 16): L^3 x L^3 pixels, L^2\n"
    "         steps per axis; at level 16 it holds every 8-bit colour once, recoloured\n"
    "         exactly as velo apply recolours it\n"
    "  MAP    [MODEL[/COMPONENTS]:]SOURCE>TARGET[@REACH], as for velo apply (not pick:,\n"
    "         which takes its colours from an image)\n"
    "A table is indexed by colour alone: it holds what the adjustments do to opaque pixels\n"
    "(the opaque slice). Velo also matches and moves alpha, so translucent pixels may come\n"
    "out otherwise than the table says. Adjustments about alpha (HSB ones matching on a,\n"
    "or a source or target that is not opaque) still give the opaque slice, with a\n"
    "warning.\n";

namespace {

const Subcommand kLut{
    "lut", kLutUsage, {"--doc", "--map", "--format", "--size", "--level", "-o"}, {}};

class LutRun {
  public:
    LutRun(const CommandContext& context, const Arguments& arguments)
        : context_(context), arguments_(arguments) {}

    int run();

  private:
    int usage(const std::string& message) { return usageError(context_, kLut, message); }
    int fail(const std::string& file, const std::string& reason) {
        context_.err << "velo: " << file << ": " << reason << "\n";
        return kExitFailure;
    }
    std::optional<std::string> readLutSettings();
    std::optional<std::string> readNumber(const std::string& name, int low, int high, int& number);
    std::optional<std::string> readAdjustments(const VeloDocument::Adjustments& maps);

    const CommandContext& context_;
    const Arguments& arguments_;
    LutSettings lut_;
    std::vector<ColorAdjustment> adjustments_;
};

std::optional<std::string> LutRun::readNumber(const std::string& name, int low, int high,
                                              int& number) {
    if (!arguments_.hasValue(name)) {
        return std::nullopt;
    }
    std::string text = arguments_.value(name);
    std::size_t used = 0;
    try {
        number = std::stoi(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used == 0 || used != text.size() || number < low || number > high) {
        return name + " is a number from " + std::to_string(low) + " to " + std::to_string(high) +
               ", not '" + text + "'";
    }
    return std::nullopt;
}

std::optional<std::string> LutRun::readLutSettings() {
    std::string format = arguments_.value("--format");
    if (format != "cube" && format != "hald") {
        return format.empty() ? "--format cube|hald is missing"
                              : "--format is cube or hald, not '" + format + "'";
    }
    lut_.format = format == "cube" ? LutFormat::Cube : LutFormat::Hald;
    if (lut_.format == LutFormat::Cube && arguments_.hasValue("--level")) {
        return "--level is for --format hald; a cube takes --size";
    }
    if (lut_.format == LutFormat::Hald && arguments_.hasValue("--size")) {
        return "--size is for --format cube; a Hald CLUT takes --level";
    }
    if (auto error = readNumber("--size", kMinCubeSize, kMaxCubeSize, lut_.size)) {
        return error;
    }
    return readNumber("--level", kMinHaldLevel, kMaxHaldLevel, lut_.level);
}

// The document's active adjustments, then the maps. The document goes once
// they are copied, and its own recolouring with it.
std::optional<std::string> LutRun::readAdjustments(const VeloDocument::Adjustments& maps) {
    VeloDocument::Adjustments active;
    if (arguments_.hasValue("--doc")) {
        VeloDocument document;
        VeloDocument::LoadResult loaded =
            document.readFromFile(arguments_.value("--doc"), kVeloDocumentType);
        if (!loaded.ok) {
            return loaded.error;
        }
        active = copiesOf(document.activeColorAdjustments());
    }
    active.insert(active.end(), maps.begin(), maps.end());
    adjustments_ = *AdjustmentEngine::copies(active);
    return std::nullopt;
}

int LutRun::run() {
    if (!arguments_.operands.empty()) {
        return usage("unexpected '" + arguments_.operands.front() + "'");
    }
    if (auto error = readLutSettings()) {
        return usage(*error);
    }
    if (!arguments_.hasValue("-o")) {
        return usage("-o OUT is missing");
    }
    DocumentSettings settings;
    if (auto error = readDocumentSettings(arguments_, settings)) {
        return usage(*error);
    }
    ImageMaps maps = mapsForImage(settings, nullptr);
    if (!maps.error.empty()) {
        return usage("--map " + maps.error);
    }
    fs::path out = arguments_.value("-o");
    std::error_code ignored;
    if (arguments_.hasValue("--doc") && fs::equivalent(arguments_.value("--doc"), out, ignored)) {
        return fail(out.string(), "the table would overwrite the document");
    }
    if (auto error = readAdjustments(maps.adjustments)) {
        return fail(arguments_.value("--doc"), *error);
    }
    if (dependsOnAlpha(adjustments_)) {
        context_.err << "velo lut: warning: the adjustments match on or change alpha, which a "
                        "colour table cannot hold; it holds their effect on opaque pixels only\n";
    }
    fs::path titled = arguments_.hasValue("--doc") ? fs::path(arguments_.value("--doc")) : out;
    if (auto error = writeLut(out, adjustments_, lut_, titled.stem().string())) {
        return fail(out.string(), *error);
    }
    return kExitSuccess;
}

} // namespace

int runLutCommand(const CommandContext& context) {
    return runCommand(context, kLut,
                      [&](const Arguments& arguments) { return LutRun(context, arguments).run(); });
}

} // namespace velo
