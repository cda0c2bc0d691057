#include "platform/Color.h"

#include <bit>
#include <cstdint>

namespace velo {

Color::Color(std::string spaceName, std::vector<float> components)
    : spaceName_(std::move(spaceName)), components_(std::move(components)) {}

ColorRef Color::colorWithColorSpace(std::string spaceName, std::vector<float> components) {
    return std::make_shared<Color>(std::move(spaceName), std::move(components));
}

ColorRef Color::colorWithCalibratedRed(float red, float green, float blue, float alpha) {
    return colorWithColorSpace(kCalibratedRGBColorSpace, {red, green, blue, alpha});
}

ColorRef Color::colorWithDeviceRed(float red, float green, float blue, float alpha) {
    return colorWithColorSpace(kDeviceRGBColorSpace, {red, green, blue, alpha});
}

ColorRef Color::colorWithCalibratedWhite(float white, float alpha) {
    return colorWithColorSpace(kCalibratedWhiteColorSpace, {white, alpha});
}

ColorRef Color::blackColor() {
    return colorWithCalibratedWhite(0, 1);
}
ColorRef Color::whiteColor() {
    return colorWithCalibratedWhite(1, 1);
}
ColorRef Color::redColor() {
    return colorWithCalibratedRed(1, 0, 0, 1);
}
ColorRef Color::greenColor() {
    return colorWithCalibratedRed(0, 1, 0, 1);
}
ColorRef Color::blueColor() {
    return colorWithCalibratedRed(0, 0, 1, 1);
}
ColorRef Color::clearColor() {
    return colorWithCalibratedWhite(0, 0);
}

int Color::componentCountOf(const std::string& spaceName) {
    if (spaceName == kCalibratedRGBColorSpace || spaceName == kDeviceRGBColorSpace) {
        return 4;
    }
    if (spaceName == kCalibratedWhiteColorSpace || spaceName == kDeviceWhiteColorSpace) {
        return 2;
    }
    return -1;
}

ColorRef Color::colorUsingColorSpaceName(const std::string& spaceName) const {
    if (spaceName != kCalibratedRGBColorSpace ||
        static_cast<int>(components_.size()) != componentCountOf(spaceName_)) {
        return nullptr;
    }
    if (spaceName_ == kCalibratedRGBColorSpace) {
        return shared_from_this();
    }
    if (components_.size() == 4) {
        // Device RGB is taken as calibrated: Velo has no colour profiles.
        return colorWithCalibratedRed(components_[0], components_[1], components_[2],
                                      components_[3]);
    }
    float w = components_[0];
    return colorWithCalibratedRed(w, w, w, components_[1]);
}

void Color::getRed(float* red, float* green, float* blue, float* alpha) const {
    *red = components_.at(0);
    *green = components_.at(1);
    *blue = components_.at(2);
    *alpha = components_.at(3);
}

bool Color::isEqual(const Color& other) const {
    if (spaceName_ != other.spaceName_ || components_.size() != other.components_.size()) {
        return false;
    }
    for (std::size_t i = 0; i < components_.size(); ++i) {
        if (std::bit_cast<std::uint32_t>(components_[i]) !=
            std::bit_cast<std::uint32_t>(other.components_[i])) {
            return false;
        }
    }
    return true;
}

bool colorsEqual(const ColorRef& a, const ColorRef& b) {
    return a && b && a->isEqual(*b);
}

} // namespace velo
