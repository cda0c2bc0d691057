#include "ui/HexColor.h"

#include "color/PixelAccess.h"

#include <cstdio>

namespace velo {

std::string hexColorText(float red, float green, float blue, float alpha, bool withAlpha) {
    char text[10];
    if (withAlpha) {
        std::snprintf(text, sizeof text, "#%02X%02X%02X%02X", unsigned{nearestByte(red)},
                      unsigned{nearestByte(green)}, unsigned{nearestByte(blue)},
                      unsigned{nearestByte(alpha)});
    } else {
        std::snprintf(text, sizeof text, "#%02X%02X%02X", unsigned{nearestByte(red)},
                      unsigned{nearestByte(green)}, unsigned{nearestByte(blue)});
    }
    return text;
}

std::string hexColorText(const ColorRef& color) {
    ColorRef rgb = color ? color->colorUsingColorSpaceName(kCalibratedRGBColorSpace) : nullptr;
    if (!rgb) {
        return {};
    }
    float r, g, b, a;
    rgb->getRed(&r, &g, &b, &a);
    return hexColorText(r, g, b, a, a < 1.0f);
}

} // namespace velo
