#include "imageio/RowCodec.h"

#include "imageio/RowWriters.h"

namespace velo {

std::unique_ptr<RowWriter> openRowWriter(std::shared_ptr<ByteSink> sink, ImageFileType type,
                                         const Bitmap& layout, int pixelsHigh, Size pointSize,
                                         float jpegQuality) {
    if (layout.pixelsWide() <= 0 || pixelsHigh <= 0 ||
        (layout.isDeep() && !holdsDeepSamples(type))) {
        return nullptr;
    }
    switch (type) {
    case ImageFileType::JPEG:
        return openJpegRowWriter(std::move(sink), layout, pixelsHigh, pointSize, jpegQuality);
    case ImageFileType::PNG:
        return openPngRowWriter(std::move(sink), layout, pixelsHigh, pointSize);
    case ImageFileType::BMP:
        return openBmpRowWriter(std::move(sink), layout, pixelsHigh, pointSize);
    case ImageFileType::TIFF:
        return openTiffRowWriter(std::move(sink), layout, pixelsHigh, pointSize);
    case ImageFileType::GIF:
        return nullptr;
    }
    return nullptr;
}

std::unique_ptr<RowWriter> openRowWriter(const std::filesystem::path& path, ImageFileType type,
                                         const Bitmap& layout, int pixelsHigh, Size pointSize,
                                         float jpegQuality) {
    if (type == ImageFileType::GIF || (type == ImageFileType::TIFF && layout.isPlanar())) {
        return nullptr;
    }
    std::string error;
    std::shared_ptr<ByteSink> sink = openFileSink(path, error);
    if (!sink) {
        return nullptr;
    }
    return openRowWriter(std::move(sink), type, layout, pixelsHigh, pointSize, jpegQuality);
}

} // namespace velo
