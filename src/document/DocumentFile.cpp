// The document as files: the "Velo document" (one archived dictionary
// holding the source image, the adjustments, the alpha flag and the
// background colour), and the adjusted image in a raster type.
#include "document/DefaultsKeys.h"
#include "document/FileTypes.h"
#include "document/VeloDocument.h"
#include "imageio/ImageCodec.h"
#include "imageio/ImageEncoder.h"
#include "imageio/ImageMetadata.h"
#include "imageio/TiffCodec.h"
#include "platform/Archiver.h"
#include "platform/Files.h"
#include "platform/Localization.h"
#include "platform/Log.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace velo {

namespace {

const std::string kVersion = "version";
const std::string kActive = "activeColorAdjustments";
const std::string kInactive = "inactiveColorAdjustments";
const std::string kSourceImage = "sourceImage";
const std::string kHasAlpha = "hasAlpha";
const std::string kBackgroundColor = "backgroundColor";
const std::string kColorSpace = "colorSpace";

using Adjustments = VeloDocument::Adjustments;

PropertyValue::Array pLists(const Adjustments& adjustments) {
    PropertyValue::Array array;
    for (const auto& adjustment : adjustments) {
        array.push_back(adjustment->pList());
    }
    return array;
}

std::string wrongKind(const std::string& key, const char* expected) {
    return "the document's \"" + key + "\" is not " + expected;
}

// An integer or real number as an int, or nothing for any other value.
std::optional<std::int64_t> integerOf(const PropertyValue& value) {
    if (const std::int64_t* integer = value.asInteger()) {
        return *integer;
    }
    if (const double* real = value.asReal(); real && std::abs(*real) < 9e18) {
        return static_cast<std::int64_t>(*real);
    }
    return std::nullopt;
}

} // namespace

struct VeloDocument::ParsedDocument {
    std::optional<std::shared_ptr<const Image>> image;
    Adjustments active;
    Adjustments inactive;
    std::optional<bool> colorSpaceAlpha;
    std::optional<bool> hasAlpha;
    std::optional<ColorRef> backgroundColor;
    std::string error;
};

namespace {

bool parseAdjustments(const PropertyValue& root, const std::string& key, Adjustments& out,
                      std::string& error) {
    const PropertyValue* value = root.find(key);
    if (!value) {
        return true;
    }
    if (!value->asArray()) {
        error = wrongKind(key, "an array");
        return false;
    }
    for (const PropertyValue& dict : *value->asArray()) {
        if (auto problem = ColorAdjustment::checkDictionary(dict)) {
            error = *problem;
            return false;
        }
        out.push_back(ColorAdjustment::initWithValuesInDict(&dict));
    }
    return true;
}

bool parseImage(const PropertyValue& root, std::optional<std::shared_ptr<const Image>>& out,
                std::string& error) {
    const PropertyValue* value = root.find(kSourceImage);
    if (!value) {
        return true;
    }
    if (!value->asData()) {
        error = wrongKind(kSourceImage, "image data");
        return false;
    }
    DecodedBitmap tiff = decodeTiff(*value->asData());
    if (tiff.bitmap) {
        auto image = std::make_shared<Image>();
        image->size = tiff.bitmap->size();
        image->representations.push_back(ImageRep::fromBitmap(tiff.bitmap));
        out = std::move(image);
        return true;
    }
    DecodedImage decoded = decodeImage(*value->asData());
    if (!decoded.image) {
        error = "the document's image cannot be decoded: " + decoded.error;
        return false;
    }
    attachImageMetadata(*decoded.image, *value->asData());
    out = std::make_shared<const Image>(std::move(*decoded.image));
    return true;
}

bool parseFlags(const PropertyValue& root, std::optional<bool>& colorSpaceAlpha,
                std::optional<bool>& hasAlpha, std::optional<ColorRef>& background,
                std::string& error) {
    if (const PropertyValue* value = root.find(kColorSpace)) {
        std::optional<std::int64_t> space = integerOf(*value);
        if (!space) {
            error = wrongKind(kColorSpace, "a number");
            return false;
        }
        colorSpaceAlpha = *space == 1 || *space == 3;
    }
    if (const PropertyValue* value = root.find(kHasAlpha)) {
        std::optional<std::int64_t> number = integerOf(*value);
        if (!value->asBool() && !number) {
            error = wrongKind(kHasAlpha, "a boolean");
            return false;
        }
        hasAlpha = value->asBool() ? *value->asBool() : *number != 0;
    }
    if (const PropertyValue* value = root.find(kBackgroundColor)) {
        UnarchivedColor color = value->asData() ? unarchiveColor(*value->asData())
                                                : UnarchivedColor{false, nullptr, {}};
        if (!color.ok) {
            error = wrongKind(kBackgroundColor, "a colour");
            return false;
        }
        background = color.color;
    }
    return true;
}

} // namespace

