#include "imageio/ImageCodec.h"

#include "imageio/DamagedImages.h"
#include "imageio/DecodedBitmaps.h"
#include "imageio/ImageMetadata.h"
#include "imageio/OwnDecoders.h"
#include "imageio/PngDecoder.h"
#include "imageio/QtImageDecoder.h"
#include "platform/Files.h"

namespace velo {

namespace {

// JPEG and PNG through our own decoders where they give exactly what Qt's
// readers give; anything they do not take, or fail on, Qt's readers decide.
std::optional<DecodedImage> decodeOwn(std::span<const std::uint8_t> bytes) {
    std::unique_ptr<RowDecoder> decoder = openOwnDecoder(bytes);
    if (!decoder) {
        return std::nullopt;
    }
    auto bitmap =
        newDecodedBitmap(decoder->pixelsWide(), decoder->pixelsHigh(), decoder->samplesPerPixel());
    if (!decoder->readRows(*bitmap, 0, decoder->pixelsHigh())) {
        return std::nullopt;
    }
    bitmap->setSize(decoder->pointSize());
    return DecodedImage{singleBitmapImage(std::move(bitmap)), {}, decoder->damage()};
}

// Qt's readers refuse damaged PNG, TIFF and WebP files outright, and read a
// damaged GIF in silence; what can be read of them is kept, and the damage said.
DecodedImage decodeWithQt(std::span<const std::uint8_t> bytes) {
    DecodedImage decoded = decodeWithQtOnly(bytes);
    if (!decoded.image) {
        std::optional<DecodedImage> salvaged = salvageDamagedImage(bytes);
        return salvaged ? std::move(*salvaged) : decoded; // its image, or a clearer reason
    }
    if (decoded.damage.empty()) {
        decoded.damage = silentDamage(bytes);
    }
    return decoded;
}

} // namespace

DecodedImage decodeImage(std::span<const std::uint8_t> bytes) {
    try {
        std::optional<DecodedImage> own = decodeOwn(bytes);
        // A PNG our decoder finds damaged is Qt's to decide, should Qt read it.
        if (own && (own->damage.empty() || !looksLikePng(bytes))) {
            return std::move(*own);
        }
        DecodedImage decoded = decodeWithQt(bytes);
        return !decoded.image && own ? std::move(*own) : decoded;
    } catch (const std::bad_alloc&) {
        return {std::nullopt, "not enough memory to decode the image"};
    } catch (const std::exception& e) {
        return {std::nullopt, std::string("the image cannot be decoded: ") + e.what()};
    }
}

DecodedImage readImageFile(const std::filesystem::path& path) {
    FileBytes file = readFile(path);
    if (!file.bytes) {
        return {std::nullopt, file.error};
    }
    DecodedImage decoded = decodeImage(*file.bytes);
    if (decoded.image) {
        attachImageMetadata(*decoded.image, *file.bytes);
    }
    return decoded;
}

} // namespace velo
