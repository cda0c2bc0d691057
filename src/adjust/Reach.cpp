#include "adjust/Reach.h"

#include <algorithm>
#include <cmath>

namespace velo {

Reach Reach::scaled(float factor) const {
    return isRange ? range(lightness * factor, chroma * factor, hue * factor)
                   : ball(lightness * factor);
}

std::optional<float> boundedReach(double reach) {
    if (!std::isfinite(reach)) {
        return std::nullopt;
    }
    return static_cast<float>(std::clamp<double>(reach, kSmallestReach, kLargestReach));
}

std::optional<Reach> boundedReach(const Reach& reach) {
    std::optional<float> l = boundedReach(reach.lightness);
    std::optional<float> c = boundedReach(reach.chroma);
    std::optional<float> h = boundedReach(reach.hue);
    if (!l || !c || !h) {
        return std::nullopt;
    }
    return reach.isRange ? Reach::range(*l, *c, *h) : Reach::ball(*l);
}

} // namespace velo
