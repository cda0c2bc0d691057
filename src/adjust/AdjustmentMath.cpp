// Matching and moving colours, in single precision in the order written:
// the pass calls these for every pixel and adjustment.
#include "adjust/ColorAdjustment.h"

#include <algorithm>

namespace velo {

namespace {

float square(float d) {
    return d * d;
}

// The shorter way round the wheel, chosen in double, rounded to float.
float hueDistance(float pixelHue, float sourceHue) {
    float minHue = sourceHue > pixelHue ? pixelHue : sourceHue;
    float maxHue = sourceHue > pixelHue ? sourceHue : pixelHue;
    float direct = maxHue - minHue;
    double around = (static_cast<double>(minHue) + 1.0) - static_cast<double>(maxHue);
    return static_cast<double>(direct) < around ? direct : static_cast<float>(around);
}

} // namespace

float ColorAdjustment::distanceToHSBA(HSBA c) const {
    const HSBA& s = sourceHSBA_;
    float sum = 0;
    int count = 0;
    if (componentsMask_ & kHueBit) {
        float term = std::min(c.s, s.s) * hueDistance(c.h, s.h);
        sum = term * term;
        count = 1;
    }
    if (componentsMask_ & kSaturationBit) {
        sum = sum + square(c.s - s.s);
        ++count;
    }
    if (componentsMask_ & kBrightnessBit) {
        sum = sum + square(c.b - s.b);
        ++count;
    }
    sum = sum * c.a;
    if (componentsMask_ & kAlphaBit) {
        sum = sum + square(c.a - s.a);
        ++count;
    }
    return count == 0 ? 1.0f : sum / static_cast<float>(count);
}

float ColorAdjustment::distanceToRGBA(RGBA c) const {
    const RGBA& s = sourceRGBA_;
    float dr = c.r - s.r;
    float dg = c.g - s.g;
    float db = c.b - s.b;
    float da = c.a - s.a;
    float sum = ((dr * dr + dg * dg) + db * db) * s.a + da * da;
    return sum * 0.25f;
}

float ColorAdjustment::distanceToColor(const ColorRef& c) const {
    return distanceToRGBA(calibratedRGBA(c));
}

RGBA ColorAdjustment::adjustRGBA(RGBA rgba, float fraction) const {
    const RGBA& s = sourceRGBA_;
    const RGBA& t = targetRGBA_;
    return {(t.r - s.r) * fraction + rgba.r, (t.g - s.g) * fraction + rgba.g,
            (t.b - s.b) * fraction + rgba.b, (t.a - s.a) * fraction + rgba.a};
}

HSBA ColorAdjustment::adjustHSBA(HSBA hsba, float fraction, int mask) const {
    const HSBA& s = sourceHSBA_;
    const HSBA& t = targetHSBA_;
    HSBA result = hsba;
    if (mask & kHueBit) {
        // The hue moves through RGB, by the record's RGB difference.
        RGBA probe = hsba2rgba({hsba.h, 0.5f, 0.5f, 1.0f});
        result.h = rgba2hsba(adjustRGBA(probe, fraction)).h;
    }
    if (mask & kSaturationBit) {
        result.s = (t.s - s.s) * fraction + hsba.s;
    }
    if (mask & kBrightnessBit) {
        result.b = (t.b - s.b) * fraction + hsba.b;
    }
    if (mask & kAlphaBit) {
        result.a = (t.a - s.a) * fraction + hsba.a;
    }
    return result;
}

} // namespace velo
