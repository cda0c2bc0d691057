#pragma once

#include "platform/PropertyValue.h"

#include <tiffio.h>

#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace velo {

// A growable buffer that libtiff reads from or writes to.
struct MemoryFile {
    PropertyValue::Data bytes;
    std::span<const std::uint8_t> input;
    toff_t position = 0;
    bool writing = false;

    std::size_t size() const { return writing ? bytes.size() : input.size(); }
};

struct TiffCloser {
    void operator()(TIFF* tiff) const { TIFFClose(tiff); }
};
using TiffHandle = std::unique_ptr<TIFF, TiffCloser>;

// Opens the buffer through libtiff ("rm" to read, "w" to write); libtiff's
// messages of this thread are kept for tiffError.
TIFF* openMemory(MemoryFile& file, const char* mode);

// libtiff's last error on this thread since openMemory, or the fallback.
std::string tiffError(const char* fallback);

} // namespace velo
