#include "adjust/ColorAdjustment.h"

#include "platform/Localization.h"

#include <algorithm>
#include <cmath>

namespace velo {

RGBA calibratedRGBA(const ColorRef& color) {
    ColorRef rgb = color ? color->colorUsingColorSpaceName(kCalibratedRGBColorSpace) : nullptr;
    if (!rgb) {
        return {0, 0, 0, 0};
    }
    RGBA c;
    rgb->getRed(&c.r, &c.g, &c.b, &c.a);
    return c;
}

template <typename Setter, typename Value>
void ColorAdjustment::registerInverse(Setter setter, Value old, const char* actionName) {
    std::shared_ptr<UndoManager> undo = undoManager_.lock();
    if (!undo) {
        return;
    }
    std::weak_ptr<ColorAdjustment> weak = weak_from_this();
    undo->registerUndo([weak, setter, old] {
        if (auto self = weak.lock()) {
            ((*self).*setter)(old);
        }
    });
    undo->setActionName(localizedString(actionName));
}

void ColorAdjustment::setUndoManager(const std::shared_ptr<UndoManager>& undoManager) {
    undoManager_ = undoManager;
}

std::optional<float> boundedReach(double reach) {
    if (!std::isfinite(reach)) {
        return std::nullopt;
    }
    return static_cast<float>(std::clamp<double>(reach, kSmallestReach, kLargestReach));
}

void ColorAdjustment::setColorModel(ColorModel model) {
    if (model == colorModel_) {
        return;
    }
    registerInverse(&ColorAdjustment::setColorModel, colorModel_,
                    VELO_TRANSLATE_NOOP("Velo", "Change color space"));
    colorModel_ = model;
}

void ColorAdjustment::setReach(std::optional<float> reach) {
    if (reach) {
        reach = boundedReach(*reach);
    }
    if (reach == reach_) {
        return;
    }
    registerInverse(&ColorAdjustment::setReach, reach_,
                    VELO_TRANSLATE_NOOP("Velo", "Change reach"));
    reach_ = reach;
}

bool ColorAdjustment::moves() const {
    const RGBA& s = sourceRGBA_;
    const RGBA& t = targetRGBA_;
    return s.r != t.r || s.g != t.g || s.b != t.b || s.a != t.a;
}

void ColorAdjustment::setComponentsMask(std::int32_t mask) {
    if (mask == componentsMask_) {
        return;
    }
    registerInverse(&ColorAdjustment::setComponentsMask, componentsMask_,
                    VELO_TRANSLATE_NOOP("Velo", "Component on/off"));
    componentsMask_ = mask;
}

// Sets one of the two colours with its caches; false when it was equal.
bool ColorAdjustment::replaceColor(ColorSlot slot, ColorRef color) {
    bool source = slot == ColorSlot::Source;
    ColorRef& field = source ? sourceColor_ : targetColor_;
    if (colorsEqual(field, color)) {
        return false;
    }
    registerInverse(source ? &ColorAdjustment::setSourceColor : &ColorAdjustment::setTargetColor,
                    field, VELO_TRANSLATE_NOOP("Velo", "Change color"));
    field = std::move(color);
    RGBA& rgba = source ? sourceRGBA_ : targetRGBA_;
    rgba = calibratedRGBA(field);
    (source ? sourceHSBA_ : targetHSBA_) = rgba2hsba(rgba);
    if (source) {
        sourceOKLab_ = rgbaToOKLab(rgba);
        sourceChroma_ = chromaOf(sourceOKLab_);
    }
    return true;
}

void ColorAdjustment::setSourceColor(ColorRef color) {
    if (replaceColor(ColorSlot::Source, std::move(color)) && !targetColor_) {
        setTargetColor(sourceColor_);
    }
}

void ColorAdjustment::setTargetColor(ColorRef color) {
    replaceColor(ColorSlot::Target, std::move(color));
}

} // namespace velo
