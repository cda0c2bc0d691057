// Matching and moving colours, in single precision in the order written:
// the pass calls these for every pixel and adjustment.
#include "adjust/ColorAdjustment.h"

#include "color/HueTurn.h"

#include <algorithm>
#include <cmath>

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

// Lightness, chroma and hue differences: the hue difference squared is
// what of the a-b difference the chroma difference leaves, never below 0.
float ColorAdjustment::distanceToOKLab(OKLab c, float alpha) const {
    const OKLab& s = sourceOKLab_;
    float dL = c.L - s.L;
    float da = c.a - s.a;
    float db = c.b - s.b;
    float dC = chromaOf(c) - sourceChroma_;
    float sum = 0;
    int count = 0;
    if (componentsMask_ & kHueBit) {
        float dH2 = (da * da + db * db) - dC * dC;
        sum = dH2 < 0.0f ? 0.0f : dH2;
        count = 1;
    }
    if (componentsMask_ & kSaturationBit) {
        sum = sum + dC * dC;
        ++count;
    }
    if (componentsMask_ & kBrightnessBit) {
        sum = sum + dL * dL;
        ++count;
    }
    sum = sum * alpha;
    if (componentsMask_ & kAlphaBit) {
        sum = sum + square(alpha - sourceRGBA_.a);
        ++count;
    }
    return count == 0 ? 1.0f : sum / static_cast<float>(count);
}

float chromaOf(OKLab c) {
    return std::sqrt(c.a * c.a + c.b * c.b);
}

ReachBounds reachBounds(float reach) {
    float half = reach * 0.5f;
    return {reach, reach * reach, half * half, 2.0f / reach};
}

float taperAt(float d2, const ReachBounds& bounds) {
    if (d2 >= bounds.reachSquared) {
        return 0.0f;
    }
    if (d2 <= bounds.halfSquared) {
        return 1.0f;
    }
    float u = (bounds.reach - std::sqrt(d2)) * bounds.inverseHalf;
    if (u <= 0.0f) {
        return 0.0f;
    }
    return (u * u) * (3.0f - 2.0f * u);
}

float ColorAdjustment::reachDistanceSquared(OKLab c) const {
    const OKLab& s = sourceOKLab_;
    const ReachMeasure& m = reachMeasure_;
    float dL = c.L - s.L;
    float da = c.a - s.a;
    float db = c.b - s.b;
    if (m.isBall) {
        return (dL * dL + da * da) + db * db;
    }
    float dC = chromaOf(c) - sourceChroma_;
    float dH2 = (da * da + db * db) - dC * dC;
    float terms[3] = {dL * dL, dC * dC, dH2 < 0.0f ? 0.0f : dH2};
    if (m.isRange) {
        terms[0] = terms[0] / m.lightness2;
        terms[1] = terms[1] / m.chroma2;
        terms[2] = terms[2] / m.hue2;
    }
    bool counts[3] = {m.lightness, m.chroma, m.hue};
    float sum = 0;
    for (int i = 0; i < 3; ++i) {
        if (counts[i]) {
            sum = sum + terms[i];
        }
    }
    return sum;
}

float ColorAdjustment::reachTaper(OKLab c) const {
    if (!reach_) {
        return 1.0f;
    }
    return taperAt(reachDistanceSquared(c), reachMeasure_.bounds);
}

OKLab ColorAdjustment::moveOKLab(OKLab c, float fraction) const {
    const OKLChMove& m = oklchMove_;
    float L = m.lightness * fraction + c.L;
    if (m.greySource) {
        return {L, m.a * fraction + c.a, m.b * fraction + c.b};
    }
    float scale = m.chromaStep * fraction + 1.0f;
    SineCosine turn = sineCosineOf(m.hueTurn * fraction);
    return {L, (c.a * turn.cosine - c.b * turn.sine) * scale,
            (c.a * turn.sine + c.b * turn.cosine) * scale};
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
