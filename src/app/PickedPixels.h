#pragma once

#include "color/ColorRecords.h"
#include "color/PixelAccess.h"
#include "platform/Bitmap.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace velo {

// The pixels of one image that pick maps read: the whole decoded bitmap, or
// only the rows that the squares around the points cover, stacked without
// the rows between, so that an image recoloured band by band is never
// whole in memory for a pick either.
class PickedPixels {
  public:
    // Every row of a decoded image.
    explicit PickedPixels(std::shared_ptr<const Bitmap> image);
    // Rows of an image pixelsWide by pixelsHigh: imageRows (ascending) tells
    // which row of the image each row of rows is. Null rows for none.
    PickedPixels(std::shared_ptr<const Bitmap> rows, std::vector<int> imageRows, int pixelsWide,
                 int pixelsHigh);

    int pixelsWide() const { return pixelsWide_; }
    int pixelsHigh() const { return pixelsHigh_; }

    // What shadesAround gives on the whole image, for points on it whose
    // squares' rows are held.
    std::vector<RGBA> shadesAround(std::span<const PixelIndex> points, int sampleSize) const;

  private:
    std::shared_ptr<const Bitmap> rows_;
    std::vector<int> imageRows_;
    int pixelsWide_ = 0;
    int pixelsHigh_ = 0;
};

struct PickedRead {
    std::optional<PickedPixels> pixels;
    std::string error; // when the file could not be read
};

// Reads an image file row by row from the top, as velo apply streams it,
// keeping the rows the sampleSize squares around the points cover and
// stopping after the last of them.
PickedRead readPickedRows(const std::filesystem::path& input, std::span<const PixelIndex> points,
                          int sampleSize);

} // namespace velo
