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

// The averages of one display row, a whole row of bitmap blocks at a time:
// the bitmap's rows are read straight through, which is what makes a large
// image quick to reduce.
class RowAverager {
  public:
    RowAverager(const Bitmap& bitmap, int displayWide, int displayHigh)
        : bitmap_(bitmap), displayHigh_(displayHigh), columnOf_(bitmap.pixelsWide()),
          widthOf_(displayWide, 0), sums_(static_cast<std::size_t>(displayWide) * 4) {
        for (int x = 0; x < displayWide; ++x) {
            int x0 = blockStart(x, displayWide, bitmap.pixelsWide());
            int x1 = std::max(x0 + 1, blockStart(x + 1, displayWide, bitmap.pixelsWide()));
            for (int b = x0; b < std::min(x1, bitmap.pixelsWide()); ++b) {
                columnOf_[b] = x;
            }
            widthOf_[x] = std::min(x1, bitmap.pixelsWide()) - x0;
        }
    }

    // Hands put(x, averages) every block of display row `row`.
    template <class Put> void average(int row, Put put) {
        RowBlock rows = bitmapRowsOf(row, displayHigh_, bitmap_.pixelsHigh());
        std::fill(sums_.begin(), sums_.end(), 0u);
        for (int y = rows.first; y < rows.last; ++y) {
            addRow(y);
        }
        const int samples = bitmap_.samplesPerPixel();
        const std::uint32_t high = static_cast<std::uint32_t>(rows.last - rows.first);
        for (std::size_t x = 0; x < widthOf_.size(); ++x) {
            std::uint32_t count = high * static_cast<std::uint32_t>(widthOf_[x]);
            std::array<std::uint8_t, 4> value{};
            for (int k = 0; k < samples; ++k) {
                value[k] = static_cast<std::uint8_t>((sums_[x * 4 + k] + count / 2) / count);
            }
            put(static_cast<int>(x), value);
        }
    }

  private:
    template <int Samples> void addMeshedRow(const std::uint8_t* p) {
        const int wide = bitmap_.pixelsWide();
        for (int x = 0; x < wide; ++x, p += Samples) {
            std::uint32_t* sum = &sums_[static_cast<std::size_t>(columnOf_[x]) * 4];
            for (int k = 0; k < Samples; ++k) {
                sum[k] += p[k];
            }
        }
    }

    void addRow(int y) {
        const int samples = bitmap_.samplesPerPixel();
        const std::size_t rowStart = static_cast<std::size_t>(y) * bitmap_.bytesPerRow();
        const std::size_t bits = static_cast<std::size_t>(bitmap_.bitsPerPixel());
        if (!bitmap_.isPlanar() && bits == 8u * samples) {
            const std::uint8_t* line = bitmap_.plane(0) + rowStart;
            switch (samples) {
            case 1:
                return addMeshedRow<1>(line);
            case 2:
                return addMeshedRow<2>(line);
            case 3:
                return addMeshedRow<3>(line);
            default:
                return addMeshedRow<4>(line);
            }
        }
        // Planar pixels, or pixels with padding bits: addressed as pixel access does.
        for (int x = 0; x < bitmap_.pixelsWide(); ++x) {
            std::uint32_t* sum = &sums_[static_cast<std::size_t>(columnOf_[x]) * 4];
            for (int k = 0; k < samples; ++k) {
                sum[k] += bitmap_.isPlanar() ? bitmap_.plane(k)[rowStart + bits * x / (8 * samples)]
                                             : bitmap_.plane(0)[rowStart + bits * x / 8 + k];
            }
        }
    }

    const Bitmap& bitmap_;
    int displayHigh_;
    std::vector<int> columnOf_;
    std::vector<int> widthOf_;
    std::vector<std::uint32_t> sums_;
};

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
    RowAverager averager(bitmap, display.width(), display.height());
    for (int row = std::max(rowBegin, 0); row < std::min(rowEnd, display.height()); ++row) {
        auto* line = reinterpret_cast<QRgb*>(display.scanLine(row));
        averager.average(row, [&](int x, const auto& v) { line[x] = displayPixel(v, samples); });
    }
}

std::shared_ptr<Bitmap> reducedCopy(const Bitmap& bitmap, QSize size) {
    auto reduced = std::make_shared<Bitmap>(size.width(), size.height(), bitmap.samplesPerPixel(),
                                            bitmap.hasAlpha(), false, bitmap.colorSpaceName());
    reduced->setOpaque(bitmap.isOpaque());
    const int samples = bitmap.samplesPerPixel();
    RowAverager averager(bitmap, size.width(), size.height());
    for (int row = 0; row < size.height(); ++row) {
        std::uint8_t* line =
            reduced->plane(0) + static_cast<std::size_t>(row) * reduced->bytesPerRow();
        averager.average(row, [&](int x, const auto& v) {
            std::copy_n(v.begin(), samples, line + static_cast<std::size_t>(x) * samples);
        });
    }
    return reduced;
}

} // namespace velo
