#include "platform/ImageEncoder.h"

#include "platform/GifEncoder.h"
#include "platform/RowCodec.h"

#include <cmath>

namespace velo {

namespace {

// Sample k of pixel x in buffer row y, whatever the layout.
std::uint8_t sampleAt(const Bitmap& bitmap, int x, int y, int k) {
    std::size_t row = static_cast<std::size_t>(y) * bitmap.bytesPerRow();
    if (bitmap.isPlanar()) {
        return bitmap.plane(k)[row + x];
    }
    return bitmap.plane(0)[row + static_cast<std::size_t>(x) * (bitmap.bitsPerPixel() / 8) + k];
}

// The bitmap's rows through the row writer, into memory: the same bytes as
// writing it a band at a time. Nothing when the writer does not take it.
std::optional<EncodedData> encodeInRows(const Bitmap& bitmap, ImageFileType type,
                                        float jpegQuality) {
    auto sink = std::make_shared<MemorySink>();
    std::unique_ptr<RowWriter> writer =
        openRowWriter(sink, type, bitmap, bitmap.pixelsHigh(), bitmap.size(), jpegQuality);
    if (!writer) {
        return std::nullopt;
    }
    writer->write(bitmap, bitmap.pixelsHigh());
    if (std::optional<std::string> error = writer->finish()) {
        return EncodedData{std::nullopt, *error};
    }
    return EncodedData{std::move(sink->bytes()), {}};
}

// What no row writer takes: planar TIFFs, GIFs, and empty images.
EncodedData encodeWhole(const Bitmap& bitmap, ImageFileType type) {
    switch (type) {
    case ImageFileType::TIFF:
        return encodeTiff(bitmap);
    case ImageFileType::GIF:
        return encodeGif(bitmap);
    default:
        return {std::nullopt, "the image has no pixels"};
    }
}

} // namespace

std::vector<std::uint8_t> straightRGBA(const Bitmap& bitmap) {
    int samples = bitmap.samplesPerPixel();
    std::vector<std::uint8_t> out(static_cast<std::size_t>(bitmap.pixelsWide()) *
                                  bitmap.pixelsHigh() * 4);
    std::size_t i = 0;
    for (int y = 0; y < bitmap.pixelsHigh(); ++y) {
        for (int x = 0; x < bitmap.pixelsWide(); ++x, i += 4) {
            std::uint8_t alpha = bitmap.hasAlpha() ? sampleAt(bitmap, x, y, samples - 1) : 255;
            for (int c = 0; c < 3; ++c) {
                int value = sampleAt(bitmap, x, y, samples <= 2 ? 0 : c);
                if (alpha != 0 && alpha != 255) {
                    value = std::min(255, (value * 255 + alpha / 2) / alpha);
                }
                out[i + c] = static_cast<std::uint8_t>(alpha == 0 ? 0 : value);
            }
            out[i + 3] = alpha;
        }
    }
    return out;
}

EncodedData encodeImage(const Bitmap& bitmap, ImageFileType type, float jpegQuality) {
    try {
        if (std::optional<EncodedData> inRows = encodeInRows(bitmap, type, jpegQuality)) {
            return std::move(*inRows);
        }
        return encodeWhole(bitmap, type);
    } catch (const std::bad_alloc&) {
        return {std::nullopt, "not enough memory to encode the image"};
    } catch (const std::exception& e) {
        return {std::nullopt, e.what()};
    }
}

} // namespace velo
