#pragma once

#include "platform/Bitmap.h"
#include "platform/Geometry.h"

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>

namespace velo {

// Where a decoder reads the encoded image from: bytes in memory, or an open
// file it reads as it goes (and does not close).
struct EncodedSource {
    std::span<const std::uint8_t> bytes;
    std::FILE* file = nullptr;
};

// A decoder giving an image's rows from the top, in exactly the layout and
// pixels that decodeImage gives it (see DecodedBitmaps.h).
class RowDecoder {
  public:
    virtual ~RowDecoder() = default;

    virtual int pixelsWide() const = 0;
    virtual int pixelsHigh() const = 0;
    virtual int samplesPerPixel() const = 0;
    virtual Size pointSize() const = 0;

    // Decodes the next rows into rows firstRow... of the bitmap, which has
    // this decoder's layout. False on a failure, which error() explains.
    virtual bool readRows(Bitmap& bitmap, int firstRow, int rows) = 0;
    virtual const std::string& error() const = 0;
    // What of the image the data did not hold (it ends early, or is corrupt
    // somewhere), found so far; empty while it is whole.
    virtual std::string damage() const { return {}; }
};

} // namespace velo
