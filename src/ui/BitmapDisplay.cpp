#include "ui/BitmapDisplay.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace velo {

namespace {

// The first of the n-th block when `from` items are split into `to` blocks.
int blockStart(int n, int to, int from) {
    return static_cast<int>(static_cast<std::int64_t>(n) * from / to);
}

struct SampleSums {
    std::array<std::uint32_t, 4> sums{};
    std::uint32_t count = 0;
};

// Adds the samples of bitmap row `row`, pixels [x0, x1), to sums.
void addRow(const Bitmap& bitmap, int row, int x0, int x1, SampleSums& sums) {
    const int samples = bitmap.samplesPerPixel();
    const std::size_t rowStart = static_cast<std::size_t>(row) * bitmap.bytesPerRow();
    const std::size_t bits = static_cast<std::size_t>(bitmap.bitsPerPixel());
    if (bitmap.isPlanar()) {
        for (int s = 0; s < samples; ++s) {
            const std::uint8_t* plane = bitmap.plane(s) + rowStart;
            for (int x = x0; x < x1; ++x) {
                sums.sums[s] += plane[bits * x / (8 * samples)];
            }
        }
    } else {
        const std::uint8_t* line = bitmap.plane(0) + rowStart;
        const std::size_t step = bits / 8;
        for (const std::uint8_t* p = line + step * x0; p < line + step * x1; p += step) {
            for (int s = 0; s < samples; ++s) {
                sums.sums[s] += p[s];
            }
        }
    }
    sums.count += static_cast<std::uint32_t>(x1 - x0);
}

// Averages every block of display row `row` and hands each to put(x, averages).
template <class Put>
void averageRow(const Bitmap& bitmap, int row, int displayWide, int displayHigh, Put put) {
    RowBlock rows = bitmapRowsOf(row, displayHigh, bitmap.pixelsHigh());
    for (int x = 0; x < displayWide; ++x) {
        int x0 = blockStart(x, displayWide, bitmap.pixelsWide());
        int x1 = std::max(x0 + 1, blockStart(x + 1, displayWide, bitmap.pixelsWide()));
        SampleSums sums;
        for (int y = rows.first; y < rows.last; ++y) {
            addRow(bitmap, y, x0, x1, sums);
        }
        std::array<std::uint8_t, 4> average{};
        for (int s = 0; s < bitmap.samplesPerPixel(); ++s) {
            average[s] = static_cast<std::uint8_t>((sums.sums[s] + sums.count / 2) / sums.count);
        }
        put(x, average);
    }
}

// Premultiplied ARGB from samples that are premultiplied already; colour
// above alpha (possible in a file) is held to it, as the format requires.
QRgb displayPixel(const std::array<std::uint8_t, 4>& v, int samples) {
    std::uint8_t a = samples == 2 ? v[1] : (samples == 4 ? v[3] : 255);
    bool grey = samples <= 2;
    std::uint8_t r = std::min(v[0], a);
    std::uint8_t g = std::min(grey ? v[0] : v[1], a);
    std::uint8_t b = std::min(grey ? v[0] : v[2], a);
    return qRgba(r, g, b, a);
}

} // namespace

RowBlock bitmapRowsOf(int row, int displayRows, int bitmapRows) {
    int first = blockStart(row, displayRows, bitmapRows);
    int last = std::max(first + 1, blockStart(row + 1, displayRows, bitmapRows));
    return {first, std::min(last, bitmapRows)};
}

QImage newDisplayImage(QSize size) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void drawRowsInto(QImage& display, const Bitmap& bitmap, int rowBegin, int rowEnd) {
    const int samples = bitmap.samplesPerPixel();
    for (int row = std::max(rowBegin, 0); row < std::min(rowEnd, display.height()); ++row) {
        auto* line = reinterpret_cast<QRgb*>(display.scanLine(row));
        averageRow(bitmap, row, display.width(), display.height(),
                   [&](int x, const auto& v) { line[x] = displayPixel(v, samples); });
    }
}

std::shared_ptr<Bitmap> reducedCopy(const Bitmap& bitmap, QSize size) {
    auto reduced = std::make_shared<Bitmap>(size.width(), size.height(), bitmap.samplesPerPixel(),
                                            bitmap.hasAlpha(), false, bitmap.colorSpaceName());
    reduced->setOpaque(bitmap.isOpaque());
    const int samples = bitmap.samplesPerPixel();
    for (int row = 0; row < size.height(); ++row) {
        std::uint8_t* line =
            reduced->plane(0) + static_cast<std::size_t>(row) * reduced->bytesPerRow();
        averageRow(bitmap, row, size.width(), size.height(), [&](int x, const auto& v) {
            std::copy_n(v.begin(), samples, line + static_cast<std::size_t>(x) * samples);
        });
    }
    return reduced;
}

} // namespace velo
