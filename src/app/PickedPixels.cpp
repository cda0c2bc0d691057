#include "app/PickedPixels.h"

#include "document/StrokeShades.h"
#include "imageio/RowCodec.h"

#include <algorithm>
#include <cstring>
#include <numeric>

namespace velo {

namespace {

// Rows decoded at a time while looking for the kept ones.
constexpr int kRowsAtOnce = 64;

// Half of a square's side, as shadesAround takes it.
int halfOf(int sampleSize) {
    return std::max(sampleSize, 1) / 2;
}

// The image rows the squares around the points cover, ascending, each once.
std::vector<int> rowsCovered(std::span<const PixelIndex> points, int sampleSize, int pixelsHigh) {
    std::vector<int> rows;
    int half = halfOf(sampleSize);
    for (const PixelIndex& p : points) {
        for (int row = std::max(p.y - half, 0); row <= std::min(p.y + half, pixelsHigh - 1);
             ++row) {
            rows.push_back(row);
        }
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

std::uint8_t* rowOf(Bitmap& bitmap, int row) {
    return bitmap.plane(0) + static_cast<std::size_t>(row) * bitmap.bytesPerRow();
}

} // namespace

PickedPixels::PickedPixels(std::shared_ptr<const Bitmap> image)
    : rows_(std::move(image)), imageRows_(rows_->pixelsHigh()), pixelsWide_(rows_->pixelsWide()),
      pixelsHigh_(rows_->pixelsHigh()) {
    std::iota(imageRows_.begin(), imageRows_.end(), 0);
}

PickedPixels::PickedPixels(std::shared_ptr<const Bitmap> rows, std::vector<int> imageRows,
                           int pixelsWide, int pixelsHigh)
    : rows_(std::move(rows)), imageRows_(std::move(imageRows)), pixelsWide_(pixelsWide),
      pixelsHigh_(pixelsHigh) {}

// A square's rows are consecutive among the held rows and clipped where the
// image is, so each point's square lands on the same pixels, in the same
// order, one row index down for every row left out above it.
std::vector<RGBA> PickedPixels::shadesAround(std::span<const PixelIndex> points,
                                             int sampleSize) const {
    if (!rows_) {
        return {};
    }
    std::vector<PixelIndex> held;
    for (const PixelIndex& p : points) {
        auto at = std::lower_bound(imageRows_.begin(), imageRows_.end(), p.y);
        held.push_back({p.x, static_cast<int>(at - imageRows_.begin())});
    }
    return velo::shadesAround(*rows_, held, sampleSize);
}

PickedRead readPickedRows(const std::filesystem::path& input, std::span<const PixelIndex> points,
                          int sampleSize) {
    std::unique_ptr<RowReader> reader = openRowReader(input);
    if (!reader) {
        return {std::nullopt, "cannot read the image row by row"};
    }
    const int high = reader->pixelsHigh();
    std::vector<int> rows = rowsCovered(points, sampleSize, high);
    std::shared_ptr<Bitmap> kept =
        rows.empty() ? nullptr : reader->newBand(static_cast<int>(rows.size()));
    std::shared_ptr<Bitmap> band = reader->newBand(std::min(kRowsAtOnce, high));
    std::size_t next = 0; // the next row to keep
    for (int top = 0; next < rows.size(); top += band->pixelsHigh()) {
        int count = std::min(band->pixelsHigh(), high - top);
        if (!reader->read(*band, count)) {
            return {std::nullopt, reader->error()};
        }
        for (; next < rows.size() && rows[next] < top + count; ++next) {
            std::memcpy(rowOf(*kept, static_cast<int>(next)), rowOf(*band, rows[next] - top),
                        static_cast<std::size_t>(band->bytesPerRow()));
        }
    }
    return {PickedPixels(kept, std::move(rows), reader->pixelsWide(), high), {}};
}

} // namespace velo
