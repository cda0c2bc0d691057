// The adjustment dictionary: the one serialised form of a ColorAdjustment,
// used by document files, the stored defaults and the workers' copies.
#include "adjust/ColorAdjustment.h"

#include "platform/Archiver.h"

#include <cmath>
#include <limits>

namespace velo {

namespace {

const std::string kSourceColorData = "sourceColorData";
const std::string kTargetColorData = "targetColorData";
const std::string kComponentsMask = "componentsMask";
const std::string kColorSpace = "colorSpace";
const std::string kReach = "reach";
// A range reach: lightness, chroma and hue extents, in that order.
const std::string kReachRange = "reachRange";

// The three numbers of a range reach, or none when the value is not three
// finite numbers.
std::optional<Reach> rangeUnder(const PropertyValue& dict) {
    const PropertyValue* value = dict.find(kReachRange);
    const PropertyValue::Array* array = value ? value->asArray() : nullptr;
    if (!array || array->size() != 3) {
        return std::nullopt;
    }
    double extents[3];
    for (std::size_t i = 0; i < 3; ++i) {
        const PropertyValue& item = (*array)[i];
        if (const std::int64_t* integer = item.asInteger()) {
            extents[i] = static_cast<double>(*integer);
        } else if (const double* real = item.asReal(); real && std::isfinite(*real)) {
            extents[i] = *real;
        } else {
            return std::nullopt;
        }
    }
    return boundedReach(Reach::range(static_cast<float>(extents[0]), static_cast<float>(extents[1]),
                                     static_cast<float>(extents[2])));
}

// Any other name is RGB, as it always was.
ColorModel modelNamed(const std::string& name) {
    if (name == "HSB") {
        return ColorModel::HSB;
    }
    return name == "oklab" ? ColorModel::OKLab : ColorModel::RGB;
}

// A number under key, integer or real.
std::optional<double> numberUnder(const PropertyValue& dict, const std::string& key) {
    const PropertyValue* value = dict.find(key);
    if (!value) {
        return std::nullopt;
    }
    if (const std::int64_t* integer = value->asInteger()) {
        return static_cast<double>(*integer);
    }
    if (const double* real = value->asReal()) {
        return *real;
    }
    return std::nullopt;
}

// The colour archived under key, if it is there and decodes.
bool colorUnder(const PropertyValue& dict, const std::string& key, ColorRef& color) {
    const PropertyValue* value = dict.find(key);
    if (!value || !value->asData()) {
        return false;
    }
    UnarchivedColor decoded = unarchiveColor(*value->asData());
    color = decoded.color;
    return decoded.ok;
}

// A number's int value: integers keep their low 32 bits, reals truncate.
bool intUnder(const PropertyValue& dict, const std::string& key, std::int32_t& out) {
    const PropertyValue* value = dict.find(key);
    if (!value) {
        return false;
    }
    if (const std::int64_t* integer = value->asInteger()) {
        out = static_cast<std::int32_t>(static_cast<std::uint32_t>(*integer));
        return true;
    }
    const double* real = value->asReal();
    if (real && *real > std::numeric_limits<std::int32_t>::min() - 1.0 &&
        *real < std::numeric_limits<std::int32_t>::max() + 1.0) {
        out = static_cast<std::int32_t>(*real);
        return true;
    }
    return false;
}

} // namespace

const char* colorModelName(ColorModel model) {
    switch (model) {
    case ColorModel::HSB:
        return "HSB";
    case ColorModel::OKLab:
        return "oklab";
    case ColorModel::RGB:
        break;
    }
    return "RGB";
}

ColorAdjustment::ColorAdjustment(const PropertyValue* dict) {
    if (!dict || !dict->asDictionary()) {
        return;
    }
    ColorRef color;
    if (colorUnder(*dict, kSourceColorData, color)) {
        setSourceColor(color);
    }
    if (colorUnder(*dict, kTargetColorData, color)) {
        setTargetColor(color);
    }
    std::int32_t mask = 0;
    if (intUnder(*dict, kComponentsMask, mask)) {
        setComponentsMask(mask);
    }
    if (const PropertyValue* space = dict->find(kColorSpace); space && space->asString()) {
        setColorModel(modelNamed(*space->asString()));
    }
    if (std::optional<double> reach = numberUnder(*dict, kReach)) {
        if (std::optional<float> radius = boundedReach(*reach)) {
            reach_ = Reach::ball(*radius);
        }
    }
    if (std::optional<Reach> range = rangeUnder(*dict)) {
        reach_ = range;
    }
    updateReachMeasure();
}

std::shared_ptr<ColorAdjustment> ColorAdjustment::initWithValuesInDict(const PropertyValue* dict) {
    return std::make_shared<ColorAdjustment>(dict);
}

std::optional<std::string> ColorAdjustment::checkDictionary(const PropertyValue& dict) {
    if (!dict.asDictionary()) {
        return "an adjustment is not a dictionary";
    }
    for (const std::string& key : {kSourceColorData, kTargetColorData}) {
        ColorRef color;
        if (dict.find(key) && !colorUnder(dict, key, color)) {
            return "the adjustment's \"" + key + "\" is not a colour";
        }
    }
    std::int32_t mask = 0;
    if (dict.find(kComponentsMask) && !intUnder(dict, kComponentsMask, mask)) {
        return "the adjustment's \"" + kComponentsMask + "\" is not a number";
    }
    if (const PropertyValue* space = dict.find(kColorSpace); space && !space->asString()) {
        return "the adjustment's \"" + kColorSpace + "\" is not a string";
    }
    if (dict.find(kReach)) {
        std::optional<double> reach = numberUnder(dict, kReach);
        if (!reach || !std::isfinite(*reach)) {
            return "the adjustment's \"" + kReach + "\" is not a finite number";
        }
    }
    if (dict.find(kReachRange) && !rangeUnder(dict)) {
        return "the adjustment's \"" + kReachRange + "\" is not three finite numbers";
    }
    return std::nullopt;
}

std::shared_ptr<ColorAdjustment> ColorAdjustment::copy() const {
    PropertyValue dict = pList();
    return initWithValuesInDict(&dict);
}

PropertyValue ColorAdjustment::pList() const {
    PropertyValue::Dictionary dict{
        {kSourceColorData, archivedColor(sourceColor_)},
        {kTargetColorData, archivedColor(targetColor_)},
        {kComponentsMask, std::int64_t{componentsMask_}},
        {kColorSpace, colorModelName(colorModel_)},
    };
    // Unlimited is the absence of the key, so older files keep their bytes.
    if (reach_ && reach_->isRange) {
        dict.emplace(kReachRange, PropertyValue::Array{static_cast<double>(reach_->lightness),
                                                       static_cast<double>(reach_->chroma),
                                                       static_cast<double>(reach_->hue)});
    } else if (reach_) {
        dict.emplace(kReach, static_cast<double>(reach_->radius()));
    }
    return dict;
}

} // namespace velo
