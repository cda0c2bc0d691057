#include "engine/PixelMover.h"

namespace velo {

namespace {

float clamp01(float v) {
    if (v < 0.0f) {
        return 0.0f;
    }
    return v < 1.0f ? v : 1.0f;
}

RGBA clampColour(RGBA c) {
    return {clamp01(c.r), clamp01(c.g), clamp01(c.b), c.a};
}

RGBA clampAll(RGBA c) {
    return {clamp01(c.r), clamp01(c.g), clamp01(c.b), clamp01(c.a)};
}

HSBA clampAll(HSBA c) {
    return {clamp01(c.h), clamp01(c.s), clamp01(c.b), clamp01(c.a)};
}

// RGB adjustments first in list order, then HSB ones in reverse list order.
std::vector<const ColorAdjustment*> orderedList(std::span<const ColorAdjustment> adjustments) {
    std::vector<const ColorAdjustment*> ordered(adjustments.size());
    std::size_t rising = 0;
    std::size_t falling = adjustments.size();
    for (const ColorAdjustment& a : adjustments) {
        if (a.usesHSB()) {
            ordered[--falling] = &a;
        } else {
            ordered[rising++] = &a;
        }
    }
    return ordered;
}

float weightOf(float distance) {
    return static_cast<double>(distance) < 1e-6 ? 1000000.0f : 1.0f / distance;
}

} // namespace

PixelMover::PixelMover(std::span<const ColorAdjustment> adjustments)
    : ordered_(orderedList(adjustments)), weights_(ordered_.size()),
      needsHSB_(!ordered_.empty() && ordered_.back()->usesHSB()),
      startsWithRGB_(ordered_.empty() || !ordered_.front()->usesHSB()) {}

RGBA PixelMover::move(RGBA sourceRGBA) {
    HSBA sourceHSBA;
    if (needsHSB_) {
        sourceHSBA = rgba2hsba(sourceRGBA);
    }
    float weightSum = 0;
    for (std::size_t i = 0; i < ordered_.size(); ++i) {
        const ColorAdjustment& a = *ordered_[i];
        float d = a.usesHSB() ? a.distanceToHSBA(sourceHSBA) : a.distanceToRGBA(sourceRGBA);
        weights_[i] = weightOf(d);
        weightSum = weights_[i] + weightSum;
    }
    RGBA destRGBA = sourceRGBA;
    HSBA destHSBA = sourceHSBA;
    bool lastWasRGB = startsWithRGB_;
    for (std::size_t i = 0; i < ordered_.size(); ++i) {
        const ColorAdjustment& a = *ordered_[i];
        float fraction = weights_[i] / weightSum;
        if (a.usesHSB()) {
            if (lastWasRGB) {
                destHSBA = rgba2hsba(clampColour(destRGBA));
                lastWasRGB = false;
            }
            destHSBA = a.adjustHSBA(destHSBA, fraction, kAllComponents);
        } else {
            destRGBA = a.adjustRGBA(destRGBA, fraction);
        }
    }
    return lastWasRGB ? clampAll(destRGBA) : hsba2rgba(clampAll(destHSBA));
}

} // namespace velo
