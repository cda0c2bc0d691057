#include "imageio/PngFilter.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace velo {

namespace {

constexpr int kFilters = 5;

std::uint8_t paeth(int a, int b, int c) {
    int p = a + b - c;
    int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return static_cast<std::uint8_t>(pa <= pb && pa <= pc ? a : pb <= pc ? b : c);
}

// Each filter over the whole row in a loop of its own, which compilers
// vectorise; the first pixel has no left neighbour (zero).
void sub(const std::uint8_t* row, std::size_t n, std::size_t bpp, std::uint8_t* out) {
    std::memcpy(out, row, std::min(bpp, n));
    for (std::size_t i = bpp; i < n; ++i) {
        out[i] = static_cast<std::uint8_t>(row[i] - row[i - bpp]);
    }
}

void up(const std::uint8_t* row, const std::uint8_t* above, std::size_t n, std::uint8_t* out) {
    for (std::size_t i = 0; i < n; ++i) {
        out[i] = static_cast<std::uint8_t>(row[i] - above[i]);
    }
}

void average(const std::uint8_t* row, const std::uint8_t* above, std::size_t n, std::size_t bpp,
             std::uint8_t* out) {
    for (std::size_t i = 0; i < std::min(bpp, n); ++i) {
        out[i] = static_cast<std::uint8_t>(row[i] - (above[i] >> 1));
    }
    for (std::size_t i = bpp; i < n; ++i) {
        out[i] = static_cast<std::uint8_t>(row[i] - ((row[i - bpp] + above[i]) >> 1));
    }
}

void paethRow(const std::uint8_t* row, const std::uint8_t* above, std::size_t n, std::size_t bpp,
              std::uint8_t* out) {
    for (std::size_t i = 0; i < std::min(bpp, n); ++i) {
        out[i] = static_cast<std::uint8_t>(row[i] - above[i]);
    }
    for (std::size_t i = bpp; i < n; ++i) {
        out[i] = static_cast<std::uint8_t>(row[i] - paeth(row[i - bpp], above[i], above[i - bpp]));
    }
}

unsigned long long magnitudes(const std::uint8_t* residuals, std::size_t n) {
    unsigned long long sum = 0;
    for (std::size_t i = 0; i < n; ++i) {
        sum += residuals[i] < 128 ? residuals[i] : 256 - residuals[i];
    }
    return sum;
}

} // namespace

PngFilter::PngFilter(std::size_t rowBytes, int bytesPerPixel)
    : rowBytes_(rowBytes), bytesPerPixel_(static_cast<std::size_t>(bytesPerPixel)),
      zeros_(rowBytes), candidates_(rowBytes * kFilters) {}

void PngFilter::filter(const std::uint8_t* row, const std::uint8_t* previous, std::uint8_t* out) {
    const std::uint8_t* above = previous ? previous : zeros_.data();
    std::uint8_t* c = candidates_.data();
    std::size_t n = rowBytes_;
    std::memcpy(c, row, n);
    sub(row, n, bytesPerPixel_, c + n);
    up(row, above, n, c + 2 * n);
    average(row, above, n, bytesPerPixel_, c + 3 * n);
    paethRow(row, above, n, bytesPerPixel_, c + 4 * n);
    int best = 0;
    unsigned long long least = magnitudes(c, n);
    for (int type = 1; type < kFilters; ++type) {
        unsigned long long sum = magnitudes(c + type * n, n);
        if (sum < least) {
            least = sum;
            best = type;
        }
    }
    out[0] = static_cast<std::uint8_t>(best);
    std::memcpy(out + 1, c + best * n, n);
}

} // namespace velo
