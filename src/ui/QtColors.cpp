#include "ui/QtColors.h"

namespace velo {

QColor toQColor(const ColorRef& color) {
    ColorRef rgb = color ? color->colorUsingColorSpaceName(kCalibratedRGBColorSpace) : nullptr;
    if (!rgb) {
        return QColor(Qt::transparent);
    }
    float r, g, b, a;
    rgb->getRed(&r, &g, &b, &a);
    return QColor::fromRgbF(r, g, b, a);
}

ColorRef toColorRef(const QColor& color) {
    QColor rgb = color.toRgb();
    return Color::colorWithCalibratedRed(rgb.redF(), rgb.greenF(), rgb.blueF(), rgb.alphaF());
}

} // namespace velo
