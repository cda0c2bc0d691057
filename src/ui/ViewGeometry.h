#pragma once

#include "document/BitmapViewClick.h"

#include <optional>

namespace velo {

// Where the image view draws its bitmap: scaled to fit with its proportions
// kept, at the view's lower-left corner. Free of any widget.

struct DrawnSize {
    float width = 0, height = 0;
};

// The drawn size of a bitmap in a view, or none when nothing is drawn (no
// pixels, a view without area, a side of 100000 or more, not a number).
std::optional<DrawnSize> drawnImageSize(int pixelsWide, int pixelsHigh, float viewWidth,
                                        float viewHeight);

// A press at (x, y) in widget coordinates (origin at the top left, y down),
// as the document's colour pick takes it: relative to the drawn image, in
// view coordinates with the origin at the lower left. None outside the image.
std::optional<BitmapViewClick> clickInDrawnImage(float x, float y, float viewWidth,
                                                 float viewHeight, int pixelsWide, int pixelsHigh,
                                                 bool shiftHeld);

} // namespace velo
