#include "adjust/ColorAdjustment.h"

#include "color/HueTurn.h"
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

void ColorAdjustment::setColorModel(ColorModel model) {
    if (model == colorModel_) {
        return;
    }
    registerInverse(&ColorAdjustment::setColorModel, colorModel_,
                    VELO_TRANSLATE_NOOP("Velo", "Change color space"));
    colorModel_ = model;
    updateReachMeasure();
}

void ColorAdjustment::setReach(std::optional<Reach> reach) {
    if (reach) {
        reach = boundedReach(*reach);
    }
    if (reach == reach_) {
        return;
    }
    registerInverse(&ColorAdjustment::setReach, reach_,
                    VELO_TRANSLATE_NOOP("Velo", "Change reach"));
    reach_ = reach;
    updateReachMeasure();
}

void ColorAdjustment::updateReachMeasure() {
    ReachMeasure& m = reachMeasure_;
    int mask = readsMask() ? componentsMask_ : kAllComponents;
    m.lightness = (mask & kBrightnessBit) != 0;
    m.chroma = (mask & kSaturationBit) != 0;
    m.hue = (mask & kHueBit) != 0;
    bool range = reach_ && reach_->isRange;
    m.isBall = !range && m.lightness && m.chroma && m.hue;
    m.isRange = range;
    if (range) {
        m.lightness2 = reach_->lightness * reach_->lightness;
        m.chroma2 = reach_->chroma * reach_->chroma;
        m.hue2 = reach_->hue * reach_->hue;
    }
    m.bounds = reachBounds(reach_ && !range ? reach_->radius() : 1.0f);
}

void ColorAdjustment::updateOKLChMove() {
    OKLChMove& m = oklchMove_;
    const OKLab& s = sourceOKLab_;
    const OKLab& t = targetOKLab_;
    float targetChroma = chromaOf(t);
    m.lightness = t.L - s.L;
    m.greySource = sourceChroma_ < kGreyChroma;
    m.a = t.a - s.a;
    m.b = t.b - s.b;
    m.chromaStep = m.greySource ? 0.0f : targetChroma / sourceChroma_ - 1.0f;
    // A grey target has no hue to turn to: only its chroma counts.
    m.hueTurn = m.greySource || targetChroma < kGreyChroma
                    ? 0.0f
                    : angleOf(s.a * t.b - s.b * t.a, s.a * t.a + s.b * t.b);
    m.alpha = targetRGBA_.a - sourceRGBA_.a;
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
    updateReachMeasure();
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
    (source ? sourceOKLab_ : targetOKLab_) = rgbaToOKLab(rgba);
    sourceChroma_ = chromaOf(sourceOKLab_);
    updateOKLChMove();
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
