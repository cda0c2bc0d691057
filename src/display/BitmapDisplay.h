#pragma once

#include "platform/Bitmap.h"

#include <QImage>
#include <memory>

namespace velo {

// The image view's copies of a bitmap, at about the size it is shown: each
// pixel the average of the block of bitmap pixels it covers.

// A display image of that size: ARGB32 premultiplied, the format QPainter
// draws fastest.
QImage newDisplayImage(QSize size);

// Fills rows [rowBegin, rowEnd) of the display image (top row first) from
// the bitmap rows their blocks cover.
void drawRowsInto(QImage& display, const Bitmap& bitmap, int rowBegin, int rowEnd);

// The bitmap rows (top row first) that display row `row` averages, for a
// display of `displayRows` rows: [first, last).
struct RowBlock {
    int first = 0, last = 0;
};
RowBlock bitmapRowsOf(int row, int displayRows, int bitmapRows);

// A meshed 8-bit bitmap of the same samples at the given size, each pixel the
// average of its block: the source of a quick preview of the result.
std::shared_ptr<Bitmap> reducedCopy(const Bitmap& bitmap, QSize size);

} // namespace velo
