#pragma once

#include "platform/Bitmap.h"
#include "platform/Image.h"

#include <memory>

namespace velo {

// The 8-bit or 16-bit bitmap the engine works on: the largest acceptable representation
// of the image (returned as is, not copied), or else the image drawn into a
// new RGB(A) bitmap of its size in points. Null when neither is possible.
std::shared_ptr<Bitmap> bitmap(const Image& image);

// Whether a representation can serve as the working bitmap as it stands.
bool isAcceptableBitmap(const ImageRep& rep);

// A destination bitmap for source: a pixel copy when the alpha stays, else a
// new meshed bitmap with one sample more or fewer whose pixels the next pass
// writes. Opaque exactly when it has no alpha.
std::shared_ptr<Bitmap> alphaAdjustedCopy(const Bitmap& source, bool shouldHaveAlpha);

} // namespace velo
