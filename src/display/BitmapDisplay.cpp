#include "display/BitmapDisplay.h"

#include "platform/SampleDepth.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <type_traits>
#include <vector>

namespace velo {

namespace {

// The first of the n-th block when `from` items are split into `to` blocks.
int blockStart(int n, int to, int from) {
    return static_cast<int>(static_cast<std::int64_t>(n) * from / to);
}

// The averages of one display row, a whole row of bitmap blocks at a time:
// the bitmap's rows are read straight through, which is what makes a large
// image quick to reduce. 16-bit samples are averaged at 16 bits, then
// narrowed to the nearest byte.
template <class Sample> class RowAverager {
    static constexpr bool kBytes = sizeof(Sample) == 1;
    using Sum = std::conditional_t<kBytes, std::uint32_t, std::uint64_t>;

  public:
    RowAverager(const Bitmap& bitmap, int displayWide, int displayHigh)
        : bitmap_(bitmap), displayHigh_(displayHigh), start_(displayWide + 1),
          sums_(static_cast<std::size_t>(displayWide) * 4) {
        for (int x = 0; x <= displayWide; ++x) {
            start_[x] =
                std::min(blockStart(x, displayWide, bitmap.pixelsWide()), bitmap.pixelsWide());
        }
        // A block is never empty, even when the display is the wider.
        for (int x = 0; x < displayWide; ++x) {
            start_[x + 1] = std::max(start_[x + 1], std::min(start_[x] + 1, bitmap.pixelsWide()));
        }
    }

    // Hands put(x, averages) every block of display row `row`.
    template <int Samples, class Put> void average(int row, Put put) {
        RowBlock rows = bitmapRowsOf(row, displayHigh_, bitmap_.pixelsHigh());
        std::fill(sums_.begin(), sums_.end(), Sum{0});
        for (int y = rows.first; y < rows.last; ++y) {
            addRow(y);
        }
        const std::uint32_t high = static_cast<std::uint32_t>(rows.last - rows.first);
        // Blocks are of two widths at most: a division each, then products.
        std::uint32_t lastCount = 0;
        std::uint64_t inverse = 0;
        for (std::size_t x = 0; x + 1 < start_.size(); ++x) {
            std::uint32_t count = high * static_cast<std::uint32_t>(start_[x + 1] - start_[x]);
            std::array<std::uint8_t, 4> value{};
            const Sum* sum = &sums_[x * 4];
            if constexpr (!kBytes) {
                for (int k = 0; k < Samples; ++k) {
                    value[k] = narrowSample(static_cast<std::uint16_t>(
                        std::min<Sum>(65535, (sum[k] * 2 + count) / (Sum{2} * count))));
                }
            } else if (count == 1) {
                for (int k = 0; k < Samples; ++k) {
                    value[k] = static_cast<std::uint8_t>(sum[k]);
                }
            } else {
                if (count != lastCount) {
                    lastCount = count;
                    inverse = ((std::uint64_t{1} << 32) + count - 1) / count;
                }
                for (int k = 0; k < Samples; ++k) {
                    std::uint64_t rounded = std::uint64_t{sum[k]} * 2 + count;
                    value[k] = static_cast<std::uint8_t>(
                        std::min<std::uint64_t>(255, (rounded * inverse >> 32) / 2));
                }
            }
            put(static_cast<int>(x), value);
        }
    }

  private:
    // Each block's pixels summed in registers, then added to its sums.
    template <int Samples> void addMeshedRow(const Sample* line) {
        for (std::size_t x = 0; x + 1 < start_.size(); ++x) {
            Sum s0 = 0, s1 = 0, s2 = 0, s3 = 0;
            const Sample* p = line + static_cast<std::size_t>(start_[x]) * Samples;
            const Sample* end = line + static_cast<std::size_t>(start_[x + 1]) * Samples;
            for (; p < end; p += Samples) {
                s0 += p[0];
                if constexpr (Samples > 1) {
                    s1 += p[1];
                }
                if constexpr (Samples > 2) {
                    s2 += p[2];
                }
                if constexpr (Samples > 3) {
                    s3 += p[3];
                }
            }
            Sum* sum = &sums_[x * 4];
            sum[0] += s0;
            sum[1] += s1;
            sum[2] += s2;
            sum[3] += s3;
        }
    }

    void addRow(int y) {
        const int samples = bitmap_.samplesPerPixel();
        const std::size_t rowStart = static_cast<std::size_t>(y) * bitmap_.bytesPerRow();
        const std::size_t bits = static_cast<std::size_t>(bitmap_.bitsPerPixel());
        if (!bitmap_.isPlanar() && bits == 8u * sizeof(Sample) * samples) {
            const auto* line = reinterpret_cast<const Sample*>(bitmap_.plane(0) + rowStart);
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
        for (std::size_t c = 0; c + 1 < start_.size(); ++c) {
            for (int x = start_[c]; x < start_[c + 1]; ++x) {
                for (int k = 0; k < samples; ++k) {
                    const std::uint8_t* at =
                        bitmap_.isPlanar()
                            ? bitmap_.plane(k) + rowStart + bits * x / (8 * samples)
                            : bitmap_.plane(0) + rowStart + bits * x / 8 + k * sizeof(Sample);
                    sums_[c * 4 + k] += *reinterpret_cast<const Sample*>(at);
                }
            }
        }
    }

    const Bitmap& bitmap_;
    int displayHigh_;
    std::vector<int> start_; // first bitmap column of each block, and the end
    std::vector<Sum> sums_;
};

// Premultiplied ARGB from samples that are premultiplied already; colour
// above alpha (possible in a file) is held to it, as the format requires.
template <int Samples> QRgb displayPixel(const std::array<std::uint8_t, 4>& v) {
    std::uint8_t a = Samples == 2 ? v[1] : (Samples == 4 ? v[3] : 255);
    bool grey = Samples <= 2;
    std::uint8_t r = std::min(v[0], a);
    std::uint8_t g = std::min(grey ? v[0] : v[1], a);
    std::uint8_t b = std::min(grey ? v[0] : v[2], a);
    return qRgba(r, g, b, a);
}

// A display of the bitmap's own size: a plain conversion, pixel by pixel.
template <int Samples>
bool drawRowsOneToOne(QImage& display, const Bitmap& bitmap, int rowBegin, int rowEnd) {
    if (display.width() != bitmap.pixelsWide() || display.height() != bitmap.pixelsHigh() ||
        bitmap.isPlanar() || bitmap.bitsPerPixel() != 8 * Samples) {
        return false;
    }
    // QImage's accessors are calls into Qt: asked once, not per pixel.
    const int wide = display.width();
    const int endRow = std::min(rowEnd, display.height());
    for (int row = std::max(rowBegin, 0); row < endRow; ++row) {
        auto* out = reinterpret_cast<QRgb*>(display.scanLine(row));
        const std::uint8_t* p =
            bitmap.plane(0) + static_cast<std::size_t>(row) * bitmap.bytesPerRow();
        for (int x = 0; x < wide; ++x, p += Samples) {
            std::array<std::uint8_t, 4> v{};
            std::copy_n(p, Samples, v.begin());
            out[x] = displayPixel<Samples>(v);
        }
    }
    return true;
}

template <int Samples, class Sample>
void drawAveragedRows(QImage& display, const Bitmap& bitmap, int rowBegin, int rowEnd) {
    RowAverager<Sample> averager(bitmap, display.width(), display.height());
    for (int row = std::max(rowBegin, 0); row < std::min(rowEnd, display.height()); ++row) {
        auto* line = reinterpret_cast<QRgb*>(display.scanLine(row));
        averager.template average<Samples>(
            row, [line](int x, const auto& v) { line[x] = displayPixel<Samples>(v); });
    }
}

template <int Samples>
void drawRows(QImage& display, const Bitmap& bitmap, int rowBegin, int rowEnd) {
    if (bitmap.isDeep()) {
        drawAveragedRows<Samples, std::uint16_t>(display, bitmap, rowBegin, rowEnd);
    } else if (!drawRowsOneToOne<Samples>(display, bitmap, rowBegin, rowEnd)) {
        drawAveragedRows<Samples, std::uint8_t>(display, bitmap, rowBegin, rowEnd);
    }
}

template <int Samples, class Sample> void reduceWith(Bitmap& reduced, const Bitmap& bitmap) {
    RowAverager<Sample> averager(bitmap, reduced.pixelsWide(), reduced.pixelsHigh());
    for (int row = 0; row < reduced.pixelsHigh(); ++row) {
        std::uint8_t* line =
            reduced.plane(0) + static_cast<std::size_t>(row) * reduced.bytesPerRow();
        averager.template average<Samples>(row, [line](int x, const auto& v) {
            std::copy_n(v.begin(), Samples, line + static_cast<std::size_t>(x) * Samples);
        });
    }
}

template <int Samples> void reduceInto(Bitmap& reduced, const Bitmap& bitmap) {
    if (bitmap.isDeep()) {
        reduceWith<Samples, std::uint16_t>(reduced, bitmap);
    } else {
        reduceWith<Samples, std::uint8_t>(reduced, bitmap);
    }
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
    switch (bitmap.samplesPerPixel()) {
    case 1:
        return drawRows<1>(display, bitmap, rowBegin, rowEnd);
    case 2:
        return drawRows<2>(display, bitmap, rowBegin, rowEnd);
    case 3:
        return drawRows<3>(display, bitmap, rowBegin, rowEnd);
    default:
        return drawRows<4>(display, bitmap, rowBegin, rowEnd);
    }
}

std::shared_ptr<Bitmap> reducedCopy(const Bitmap& bitmap, QSize size) {
    auto reduced = std::make_shared<Bitmap>(size.width(), size.height(), bitmap.samplesPerPixel(),
                                            bitmap.hasAlpha(), false, bitmap.colorSpaceName());
    reduced->setOpaque(bitmap.isOpaque());
    switch (bitmap.samplesPerPixel()) {
    case 1:
        reduceInto<1>(*reduced, bitmap);
        break;
    case 2:
        reduceInto<2>(*reduced, bitmap);
        break;
    case 3:
        reduceInto<3>(*reduced, bitmap);
        break;
    default:
        reduceInto<4>(*reduced, bitmap);
        break;
    }
    return reduced;
}

} // namespace velo
