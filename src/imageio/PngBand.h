#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velo {

// A band of PNG rows compressed on its own: filtered, deflated with
// libdeflate, and (unless it ends the image) made joinable, so that the
// image's bands in order form one zlib stream's data.
struct CompressedPngBand {
    std::vector<std::uint8_t> deflated;
    std::uint32_t adler = 1; // of the filtered bytes
    std::size_t filteredBytes = 0;
    bool endsImage = false;
    std::string error;
};

struct PngBandRows {
    std::vector<std::uint8_t> rows;     // meshed straight samples, row after row
    std::vector<std::uint8_t> previous; // the row above the band; empty for the first
    std::size_t rowBytes = 0;
    int bytesPerPixel = 1;
    bool endsImage = false;
};

// Safe on any thread: everything it touches is its own.
CompressedPngBand compressPngBand(const PngBandRows& band);

} // namespace velo
