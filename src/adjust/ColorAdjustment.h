#pragma once

#include "adjust/Reach.h"
#include "color/ColorRecords.h"
#include "color/OKLab.h"
#include "platform/Color.h"
#include "platform/PropertyValue.h"
#include "platform/UndoManager.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace velo {

// Components mask bits: which components count when matching in HSB.
enum ComponentBits : int {
    kHueBit = 1,
    kSaturationBit = 2,
    kBrightnessBit = 4,
    kAlphaBit = 8,
    kAllComponents = 15,
};

// The space an adjustment matches colours in. RGB and OKLab move colours in
// RGB; HSB moves them in HSB.
enum class ColorModel { RGB, HSB, OKLab };

// The model's name in adjustment dictionaries: "RGB", "HSB" or "oklab".
const char* colorModelName(ColorModel model);

// An OKLab colour's chroma: sqrt(a * a + b * b).
float chromaOf(OKLab c);

// What the taper of a reach R compares and scales by, computed once.
struct ReachBounds {
    float reach = 0;        // R
    float reachSquared = 0; // R * R
    float halfSquared = 0;  // (R * 0.5) * (R * 0.5)
    float inverseHalf = 0;  // 2 / R
};
ReachBounds reachBounds(float reach);

// The taper at squared OKLab distance d2: 1 up to half the reach, 0 from the
// reach on, a smoothstep of the distance between.
float taperAt(float d2, const ReachBounds& bounds);

// Below this OKLab chroma a source colour has no hue to turn from: an oklab
// adjustment then moves a and b by the target's minus the source's.
inline constexpr float kGreyChroma = 0.02f;

// How an oklab adjustment moves a colour in OKLCh, computed once from its
// source and target.
struct OKLChMove {
    float lightness = 0;  // target L - source L
    float chromaStep = 0; // target C / source C - 1
    float hueTurn = 0;    // the angle from the source's hue to the target's
    bool greySource = false;
    float a = 0, b = 0; // target - source, for a grey source
    float alpha = 0;    // target alpha - source alpha
};

// What the reach's taper measures, computed once: which of lightness,
// chroma and hue count, and for a range their squared extents.
struct ReachMeasure {
    bool isBall = true;   // today's ball over L, a and b
    bool isRange = false; // each term over its extent squared
    bool lightness = true;
    bool chroma = true;
    bool hue = true;
    float lightness2 = 1, chroma2 = 1, hue2 = 1; // extents squared, for a range
    ReachBounds bounds;                          // of the radius, or of 1 for a range
};

// One adjustment: colours like the source colour move toward the target
// colour. The colours' components are cached in both models so the per-pixel
// arithmetic never touches a colour object. Setters compare first and
// register their inverse with the undo manager, when there is one.
//
// Records that register undo actions must be owned by a shared_ptr (undo
// actions hold them weakly).
class ColorAdjustment : public std::enable_shared_from_this<ColorAdjustment> {
  public:
    ColorAdjustment() = default;
    // From an adjustment dictionary; a value of the wrong kind under a key is
    // ignored and the default stays. Null or a non-dictionary: the defaults.
    explicit ColorAdjustment(const PropertyValue* dict);

    static std::shared_ptr<ColorAdjustment> initWithValuesInDict(const PropertyValue* dict);

    // Why a value is not a well-formed adjustment dictionary (a value of the
    // wrong kind under a key, undecodable colour data), or nothing when it is.
    static std::optional<std::string> checkDictionary(const PropertyValue& dict);

    // Equal colours, mask and model; no undo manager.
    std::shared_ptr<ColorAdjustment> copy() const;
    PropertyValue pList() const;

    // Held weakly: the undo manager's actions hold records in turn.
    void setUndoManager(const std::shared_ptr<UndoManager>& undoManager);
    std::shared_ptr<UndoManager> undoManager() const { return undoManager_.lock(); }

