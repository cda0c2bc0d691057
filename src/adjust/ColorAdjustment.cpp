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

void ColorAdjustment::setSourceColor(ColorRef color) {
    if (colorsEqual(sourceColor_, color)) {
        return;
    }
    registerInverse(&ColorAdjustment::setSourceColor, sourceColor_, "Change color");
    sourceColor_ = std::move(color);
    sourceRGBA_ = calibratedRGBA(sourceColor_);
    sourceHSBA_ = rgba2hsba(sourceRGBA_);
    if (!targetColor_) {
        setTargetColor(sourceColor_);
    }
}

void ColorAdjustment::setTargetColor(ColorRef color) {
    if (colorsEqual(targetColor_, color)) {
        return;
    }
    registerInverse(&ColorAdjustment::setTargetColor, targetColor_, "Change color");
    targetColor_ = std::move(color);
    targetRGBA_ = calibratedRGBA(targetColor_);
    targetHSBA_ = rgba2hsba(targetRGBA_);
}

} // namespace velo
