#pragma once

// Plain colour values. Components are nominally 0..1 and never premultiplied;
// the hue is a fraction of a full turn.

namespace velo {

struct RGBA {
    float r = 0, g = 0, b = 0, a = 0;
};

struct HSBA {
    float h = 0, s = 0, b = 0, a = 0;
};

// Hexcone conversions in single precision, operation for operation, because
// their results feed straight into 8-bit pixels.
HSBA rgba2hsba(RGBA rgba);
RGBA hsba2rgba(HSBA hsba);

// Tests near zero compare the widened float with a double threshold.
inline bool isNearZero(float x) {
    double d = x;
    return (d < 0 ? -d : d) < 1e-7;
}

} // namespace velo
