#include "color/ColorRecords.h"

#include <algorithm>

namespace velo {

namespace {

constexpr float kOneSixth = 1.0f / 6.0f;

// The hue of a colour whose saturation is not near zero.
float hueOf(float r, float g, float b, float max, float min) {
    float delta = max - min;
    float h = 0;
    if (isNearZero(r - max)) {
        h = (g - b) / delta;
    } else if (isNearZero(g - max)) {
        h = (b - r) / delta + 2;
    } else if (isNearZero(b - max)) {
        h = (r - g) / delta + 4;
    }
    h = h * kOneSixth;
    if (h < 0) {
        h = h + 1;
    }
    return h;
}

// The sector of a hue position; hues outside 0..1 never reach here from the
// application, but must not index outside the table.
int sectorOf(float position) {
    if (!(position >= 0.0f)) {
        return 0;
    }
    if (position >= 6.0f) {
        return 5;
    }
    return static_cast<int>(position);
}

} // namespace

HSBA rgba2hsba(RGBA c) {
    float max = std::max(std::max(c.r, c.g), c.b);
    float min = std::min(std::min(c.r, c.g), c.b);
    HSBA result;
    result.b = max;
    result.s = isNearZero(max) ? 0.0f : (max - min) / max;
    result.h = isNearZero(result.s) ? 0.0f : hueOf(c.r, c.g, c.b, max, min);
    result.a = c.a;
    return result;
}

RGBA hsba2rgba(HSBA c) {
    float v = c.b;
    if (isNearZero(c.s)) {
        return {v, v, v, c.a};
    }
    float position = isNearZero(c.h - 1.0f) ? 0.0f : c.h * 6.0f;
    int i = sectorOf(position);
    float f = position - static_cast<float>(i);
    float p = (1.0f - c.s) * v;
    float q = (1.0f - f * c.s) * v;
    float t = (1.0f - (1.0f - f) * c.s) * v;
    switch (i) {
    case 0:
        return {v, t, p, c.a};
    case 1:
        return {q, v, p, c.a};
    case 2:
        return {p, v, t, c.a};
    case 3:
        return {p, q, v, c.a};
    case 4:
        return {t, p, v, c.a};
    default:
        return {v, p, q, c.a};
    }
}

} // namespace velo
