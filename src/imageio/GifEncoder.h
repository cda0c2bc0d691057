#pragma once

#include "imageio/Coded.h"
#include "platform/Bitmap.h"

namespace velo {

// A GIF with a palette of at most 256 colours chosen by libimagequant, and
// one transparent entry where the bitmap has (mostly) transparent pixels.
EncodedData encodeGif(const Bitmap& bitmap);

} // namespace velo