EncodedData VeloDocument::documentArchive() const {
    return archiveSnapshot()();
}

// The image is encoded when the archive is made, perhaps on another thread:
// the source bitmap is never changed once made, only replaced.
std::function<EncodedData()> VeloDocument::archiveSnapshot() const {
    Adjustments inactive;
    for (const auto& adjustment : colorAdjustments_) {
        if (std::find(activeColorAdjustments_.begin(), activeColorAdjustments_.end(), adjustment) ==
            activeColorAdjustments_.end()) {
            inactive.push_back(adjustment);
        }
    }
    PropertyValue::Dictionary root{
        {kActive, pLists(activeColorAdjustments_)},
        {kInactive, pLists(inactive)},
        {kVersion, "1"},
        {kHasAlpha, destinationBitmap_ && destinationBitmap_->hasAlpha()},
    };
    if (!colorsEqual(Color::clearColor(), backgroundColor_)) {
        root[kBackgroundColor] = archivedColor(backgroundColor_);
    }
    return
        [root = std::move(root), source = std::shared_ptr<const Bitmap>(sourceBitmap_)]() mutable {
            if (source) {
                EncodedData tiff = encodeTiff(*source);
                if (!tiff.data) {
                    return EncodedData{std::nullopt, "cannot encode the image: " + tiff.error};
                }
                root[kSourceImage] = std::move(*tiff.data);
            }
            return EncodedData{archivedDataWithRootObject(PropertyValue(std::move(root))), {}};
        };
}

VeloDocument::LoadResult VeloDocument::loadDataRepresentation(std::span<const std::uint8_t> data,
                                                              const std::string& typeName) {
    // The image and its damage reach the observers together.
    ChangeBatch batch(*this);
    ParsedDocument parsed;
    if (typeName != kVeloDocumentType) {
        DecodedImage decoded = decodeImage(data);
        if (!decoded.image) {
            return {false, decoded.error};
        }
        attachImageMetadata(*decoded.image, data);
        setSourceImage(std::make_shared<const Image>(std::move(*decoded.image)));
        sourceDamage_ = decoded.damage;
        return {true, {}};
    }
    Unarchived archive = unarchiveObjectWithData(data);
    if (!archive.value) {
        return {false, "not a Velo document: " + archive.error};
    }
    const PropertyValue& root = *archive.value;
    if (!root.asDictionary()) {
        return {false, "not a Velo document: the archive holds no dictionary"};
    }
    const PropertyValue* version = root.find(kVersion);
    if (version && !version->asString()) {
        return {false, wrongKind(kVersion, "a string")};
    }
    std::string error;
    if (!parseAdjustments(root, kActive, parsed.active, error) ||
        !parseAdjustments(root, kInactive, parsed.inactive, error) ||
        !parseFlags(root, parsed.colorSpaceAlpha, parsed.hasAlpha, parsed.backgroundColor, error) ||
        !parseImage(root, parsed.image, error)) {
        return {false, error};
    }
    apply(parsed);
    fileVersion_ = version ? *version->asString() : std::string();
    return {true, {}};
}

// Only a fully checked document gets here, so reading never stops halfway.
void VeloDocument::apply(ParsedDocument& parsed) {
    ChangeBatch batch(*this);
    if (parsed.image) {
        setSourceImage(*parsed.image);
    }
    replaceAdjustments(std::move(parsed.active), parsed.inactive);
    for (const std::optional<bool>& wantsAlpha : {parsed.colorSpaceAlpha, parsed.hasAlpha}) {
        if (wantsAlpha && destinationBitmap_ && destinationBitmap_->hasAlpha() != *wantsAlpha) {
            toggleImageAlpha();
        }
    }
    if (parsed.backgroundColor) {
        setBackgroundColor(*parsed.backgroundColor);
    }
}

void VeloDocument::replaceAdjustments(Adjustments active, const Adjustments& inactive) {
    ChangeBatch batch(*this);
    activeColorAdjustments_ = std::move(active);
    colorAdjustments_ = activeColorAdjustments_;
    colorAdjustments_.insert(colorAdjustments_.end(), inactive.begin(), inactive.end());
    for (auto& adjustment : colorAdjustments_) {
        adjustment->setUndoManager(undoManager_);
    }
    // The result must follow the new lists even before the window's set-up.
    restart();
}

