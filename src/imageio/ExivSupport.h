#pragma once

// Exiv2 behind ImageMetadata: for its own implementation files only.
#include "imageio/ImageMetadata.h"

#include <exiv2/exiv2.hpp>

namespace velo {

struct ImageMetadata::Tags {
    Exiv2::ExifData exif;
    Exiv2::XmpData xmp;
    Exiv2::IptcData iptc;
};

// Before any other use of Exiv2, from any thread.
void setUpExiv2();

} // namespace velo
