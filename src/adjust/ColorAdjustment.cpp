#include "adjust/ColorAdjustment.h"

#include "platform/Localization.h"

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

void ColorAdjustment::setUsesHSB(bool usesHSB) {
    if (usesHSB == usesHSB_) {
        return;
    }
    registerInverse(&ColorAdjustment::setUsesHSB, usesHSB_, "Change color space");
    usesHSB_ = usesHSB;
}

void ColorAdjustment::setComponentsMask(std::int32_t mask) {
    if (mask == componentsMask_) {
        return;
    }
    registerInverse(&ColorAdjustment::setComponentsMask, componentsMask_, "Component on/off");
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
                    field, "Change color");
    field = std::move(color);
    RGBA& rgba = source ? sourceRGBA_ : targetRGBA_;
    rgba = calibratedRGBA(field);
    (source ? sourceHSBA_ : targetHSBA_) = rgba2hsba(rgba);
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
