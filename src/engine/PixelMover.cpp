#include "engine/PixelMover.h"

#include <algorithm>

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

// RGB adjustments first in list order, then HSB ones in reverse list order:
// the positions in the list, in the order they are applied.
std::vector<std::size_t> applicationOrder(std::span<const ColorAdjustment> adjustments) {
    std::vector<std::size_t> order(adjustments.size());
    std::size_t rising = 0;
    std::size_t falling = adjustments.size();
    for (std::size_t i = 0; i < adjustments.size(); ++i) {
        if (adjustments[i].usesHSB()) {
            order[--falling] = i;
        } else {
            order[rising++] = i;
        }
    }
    return order;
}

bool anyReach(std::span<const ColorAdjustment> adjustments) {
    return std::ranges::any_of(adjustments,
                               [](const ColorAdjustment& a) { return a.reach().has_value(); });
}

bool movesInOKLCh(const ColorAdjustment& a) {
    return a.colorModel() == ColorModel::OKLab && a.moves();
}

bool anyOKLab(std::span<const ColorAdjustment> adjustments) {
    return std::ranges::any_of(
        adjustments, [](const ColorAdjustment& a) { return a.colorModel() == ColorModel::OKLab; });
}

float distanceOf(const ColorAdjustment& a, RGBA rgba, const HSBA& hsba, const OKLab& lab) {
    switch (a.colorModel()) {
    case ColorModel::HSB:
        return a.distanceToHSBA(hsba);
    case ColorModel::OKLab:
        return a.distanceToOKLab(lab, rgba.a);
    case ColorModel::RGB:
        break;
    }
    return a.distanceToRGBA(rgba);
}

float weightOf(float distance) {
    return static_cast<double>(distance) < 1e-6 ? 1000000.0f : 1.0f / distance;
}

} // namespace

PixelMover::PixelMover(std::span<const ColorAdjustment> adjustments)
    : adjustments_(adjustments), order_(applicationOrder(adjustments)),
      fractions_(adjustments.size()), shares_(adjustments.size()),
      needsHSB_(!order_.empty() && adjustments[order_.back()].usesHSB()),
      startsWithRGB_(order_.empty() || !adjustments[order_.front()].usesHSB()),
      needsOKLab_(anyReach(adjustments) || anyOKLab(adjustments)), hasReach_(anyReach(adjustments)),
      movesInOKLCh_(std::ranges::any_of(adjustments, movesInOKLCh)) {}

HSBA PixelMover::computeFractions(RGBA sourceRGBA) {
    HSBA sourceHSBA;
    if (needsHSB_) {
        sourceHSBA = rgba2hsba(sourceRGBA);
    }
    OKLab& lab = lab_;
    if (needsOKLab_) {
        lab = rgbaToOKLab(sourceRGBA);
    }
    float weightSum = 0;
    for (std::size_t i = 0; i < order_.size(); ++i) {
        fractions_[i] = weightOf(distanceOf(adjustments_[order_[i]], sourceRGBA, sourceHSBA, lab));
        weightSum = fractions_[i] + weightSum;
    }
    for (float& fraction : fractions_) {
        fraction = fraction / weightSum;
    }
    if (hasReach_) {
        taperFractions(lab);
    }
    return sourceHSBA;
}

void PixelMover::taperFractions(OKLab colour) {
    beyondReach_ = true;
    for (std::size_t i = 0; i < order_.size(); ++i) {
        const ColorAdjustment& a = adjustments_[order_[i]];
        float taper = a.reachTaper(colour);
        if (a.reach()) {
            fractions_[i] = fractions_[i] * taper;
        }
        if (a.moves() && taper != 0.0f) {
            beyondReach_ = false;
        }
    }
}

RGBA PixelMover::moveInOKLCh(RGBA sourceRGBA) const {
    OKLab moved = lab_;
    float alpha = sourceRGBA.a;
    bool anyMoved = false;
    for (std::size_t i = 0; i < order_.size(); ++i) {
        const ColorAdjustment& a = adjustments_[order_[i]];
        if (!movesInOKLCh(a) || fractions_[i] == 0.0f) {
            continue;
        }
        moved = a.moveOKLab(moved, fractions_[i]);
        alpha = a.oklchMove().alpha * fractions_[i] + alpha;
        anyMoved = true;
    }
    if (!anyMoved) {
        return sourceRGBA;
    }
    RGBA rgb = gamutMappedRGB(moved);
    rgb.a = alpha;
    return rgb;
}

std::span<const float> PixelMover::shares(RGBA sourceRGBA) {
    computeFractions(sourceRGBA);
    for (std::size_t i = 0; i < order_.size(); ++i) {
        shares_[order_[i]] = fractions_[i];
    }
    return shares_;
}

RGBA PixelMover::move(RGBA sourceRGBA) {
    HSBA sourceHSBA = computeFractions(sourceRGBA);
    if (hasReach_ && beyondReach_) {
        // Not even the round trip through HSB may move it by a level.
        return clampAll(sourceRGBA);
    }
    RGBA destRGBA = movesInOKLCh_ ? moveInOKLCh(sourceRGBA) : sourceRGBA;
    HSBA destHSBA = sourceHSBA;
    bool lastWasRGB = startsWithRGB_;
    for (std::size_t i = 0; i < order_.size(); ++i) {
        const ColorAdjustment& a = adjustments_[order_[i]];
        if (a.colorModel() == ColorModel::OKLab) {
            continue;
        }
        if (a.usesHSB()) {
            if (lastWasRGB) {
                destHSBA = rgba2hsba(clampColour(destRGBA));
                lastWasRGB = false;
            }
            destHSBA = a.adjustHSBA(destHSBA, fractions_[i], kAllComponents);
        } else {
            destRGBA = a.adjustRGBA(destRGBA, fractions_[i]);
        }
    }
    return lastWasRGB ? clampAll(destRGBA) : hsba2rgba(clampAll(destHSBA));
}

} // namespace velo
