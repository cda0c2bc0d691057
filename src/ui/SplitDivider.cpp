#include "ui/SplitDivider.h"

#include <algorithm>
#include <cmath>

namespace velo {

float dividerFractionAt(float x, const DrawnArea& drawn) {
    if (!(drawn.width > 0.0f)) {
        return kDividerStart;
    }
    return std::clamp((x - drawn.left) / drawn.width, 0.0f, 1.0f);
}

float wipeX(float originalShare, const DrawnArea& drawn) {
    if (originalShare >= 1.0f) {
        return drawn.left + drawn.width; // all of it, even a last part of a pixel
    }
    float across = std::round(std::max(originalShare, 0.0f) * drawn.width);
    return drawn.left + std::min(across, drawn.width);
}

// Distances from the pressed pixel's centre.
bool grabsDivider(float x, float y, float fraction, const DrawnArea& drawn) {
    float line = wipeX(fraction, drawn);
    bool alongImage = y + 0.5f >= drawn.top && y + 0.5f < drawn.top + drawn.height;
    return alongImage && std::abs(x + 0.5f - line) <= kDividerGrabDistance;
}

float originalShare(bool splitOn, float fraction, bool originalHeld) {
    if (originalHeld) {
        return 1.0f;
    }
    return splitOn ? fraction : 0.0f;
}

} // namespace velo
