#include "engine/AdjustmentPass.h"

#include "color/PixelAccess.h"
#include "engine/PixelMover.h"

#include <algorithm>

namespace velo {

void calcRange(LineRange range, const Bitmap* localSourceBitmap, Bitmap* localDestinationBitmap,
               std::span<const ColorAdjustment> localColorAdjustments) {
    if (!localSourceBitmap || !localDestinationBitmap) {
        return;
    }
    std::uint64_t endLine = std::min<std::uint64_t>(
        static_cast<std::uint64_t>(localSourceBitmap->pixelsHigh()), range.end());
    PixelMover mover(localColorAdjustments);
    for (std::uint64_t y = range.location; y < endLine; ++y) {
        for (int x = localDestinationBitmap->pixelsWide() - 1; x >= 0; --x) {
            Point p{static_cast<float>(x), static_cast<float>(y)};
            RGBA moved = mover.move(RGBAAtPoint(*localSourceBitmap, p));
            setRGBA(*localDestinationBitmap, moved, p);
        }
    }
}

} // namespace velo
