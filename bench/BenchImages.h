#pragma once

#include "adjust/ColorAdjustment.h"
#include "platform/Bitmap.h"

#include <memory>
#include <string>
#include <vector>

namespace velo::bench {

// A 4096x4096 RGBA image with smooth colours and semi-transparent regions.
std::shared_ptr<Bitmap> transparentImage();
// A 20-megapixel RGB image with the smooth gradients and grain of a photo.
std::shared_ptr<Bitmap> photoImage();
// The same kind of image in any size.
std::shared_ptr<Bitmap> photoLikeImage(int wide, int high);

// (a) five RGB adjustments with real targets, (b) three RGB and two HSB
// (mask 15), (c) one RGB adjustment.
std::vector<ColorAdjustment> adjustmentSet(char name);
std::vector<std::shared_ptr<ColorAdjustment>> sharedAdjustmentSet(char name);

} // namespace velo::bench
