#pragma once

#include "platform/Bitmap.h"
#include "platform/Image.h"
#include "platform/PropertyValue.h"

#include <memory>
#include <optional>
#include <string>

namespace velo {

// An encoder's bytes, or why there are none.
struct EncodedData {
    std::optional<PropertyValue::Data> data;
    std::string error;
};

// A decoder's bitmap, or why there is none.
struct DecodedBitmap {
    std::shared_ptr<Bitmap> bitmap;
    std::string error;
};

// A decoded file's image, or why there is none.
struct DecodedImage {
    std::optional<Image> image;
    std::string error;       // why there is no image
    std::string damage = {}; // what of the image the data did not hold; empty: whole
};

// The raster file types images are written as.
enum class ImageFileType { TIFF, JPEG, BMP, GIF, PNG };

} // namespace velo
