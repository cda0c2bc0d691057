#pragma once

#include "platform/Bitmap.h"
#include "platform/Geometry.h"

namespace velo {

// A mouse press in the image view, as the colour pick needs it.
struct BitmapViewClick {
    Point locationInView; // view coordinates, origin at the lower left
    Size viewBounds;
    bool shiftHeld = false; // pick from the adjusted image
    bool altHeld = false;   // protect the picked colour
};

// The point of a bitmap (origin lower left) a click in the view falls on.
Point pointInBitmap(const Bitmap& bitmap, const BitmapViewClick& click);

} // namespace velo
