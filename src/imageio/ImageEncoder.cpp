#include "imageio/ImageEncoder.h"

#include "imageio/GifEncoder.h"
#include "imageio/RowCodec.h"
#include "imageio/TiffCodec.h"
#include "platform/SampleDepth.h"

namespace velo {

namespace {

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

bool holdsDeepSamples(ImageFileType type) {
    return type == ImageFileType::PNG || type == ImageFileType::TIFF;
}

int outputBitsPerSample(ImageFileType type, int bitmapBits, int asked) {
    int wanted = asked != 0 ? asked : bitmapBits;
    return holdsDeepSamples(type) ? wanted : 8;
}

EncodedData encodeImage(const Bitmap& original, ImageFileType type, float jpegQuality,
                        int bitsPerSample) {
    try {
        int bits = outputBitsPerSample(type, original.bitsPerSample(), bitsPerSample);
        std::shared_ptr<Bitmap> converted;
        if (bits != original.bitsPerSample()) {
            converted = copyWithDepth(original, bits);
        }
        const Bitmap& bitmap = converted ? *converted : original;
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
