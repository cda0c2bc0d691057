#include "imageio/OwnDecoders.h"

#include "imageio/JpegDecoder.h"
#include "imageio/PngDecoder.h"
#include "imageio/QtOrientation.h"

namespace velo {

namespace {

template <typename Origin>
std::unique_ptr<RowDecoder> openFor(std::span<const std::uint8_t> start, const Origin& origin,
                                    EncodedSource source) {
    if (looksLikePng(start)) {
        return openPngDecoder(source);
    }
    if (looksLikeJpeg(start) && !turnedWhenDecoded(origin)) {
        return openJpegDecoder(source);
    }
    return nullptr;
}

} // namespace

std::unique_ptr<RowDecoder> openOwnDecoder(std::span<const std::uint8_t> bytes) {
    return openFor(bytes, bytes, {bytes, nullptr});
}

std::unique_ptr<RowDecoder> openOwnDecoder(const std::filesystem::path& path, std::FILE* file) {
    std::uint8_t start[8] = {};
    std::size_t read = std::fread(start, 1, sizeof start, file);
    std::rewind(file);
    return openFor(std::span<const std::uint8_t>(start, read), path, {{}, file});
}

} // namespace velo
