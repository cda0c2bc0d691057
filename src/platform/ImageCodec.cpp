#include "platform/ImageCodec.h"

#include "platform/DecodedBitmaps.h"
#include "platform/Files.h"
#include "platform/ImageMetadata.h"
#include "platform/OwnDecoders.h"
#include "platform/QtImageDecoder.h"

#include <unistd.h>

namespace velo {

namespace {

std::uint64_t quarterOfPhysicalMemory() {
    long pages = sysconf(_SC_PHYS_PAGES);
    long pageSize = sysconf(_SC_PAGE_SIZE);
    if (pages <= 0 || pageSize <= 0) {
        return std::uint64_t{1} << 30;
    }
    return static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize) / 4;
}

std::uint64_t& memoryLimit() {
    static std::uint64_t limit = quarterOfPhysicalMemory();
    return limit;
}

// JPEG and PNG through our own decoders where they give exactly what Qt's
// readers give; anything they do not take, or fail on, Qt's readers decide.
std::optional<Image> decodeOwn(std::span<const std::uint8_t> bytes) {
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
    return singleBitmapImage(std::move(bitmap));
}

} // namespace

std::uint64_t imageMemoryLimit() {
    return memoryLimit();
}

void setImageMemoryLimit(std::uint64_t bytes) {
    memoryLimit() = bytes;
}

DecodedImage decodeImage(std::span<const std::uint8_t> bytes) {
    try {
        if (std::optional<Image> own = decodeOwn(bytes)) {
            return {std::move(own), {}};
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
