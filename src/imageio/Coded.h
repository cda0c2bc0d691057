#pragma once

#include "platform/Bitmap.h"
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

} // namespace velo