    ColorModel colorModel() const { return colorModel_; }
    void setColorModel(ColorModel model);
    bool usesHSB() const { return colorModel_ == ColorModel::HSB; }
    void setUsesHSB(bool usesHSB) { setColorModel(usesHSB ? ColorModel::HSB : ColorModel::RGB); }
    // Whether the colour model reads the components mask.
    bool readsMask() const { return colorModel_ != ColorModel::RGB; }

    // How far from the source colour the adjustment moves colours; none:
    // unlimited. Set values are brought within bounds.
    const std::optional<Reach>& reach() const { return reach_; }
    void setReach(std::optional<Reach> reach);
    // What the taper measures: follows the reach, the model and the mask.
    const ReachMeasure& reachMeasure() const { return reachMeasure_; }
    std::int32_t componentsMask() const { return componentsMask_; }
    void setComponentsMask(std::int32_t mask);

    const ColorRef& sourceColor() const { return sourceColor_; }
    // Also gives the record a target colour when it has none, in the same step.
    void setSourceColor(ColorRef color);
    const ColorRef& targetColor() const { return targetColor_; }
    void setTargetColor(ColorRef color);

    RGBA sourceRGBA() const { return sourceRGBA_; }
    RGBA targetRGBA() const { return targetRGBA_; }
    HSBA sourceHSBA() const { return sourceHSBA_; }
    HSBA targetHSBA() const { return targetHSBA_; }
    OKLab sourceOKLab() const { return sourceOKLab_; }
    OKLab targetOKLab() const { return targetOKLab_; }
    const OKLChMove& oklchMove() const { return oklchMove_; }
    // sqrt(a * a + b * b) of the source's OKLab.
    float sourceChroma() const { return sourceChroma_; }
    // Whether the adjustment moves colours at all: a target other than its
    // source.
    bool moves() const;

    // How far a pixel is from the source colour: 0 is identical.
    float distanceToHSBA(HSBA c) const;
    float distanceToRGBA(RGBA c) const;
    float distanceToColor(const ColorRef& c) const;
    // The pixel in OKLab with its alpha.
    float distanceToOKLab(OKLab c, float alpha) const;
    // What the adjustment's share is multiplied by at a pixel: 1 within half
    // the reach of the source colour, falling smoothly to 0 at the reach.
    float reachTaper(OKLab c) const;
    // The squared distance the taper measures: OKLab distance for a ball,
    // the distance in extents for a range, over the components matched on.
    float reachDistanceSquared(OKLab c) const;

    // An oklab adjustment's move in OKLCh by fraction (alpha moves apart).
    OKLab moveOKLab(OKLab c, float fraction) const;

    // Moves a colour by fraction of the source-to-target difference.
    RGBA adjustRGBA(RGBA rgba, float fraction) const;
    HSBA adjustHSBA(HSBA hsba, float fraction, int mask) const;

  private:
    enum class ColorSlot { Source, Target };
    bool replaceColor(ColorSlot slot, ColorRef color);
    void updateOKLChMove();
    void updateReachMeasure();

    // Registers setter(old) as the inverse, named by key; nothing happens
    // without an undo manager.
    template <typename Setter, typename Value>
    void registerInverse(Setter setter, Value old, const char* actionName);

    ColorRef targetColor_;
    ColorRef sourceColor_;
    RGBA sourceRGBA_;
    RGBA targetRGBA_;
    HSBA sourceHSBA_;
    HSBA targetHSBA_;
    OKLab sourceOKLab_;
    OKLab targetOKLab_;
    float sourceChroma_ = 0;
    OKLChMove oklchMove_;
    ReachMeasure reachMeasure_;
    std::int32_t componentsMask_ = kAllComponents;
    std::weak_ptr<UndoManager> undoManager_;
    ColorModel colorModel_ = ColorModel::RGB;
    std::optional<Reach> reach_;
};

// The calibrated RGB components of a colour, (0, 0, 0, 0) when it has none.
RGBA calibratedRGBA(const ColorRef& color);

} // namespace velo
