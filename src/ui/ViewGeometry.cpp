#include "ui/ViewGeometry.h"

#include <algorithm>

namespace velo {

std::optional<DrawnSize> drawnImageSize(int pixelsWide, int pixelsHigh, float viewWidth,
                                        float viewHeight) {
    float scale = std::max(static_cast<float>(pixelsWide) / viewWidth,
                           static_cast<float>(pixelsHigh) / viewHeight);
    float h = static_cast<float>(pixelsHigh) / scale;
    float w = static_cast<float>(pixelsWide) / scale;
    // Written so that a result that is not a number draws nothing too.
    if (!(w > 0.0f && w < 100000.0f && h > 0.0f && h < 100000.0f)) {
        return std::nullopt;
    }
    return DrawnSize{w, h};
}

std::optional<BitmapViewClick> clickInDrawnImage(float x, float y, float viewWidth,
                                                 float viewHeight, int pixelsWide, int pixelsHigh,
                                                 bool shiftHeld) {
    std::optional<DrawnSize> drawn = drawnImageSize(pixelsWide, pixelsHigh, viewWidth, viewHeight);
    if (!drawn) {
        return std::nullopt;
    }
    // The centre of the pressed screen pixel, with the origin at the lower
    // left, where the image sits.
    float fromLeft = x + 0.5f;
    float fromBottom = viewHeight - (y + 0.5f);
    if (!(fromLeft >= 0.0f && fromLeft < drawn->width && fromBottom >= 0.0f &&
          fromBottom < drawn->height)) {
        return std::nullopt;
    }
    return BitmapViewClick{{fromLeft, fromBottom}, {drawn->width, drawn->height}, shiftHeld};
}

} // namespace velo
