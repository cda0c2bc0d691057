#include "imageio/ImageCodec.h"

#include "imageio/DecodedBitmaps.h"
#include "imageio/ImageMetadata.h"
#include "imageio/OwnDecoders.h"
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

} // namespace

DecodedImage decodeImage(std::span<const std::uint8_t> bytes) {
    try {
        if (std::optional<DecodedImage> own = decodeOwn(bytes)) {
            return std::move(*own);
        }
        return decodeWithQtOnly(bytes);
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
