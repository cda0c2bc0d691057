#pragma once

#include "platform/Color.h"

#include <QColor>

namespace velo {

// A colour in its calibrated RGB form, transparent where it has none.
QColor toQColor(const ColorRef& color);
// A Qt colour as a calibrated RGB colour.
ColorRef toColorRef(const QColor& color);

} // namespace velo
