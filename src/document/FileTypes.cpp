#include "document/FileTypes.h"

namespace velo {

std::optional<ImageFileType> exportTypeForName(const std::string& name) {
    if (name == "tiff" || name == "tif" || name == kTIFFPboardType) {
        return ImageFileType::TIFF;
    }
    if (name == "jpg" || name == "JPEG" || name == "jpg 72 dpi") {
        return ImageFileType::JPEG;
    }
    if (name == "bmp") {
        return ImageFileType::BMP;
    }
    if (name == "gif") {
        return ImageFileType::GIF;
    }
    if (name == "png") {
        return ImageFileType::PNG;
    }
    return std::nullopt;
}

std::string extensionOf(ImageFileType type) {
    switch (type) {
    case ImageFileType::TIFF:
        return "tiff";
    case ImageFileType::JPEG:
        return "jpg";
    case ImageFileType::BMP:
        return "bmp";
    case ImageFileType::GIF:
        return "gif";
    case ImageFileType::PNG:
        break;
    }
    return "png";
}

} // namespace velo
