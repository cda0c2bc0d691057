#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace velo {

// Filters PNG rows as libpng (and so ImageMagick) does by default: each row
// with the filter whose residuals, taken as signed bytes, have the smallest
// sum of magnitudes; the earliest filter on a tie.
class PngFilter {
  public:
    PngFilter(std::size_t rowBytes, int bytesPerPixel);

    // Writes the filter type and the filtered row (rowBytes + 1 bytes) to out.
    // previous is the row above, or null for the first row.
    void filter(const std::uint8_t* row, const std::uint8_t* previous, std::uint8_t* out);

  private:
    std::size_t rowBytes_;
    std::size_t bytesPerPixel_;
    std::vector<std::uint8_t> zeros_;
    std::vector<std::uint8_t> candidates_;
};

} // namespace velo
