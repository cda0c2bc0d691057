// Writing the document in a type: its own archive, or the adjusted image.
#include "document/DefaultsKeys.h"
#include "document/FileTypes.h"
#include "document/VeloDocument.h"
#include "imageio/ImageMetadata.h"
#include "platform/Localization.h"
#include "platform/Log.h"

#include <cstdlib>

namespace velo {

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
    engine_.waitUntilComplete();
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
