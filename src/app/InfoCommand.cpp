#include "app/InfoCommand.h"

#include "app/ColorSpecs.h"
#include "app/Subcommand.h"
#include "color/WorkingBitmap.h"
#include "document/DocumentController.h"
#include "document/FileTypes.h"
#include "imageio/IccDescription.h"
#include "imageio/ImageCodec.h"
#include "imageio/ImageMetadata.h"
#include "platform/Files.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <ostream>

namespace velo {

const char* const kInfoUsage = "usage: velo info FILE.velo|IMAGE [--json]\n"
                               "Describes a document or an image.\n";

namespace {

using json = nlohmann::ordered_json;

std::string layoutName(int samples, bool hasAlpha) {
    static const char* names[] = {"?", "grey", "grey+alpha", "RGB", "RGBA"};
    if (samples == 4 && !hasAlpha) {
        return "4 samples without alpha";
    }
    return samples >= 1 && samples <= 4 ? names[samples] : "?";
}

json describeBitmap(const Bitmap& bitmap) {
    return {{"width", bitmap.pixelsWide()},
            {"height", bitmap.pixelsHigh()},
            {"layout", layoutName(bitmap.samplesPerPixel(), bitmap.hasAlpha())},
            {"bitsPerSample", bitmap.bitsPerSample()},
            {"planar", bitmap.isPlanar()}};
}

// The colour profile and the main EXIF fields, those there are.
void describeMetadata(json& info, const std::shared_ptr<const IccProfile>& profile,
                      const ImageMetadata* metadata) {
    if (profile) {
        std::optional<std::string> description = iccProfileDescription(*profile);
        info["colorProfile"] = {{"description", description ? json(*description) : json()},
                                {"bytes", profile->size()}};
    }
    std::vector<ImageMetadata::Field> fields =
        metadata ? metadata->mainExifFields() : std::vector<ImageMetadata::Field>{};
    if (!fields.empty()) {
        json exif = json::object();
        for (const ImageMetadata::Field& field : fields) {
            exif[field.name] = field.value;
        }
        info["exif"] = exif;
    }
}

json describeImage(const Image& image) {
    json reps = json::array();
    for (const ImageRep& rep : image.representations) {
        reps.push_back({{"width", rep.pixelsWide},
                        {"height", rep.pixelsHigh},
                        {"layout", layoutName(rep.samplesPerPixel, rep.hasAlpha)},
                        {"bitsPerSample", rep.bitsPerSample},
                        {"usable", isAcceptableBitmap(rep)}});
    }
    json info = {{"kind", "image"},
                 {"sizeInPoints", {image.size.width, image.size.height}},
                 {"representations", reps}};
    if (auto working = bitmap(image)) {
        json chosen = describeBitmap(*working);
        chosen["rendered"] =
            std::none_of(image.representations.begin(), image.representations.end(),
                         [&](const ImageRep& r) { return r.bitmap == working; });
        info["workingBitmap"] = chosen;
    }
    describeMetadata(info, image.metadata ? image.metadata->iccProfile() : nullptr,
                     image.metadata.get());
    return info;
}

// A ball's radius as a number, a range as its three extents.
json describeReach(const std::optional<Reach>& reach) {
    if (!reach) {
        return json();
    }
    if (!reach->isRange) {
        return json(reach->radius());
    }
    return {{"lightness", reach->lightness}, {"chroma", reach->chroma}, {"hue", reach->hue}};
}

json describeDocument(const VeloDocument& document) {
    json adjustments = json::array();
    const auto& active = document.activeColorAdjustments();
    for (const auto& a : document.colorAdjustments()) {
        adjustments.push_back(
            {{"model", colorModelName(a->colorModel())},
             {"mask", a->componentsMask()},
             {"reach", describeReach(a->reach())},
             {"source", describeColor(a->sourceColor())},
             {"target", describeColor(a->targetColor())},
             {"active", std::find(active.begin(), active.end(), a) != active.end()}});
    }
    json info = {{"kind", "document"}, {"version", document.fileVersion()}};
    info["image"] = document.sourceBitmap() ? describeBitmap(*document.sourceBitmap()) : json();
    info["alpha"] = document.destinationBitmap() && document.destinationBitmap()->hasAlpha();
    info["background"] = describeColor(document.backgroundColor());
    info["adjustments"] = adjustments;
    const std::shared_ptr<const Image>& source = document.sourceImage();
    describeMetadata(info,
                     document.sourceBitmap() ? document.sourceBitmap()->iccProfile() : nullptr,
                     source ? source->metadata.get() : nullptr);
    return info;
}

void printBitmapLine(std::ostream& out, const json& b) {
    out << b["width"] << "x" << b["height"] << " " << b["layout"].get<std::string>() << ", "
        << b["bitsPerSample"] << " bits per sample" << (b.value("planar", false) ? ", planar" : "");
}

void printMetadata(std::ostream& out, const json& info) {
    if (info.contains("colorProfile")) {
        const json& profile = info["colorProfile"];
        out << "colour profile: ";
        if (!profile["description"].is_null()) {
            out << profile["description"].get<std::string>() << ", ";
        }
        out << profile["bytes"] << " bytes\n";
    }
    if (info.contains("exif")) {
        out << "EXIF:\n";
        for (const auto& [name, value] : info["exif"].items()) {
            out << "  " << name << ": " << value.get<std::string>() << "\n";
        }
    }
}

// A reach as --map writes it: a radius, or "L0.3,C0.08,H0.12" for a range.
void printReach(std::ostream& out, const json& reach) {
    if (!reach.is_object()) {
        out << reach.get<float>();
        return;
    }
    out << "L" << reach["lightness"].get<float>() << ",C" << reach["chroma"].get<float>() << ",H"
        << reach["hue"].get<float>();
}

void printText(std::ostream& out, const std::string& path, const json& info) {
    out << path << "\n";
    if (info["kind"] == "image") {
        out << "size in points: " << info["sizeInPoints"][0].get<double>() << "x"
            << info["sizeInPoints"][1].get<double>() << "\n";
        out << "representations: " << info["representations"].size() << "\n";
        for (std::size_t i = 0; i < info["representations"].size(); ++i) {
            const json& rep = info["representations"][i];
            out << "  [" << i << "] ";
            printBitmapLine(out, rep);
            out << (rep["usable"].get<bool>() ? "" : " (not usable directly)") << "\n";
        }
        if (info.contains("workingBitmap")) {
            out << "working bitmap: ";
            printBitmapLine(out, info["workingBitmap"]);
            out << (info["workingBitmap"]["rendered"].get<bool>() ? " (rendered)" : "") << "\n";
        }
        if (info.contains("damage")) {
            out << "damaged: " << info["damage"].get<std::string>() << "\n";
        }
        printMetadata(out, info);
        return;
    }
    std::string version = info["version"].get<std::string>();
    out << "Velo document, version " << (version.empty() ? "none" : version) << "\n";
    out << "image: ";
    if (info["image"].is_null()) {
        out << "none";
    } else {
        printBitmapLine(out, info["image"]);
    }
    out << "\nalpha: " << (info["alpha"].get<bool>() ? "yes" : "no") << "\n";
    out << "background: " << info["background"].get<std::string>() << "\n";
    printMetadata(out, info);
    out << "adjustments: " << info["adjustments"].size() << "\n";
    for (const json& a : info["adjustments"]) {
        out << "  " << (a["active"].get<bool>() ? "on " : "off") << " "
            << a["model"].get<std::string>() << " mask " << a["mask"] << "  "
            << a["source"].get<std::string>() << " > " << a["target"].get<std::string>();
        if (!a["reach"].is_null()) {
            out << "  reach ";
            printReach(out, a["reach"]);
        }
        out << "\n";
    }
}

int describe(const CommandContext& context, const Arguments& arguments) {
    const std::string& path = arguments.operands[0];
    json info;
    if (DocumentController::typeForFile(path) == kVeloDocumentType) {
        VeloDocument document(nullptr, 1);
        VeloDocument::LoadResult loaded = document.readFromFile(path, kVeloDocumentType);
        if (!loaded.ok) {
            context.err << "velo: " << path << ": " << loaded.error << "\n";
            return kExitFailure;
        }
        info = describeDocument(document);
    } else {
        FileBytes file = readFile(path);
        DecodedImage decoded =
            file.bytes ? decodeImage(*file.bytes) : DecodedImage{std::nullopt, file.error};
        if (!decoded.image) {
            context.err << "velo: " << path << ": " << decoded.error << "\n";
            return kExitFailure;
        }
        attachImageMetadata(*decoded.image, *file.bytes);
        info = describeImage(*decoded.image);
        if (!decoded.damage.empty()) {
            info["damage"] = decoded.damage;
        }
    }
    if (arguments.has("--json")) {
        context.out << info.dump(2) << "\n";
    } else {
        printText(context.out, path, info);
    }
    return kExitSuccess;
}

} // namespace

int runInfoCommand(const CommandContext& context) {
    const Subcommand info{"info", kInfoUsage, {}, {"--json"}};
    return runCommand(context, info, [&](const Arguments& arguments) {
        if (arguments.operands.size() != 1) {
            return usageError(context, info, "give one file");
        }
        return describe(context, arguments);
    });
}

} // namespace velo