std::optional<std::string> VeloDocument::writeToFile(const std::filesystem::path& path,
                                                     const std::string& typeName) {
    EncodedData data = dataRepresentationOfType(typeName);
    if (!data.data) {
        return data.error;
    }
    return writeFileAtomically(path, *data.data);
}

VeloDocument::LoadResult VeloDocument::readFromFile(const std::filesystem::path& path,
                                                    const std::string& typeName) {
    FileBytes file = velo::readFile(path);
    if (!file.bytes) {
        return {false, file.error};
    }
    return loadDataRepresentation(*file.bytes, typeName);
}

void VeloDocument::saveColorAdjustmentsAsDefault(UserDefaults& defaults) const {
    defaults.setObject(kActiveColorAdjustmentsDefault, pLists(activeColorAdjustments_));
}

// Writing the document in a type: its own archive, or the adjusted image.
namespace {

constexpr float kDefaultJpegCompressionFactor = 0.96f;

// A number's float value; a string's leading number, as in "0.5".
std::optional<float> floatValue(const PropertyValue& value) {
    if (const double* real = value.asReal()) {
        return static_cast<float>(*real);
    }
    if (const std::int64_t* integer = value.asInteger()) {
        return static_cast<float>(*integer);
    }
    if (const std::string* text = value.asString()) {
        return std::strtof(text->c_str(), nullptr);
    }
    return std::nullopt;
}

} // namespace

float VeloDocument::jpegCompressionFactor(const UserDefaults* defaults) {
    std::optional<PropertyValue> stored =
        defaults ? defaults->objectForKey(kJpegCompressionFactorDefault) : std::nullopt;
    std::optional<float> factor = stored ? floatValue(*stored) : std::nullopt;
    if (factor && *factor >= 0.0f && *factor <= 1.0f) {
        return *factor;
    }
    return kDefaultJpegCompressionFactor;
}

EncodedData VeloDocument::dataRepresentationOfType(const std::string& typeName) {
    ChangeBatch batch(*this);
    if (typeName == kVeloDocumentType) {
        return documentArchive();
    }
    std::optional<ImageFileType> type = exportTypeForName(typeName);
    if (!type) {
        logMessage(
            format(localizedString(VELO_TRANSLATE_NOOP("Velo", "Unknown file type:%@")), typeName));
        return {std::nullopt, "unknown file type " + typeName};
    }
    return exportImage(typeName, *type);
}

EncodedData VeloDocument::exportImage(const std::string& typeName, ImageFileType type) {
    if (!destinationBitmap_) {
        return {std::nullopt, "the document has no image to export"};
    }
    // Never encode a half-computed result, nor lines a worker is writing.
    waitUntilComplete();
    if (sourceImage_) {
        destinationBitmap_->setSize(sourceImage_->size);
    }
    // The pixels keep the source's encoding, so its profile stays true.
    destinationBitmap_->setIccProfile(keepsMetadata_ && sourceBitmap_ ? sourceBitmap_->iccProfile()
                                                                      : nullptr);
    EncodedData encoded = encodeImage(*destinationBitmap_, type, jpegCompressionFactor(defaults_),
                                      exportBitsPerSample_);
    if (!encoded.data) {
        std::string message =
            encoded.error.empty()
                ? format(localizedString(VELO_TRANSLATE_NOOP(
                             "Velo",
                             "Could not save the image to %@. Try saving it in another format.")),
                         typeName)
                : format(localizedString(VELO_TRANSLATE_NOOP(
                             "Velo",
                             "Could not save the image to %@. Try saving it in another format. "
                             "The cryptic internal error is '%@'")),
                         typeName, encoded.error);
        encoded.error = message;
    } else if (keepsMetadata_) {
        writeSourceMetadata(*encoded.data);
    }
    return encoded;
}

// An export without metadata rather than none when it cannot be written.
void VeloDocument::writeSourceMetadata(PropertyValue::Data& encoded) const {
    std::shared_ptr<const IccProfile> profile =
        sourceBitmap_ ? sourceBitmap_->iccProfile() : nullptr;
    const std::shared_ptr<const ImageMetadata>& read =
        sourceImage_ ? sourceImage_->metadata : nullptr;
    auto metadata =
        read ? read->withIccProfile(profile) : std::make_shared<const ImageMetadata>(profile);
    if (metadata->isEmpty()) {
        return;
    }
    if (auto error = writeImageMetadata(encoded, *metadata, destinationBitmap_->pixelsWide(),
                                        destinationBitmap_->pixelsHigh())) {
        logMessage(*error);
    }
}

} // namespace velo
