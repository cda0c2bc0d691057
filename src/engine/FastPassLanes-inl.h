// The fast pass's arithmetic on vectors of pixels, shared by the SIMD
// kernels of the pass and of the influence map: reading pixels, matching
// them, weights and the fraction each entry moves them by. Every operation follows the
// per-pixel reference in order and precision: no fused multiply-add, exact
// division, the double thresholds through their float equivalents, branches
// as blends. Included once per instruction set by each kernel.
#if defined(VELO_ENGINE_FAST_PASS_LANES_INL_H_) == defined(HWY_TARGET_TOGGLE)
#ifdef VELO_ENGINE_FAST_PASS_LANES_INL_H_
#undef VELO_ENGINE_FAST_PASS_LANES_INL_H_
#else
#define VELO_ENGINE_FAST_PASS_LANES_INL_H_
#endif

#include <hwy/highway.h>

#include "color/OKLab.h"
#include "engine/FastPassPlan.h"

HWY_BEFORE_NAMESPACE();
namespace velo {
namespace HWY_NAMESPACE {

namespace hn = hwy::HWY_NAMESPACE;
using D = hn::ScalableTag<float>;
using V = hn::Vec<D>;
using M = hn::Mask<D>;
using DI = hn::RebindToSigned<D>;
using VI = hn::Vec<DI>;

struct Colour {
    V x, y, z, w; // r g b a, or h s b a
};

struct Lab {
    V L, a, b;
};

// Pixels as read, with their colour bytes for looking up linear values.
struct Pixels {
    Colour colour;
    VI red, green, blue;
    bool byteValues; // every lane's colour is k / 255, not divided by alpha
};

// std::max and std::min, lane by lane: the second only when strictly beyond.
HWY_INLINE V maxOf(V a, V b) {
    return hn::IfThenElse(hn::Lt(a, b), b, a);
}
HWY_INLINE V minOf(V a, V b) {
    return hn::IfThenElse(hn::Lt(b, a), b, a);
}

HWY_INLINE M nearZero(D d, V x, const Thresholds& t) {
    return hn::Le(hn::Abs(x), hn::Set(d, t.nearZero));
}

// Below 0: 0; otherwise the smaller of 1 and the value (NaN gives 1).
HWY_INLINE V clamp01(D d, V v) {
    V zero = hn::Zero(d);
    V one = hn::Set(d, 1.0f);
    return hn::IfThenElse(hn::Lt(v, zero), zero, hn::IfThenElse(hn::Lt(v, one), v, one));
}

// The OKLab arithmetic of color/OKLab.cpp, lane by lane.
HWY_INLINE V RootGuess(D d, V x, float divisor, std::int32_t bias) {
    const DI di;
    VI scaled =
        hn::ConvertTo(di, hn::Mul(hn::ConvertTo(d, hn::BitCast(di, x)), hn::Set(d, divisor)));
    return hn::BitCast(d, hn::Add(scaled, hn::Set(di, bias)));
}

HWY_INLINE V CubeRoot(D d, V x) {
    V z = RootGuess(d, x, oklab::kThird, oklab::kCubeRootBias);
    for (int i = 0; i < oklab::kCubeRootSteps; ++i) {
        z = hn::Mul(hn::Add(hn::Add(z, z), hn::Div(x, hn::Mul(z, z))), hn::Set(d, oklab::kThird));
    }
    return hn::IfThenElse(hn::Gt(x, hn::Zero(d)), z, hn::Zero(d));
}

HWY_INLINE V FifthRoot(D d, V x) {
    V z = RootGuess(d, x, oklab::kFifth, oklab::kFifthRootBias);
    for (int i = 0; i < oklab::kFifthRootSteps; ++i) {
        V z2 = hn::Mul(z, z);
        z = hn::Mul(hn::Add(hn::Mul(z, hn::Set(d, 4.0f)), hn::Div(x, hn::Mul(z2, z2))),
                    hn::Set(d, oklab::kFifth));
    }
    return z;
}

HWY_INLINE V SrgbToLinear(D d, V encoded) {
    V x = clamp01(d, encoded);
    V low = hn::Div(x, hn::Set(d, oklab::kLinearSlope));
    V y = hn::Div(hn::Add(x, hn::Set(d, oklab::kOffset)), hn::Set(d, oklab::kScale));
    V y2 = hn::Mul(y, y);
    V high = hn::Mul(y2, FifthRoot(d, y2));
    return hn::IfThenElse(hn::Le(x, hn::Set(d, oklab::kLinearBreak)), low, high);
}

HWY_INLINE V Row(D d, const float* k, V a, V b, V c) {
    return hn::Add(hn::Add(hn::Mul(hn::Set(d, k[0]), a), hn::Mul(hn::Set(d, k[1]), b)),
                   hn::Mul(hn::Set(d, k[2]), c));
}

HWY_INLINE Lab ToOKLab(D d, const Pixels& p) {
    V r, g, b;
    if (p.byteValues) {
        const float* table = linearOfBytes().data();
        r = hn::GatherIndex(d, table, p.red);
        g = hn::GatherIndex(d, table, p.green);
        b = hn::GatherIndex(d, table, p.blue);
    } else {
        r = SrgbToLinear(d, p.colour.x);
        g = SrgbToLinear(d, p.colour.y);
        b = SrgbToLinear(d, p.colour.z);
    }
    const float* m = oklab::kLinearToLMS;
    V l = CubeRoot(d, Row(d, m, r, g, b));
    V md = CubeRoot(d, Row(d, m + 3, r, g, b));
    V s = CubeRoot(d, Row(d, m + 6, r, g, b));
    const float* k = oklab::kLMSToLab;
    return {Row(d, k, l, md, s), Row(d, k + 3, l, md, s), Row(d, k + 6, l, md, s)};
}

// A distance's sum over its count of components (none: 1). Dividing by 1, 2
// or 4 only scales, so the reciprocal's product is the same float.
HWY_INLINE V dividedByCount(D d, V sum, int count) {
    if (count == 0) {
        return hn::Set(d, 1.0f);
    }
    if (count == 3) {
        return hn::Div(sum, hn::Set(d, 3.0f));
    }
    return hn::Mul(sum, hn::Set(d, 1.0f / static_cast<float>(count)));
}

HWY_INLINE V distanceOKLab(D d, const FastAdjustment& a, const Lab& lab, V chroma, V alpha) {
    V dL = hn::Sub(lab.L, hn::Set(d, a.sourceLab[0]));
    V da = hn::Sub(lab.a, hn::Set(d, a.sourceLab[1]));
    V db = hn::Sub(lab.b, hn::Set(d, a.sourceLab[2]));
    V dC = hn::Sub(chroma, hn::Set(d, a.sourceChroma));
    V zero = hn::Zero(d);
    V sum = zero;
    int count = 0;
    if (a.mask & kHueBit) {
        V dH2 = hn::Sub(hn::Add(hn::Mul(da, da), hn::Mul(db, db)), hn::Mul(dC, dC));
        sum = hn::IfThenElse(hn::Lt(dH2, zero), zero, dH2);
        count = 1;
    }
    if (a.mask & kSaturationBit) {
        sum = hn::Add(sum, hn::Mul(dC, dC));
        ++count;
    }
    if (a.mask & kBrightnessBit) {
        sum = hn::Add(sum, hn::Mul(dL, dL));
        ++count;
    }
    sum = hn::Mul(sum, alpha);
    if (a.mask & kAlphaBit) {
        V diff = hn::Sub(alpha, hn::Set(d, a.source[3]));
        sum = hn::Add(sum, hn::Mul(diff, diff));
        ++count;
    }
    return dividedByCount(d, sum, count);
}

// The squared distance the taper measures, as the reference's
// reachDistanceSquared: a ball over L, a and b, or the components matched
// on, each over its extent squared for a range.
HWY_INLINE V ReachDistanceSquared(D d, const FastAdjustment& a, const Lab& lab, V chroma) {
    const ReachMeasure& m = a.reach;
    V dL = hn::Sub(lab.L, hn::Set(d, a.sourceLab[0]));
    V da = hn::Sub(lab.a, hn::Set(d, a.sourceLab[1]));
    V db = hn::Sub(lab.b, hn::Set(d, a.sourceLab[2]));
    if (m.isBall) {
        return hn::Add(hn::Add(hn::Mul(dL, dL), hn::Mul(da, da)), hn::Mul(db, db));
    }
    V zero = hn::Zero(d);
    V dC = hn::Sub(chroma, hn::Set(d, a.sourceChroma));
    V dH2 = hn::Sub(hn::Add(hn::Mul(da, da), hn::Mul(db, db)), hn::Mul(dC, dC));
    V terms[3] = {hn::Mul(dL, dL), hn::Mul(dC, dC), hn::IfThenElse(hn::Lt(dH2, zero), zero, dH2)};
    if (m.isRange) {
        terms[0] = hn::Div(terms[0], hn::Set(d, m.lightness2));
        terms[1] = hn::Div(terms[1], hn::Set(d, m.chroma2));
        terms[2] = hn::Div(terms[2], hn::Set(d, m.hue2));
    }
    const bool counts[3] = {m.lightness, m.chroma, m.hue};
    V sum = zero;
    for (int i = 0; i < 3; ++i) {
        if (counts[i]) {
            sum = hn::Add(sum, terms[i]);
        }
    }
    return sum;
}

HWY_INLINE V ReachTaper(D d, const FastAdjustment& a, const Lab& lab, V chroma) {
    const ReachBounds& bounds = a.reach.bounds;
    V d2 = ReachDistanceSquared(d, a, lab, chroma);
    V zero = hn::Zero(d);
    V u = hn::Mul(hn::Sub(hn::Set(d, bounds.reach), hn::Sqrt(d2)), hn::Set(d, bounds.inverseHalf));
    V smooth = hn::Mul(hn::Mul(u, u), hn::Sub(hn::Set(d, 3.0f), hn::Mul(hn::Set(d, 2.0f), u)));
    smooth = hn::IfThenElse(hn::Le(u, zero), zero, smooth);
    return hn::IfThenElse(
        hn::Ge(d2, hn::Set(d, bounds.reachSquared)), zero,
        hn::IfThenElse(hn::Le(d2, hn::Set(d, bounds.halfSquared)), hn::Set(d, 1.0f), smooth));
}

// The hue of a colour whose saturation is not near zero: the largest
// component picks the difference and the offset, so one division serves all
// three cases (the red one adds no offset at all).
HWY_INLINE V hueOf(D d, Colour c, V max, V delta, const Thresholds& t) {
    // A component less the largest is never above 0, so near zero is at
    // least minus the threshold.
    V below = hn::Set(d, -t.nearZero);
    M red = hn::Ge(hn::Sub(c.x, max), below);
    M green = hn::AndNot(red, hn::Ge(hn::Sub(c.y, max), below));
    M blue = hn::AndNot(hn::Or(red, green), hn::Ge(hn::Sub(c.z, max), below));
    V difference = hn::IfThenElse(red, hn::Sub(c.y, c.z),
                                  hn::IfThenElse(green, hn::Sub(c.z, c.x), hn::Sub(c.x, c.y)));
    V quotient = hn::Div(difference, delta);
    V offset = hn::IfThenElse(green, hn::Set(d, 2.0f), hn::Set(d, 4.0f));
    V h = hn::IfThenElse(red, quotient,
                         hn::IfThenElseZero(hn::Or(green, blue), hn::Add(quotient, offset)));
    h = hn::Mul(h, hn::Set(d, 1.0f / 6.0f));
    return hn::IfThenElse(hn::Lt(h, hn::Zero(d)), hn::Add(h, hn::Set(d, 1.0f)), h);
}

HWY_INLINE Colour rgba2hsba(D d, Colour c, const Thresholds& t) {
    V max = maxOf(maxOf(c.x, c.y), c.z);
    V min = minOf(minOf(c.x, c.y), c.z);
    V delta = hn::Sub(max, min);
    V s = hn::IfThenZeroElse(nearZero(d, max, t), hn::Div(delta, max));
    V h = hn::IfThenZeroElse(nearZero(d, s, t), hueOf(d, c, max, delta, t));
    return {h, s, max, c.w};
}

// The shorter way round the hue wheel, chosen in double as the reference
// does, rounded to float.
HWY_INLINE V hueDistance(D d, V pixelHue, V sourceHue) {
    M sourceAbove = hn::Gt(sourceHue, pixelHue);
    V minHue = hn::IfThenElse(sourceAbove, pixelHue, sourceHue);
    V maxHue = hn::IfThenElse(sourceAbove, sourceHue, pixelHue);
    V direct = hn::Sub(maxHue, minHue);
#if HWY_TARGET == HWY_SCALAR
    double around =
        (static_cast<double>(hn::GetLane(minHue)) + 1.0) - static_cast<double>(hn::GetLane(maxHue));
    return static_cast<double>(hn::GetLane(direct)) < around
               ? direct
               : hn::Set(d, static_cast<float>(around));
#else
    const hn::Half<D> dh;
    const hn::Rebind<double, decltype(dh)> dd;
    auto half = [&](auto minHalf, auto maxHalf, auto directHalf) {
        auto around = hn::Sub(hn::Add(hn::PromoteTo(dd, minHalf), hn::Set(dd, 1.0)),
                              hn::PromoteTo(dd, maxHalf));
        auto directWide = hn::PromoteTo(dd, directHalf);
        return hn::DemoteTo(dh, hn::IfThenElse(hn::Lt(directWide, around), directWide, around));
    };
    auto low =
        half(hn::LowerHalf(dh, minHue), hn::LowerHalf(dh, maxHue), hn::LowerHalf(dh, direct));
    auto high =
        half(hn::UpperHalf(dh, minHue), hn::UpperHalf(dh, maxHue), hn::UpperHalf(dh, direct));
    return hn::Combine(d, high, low);
#endif
}

HWY_INLINE V distanceHSB(D d, const FastAdjustment& a, Colour c) {
    V sum = hn::Zero(d);
    int count = 0;
    if (a.mask & kHueBit) {
        V term = hn::Mul(minOf(c.y, hn::Set(d, a.sourceHSB[1])),
                         hueDistance(d, c.x, hn::Set(d, a.sourceHSB[0])));
        sum = hn::Mul(term, term);
        count = 1;
    }
    if (a.mask & kSaturationBit) {
        V diff = hn::Sub(c.y, hn::Set(d, a.sourceHSB[1]));
        sum = hn::Add(sum, hn::Mul(diff, diff));
        ++count;
    }
    if (a.mask & kBrightnessBit) {
        V diff = hn::Sub(c.z, hn::Set(d, a.sourceHSB[2]));
        sum = hn::Add(sum, hn::Mul(diff, diff));
        ++count;
    }
    sum = hn::Mul(sum, c.w);
    if (a.mask & kAlphaBit) {
        V diff = hn::Sub(c.w, hn::Set(d, a.sourceHSB[3]));
        sum = hn::Add(sum, hn::Mul(diff, diff));
        ++count;
    }
    return dividedByCount(d, sum, count);
}

HWY_INLINE V distanceRGB(D d, const FastAdjustment& a, Colour c) {
    V dr = hn::Sub(c.x, hn::Set(d, a.source[0]));
    V dg = hn::Sub(c.y, hn::Set(d, a.source[1]));
    V db = hn::Sub(c.z, hn::Set(d, a.source[2]));
    V da = hn::Sub(c.w, hn::Set(d, a.source[3]));
    V sum = hn::Add(hn::Add(hn::Mul(dr, dr), hn::Mul(dg, dg)), hn::Mul(db, db));
    sum = hn::Add(hn::Mul(sum, hn::Set(d, a.source[3])), hn::Mul(da, da));
    return hn::Mul(sum, hn::Set(d, 0.25f));
}

// Lanes pixels of `samples` 8-bit or 16-bit samples as straight-alpha
// floats, as pixel reads make them: k / 255 or k / 65535 exactly, colour
// divided by partial alpha.
template <class Sample>
HWY_INLINE Pixels LoadPixels(D d, const Sample* p, int samples, const Thresholds& t) {
    const hn::Rebind<Sample, D> d8;
    const DI di;
    constexpr bool kBytes = sizeof(Sample) == 1;
    const V scale = hn::Set(d, kBytes ? 255.0f : 65535.0f);
    auto toFloat = [&](VI v) { return hn::Div(hn::ConvertTo(d, v), scale); };
    hn::Vec<decltype(d8)> v0, v1, v2, v3;
    Pixels px;
    // Only byte values have their linear light in the table.
    px.byteValues = kBytes;
    Colour& c = px.colour;
    switch (samples) {
    case 1:
        px.red = px.green = px.blue = hn::PromoteTo(di, hn::LoadU(d8, p));
        c.x = c.y = c.z = toFloat(px.red);
        c.w = hn::Set(d, 1.0f);
        return px;
    case 2:
        hn::LoadInterleaved2(d8, p, v0, v1);
        px.red = px.green = px.blue = hn::PromoteTo(di, v0);
        c.x = c.y = c.z = toFloat(px.red);
        c.w = toFloat(hn::PromoteTo(di, v1));
        break;
    case 3:
        hn::LoadInterleaved3(d8, p, v0, v1, v2);
        px.red = hn::PromoteTo(di, v0);
        px.green = hn::PromoteTo(di, v1);
        px.blue = hn::PromoteTo(di, v2);
        c = {toFloat(px.red), toFloat(px.green), toFloat(px.blue), hn::Set(d, 1.0f)};
        return px;
    default:
        hn::LoadInterleaved4(d8, p, v0, v1, v2, v3);
        px.red = hn::PromoteTo(di, v0);
        px.green = hn::PromoteTo(di, v1);
        px.blue = hn::PromoteTo(di, v2);
        c = {toFloat(px.red), toFloat(px.green), toFloat(px.blue), toFloat(hn::PromoteTo(di, v3))};
    }
    M partial =
        hn::And(hn::Gt(c.w, hn::Set(d, t.nearZero)), hn::Le(c.w, hn::Set(d, t.almostOpaque)));
    px.byteValues = kBytes && hn::AllFalse(d, partial);
    if (hn::AllFalse(d, partial)) {
        return px;
    }
    c.x = hn::IfThenElse(partial, hn::Div(c.x, c.w), c.x);
    c.y = hn::IfThenElse(partial, hn::Div(c.y, c.w), c.y);
    c.z = hn::IfThenElse(partial, hn::Div(c.z, c.w), c.z);
    return px;
}

// A vector of pixels in OKLab, as far as the plan needs it.
struct Matching {
    Lab lab;
    V chroma;
    M within; // lanes within the reach of some adjustment that moves colours
};

// The pixels in OKLab where the plan needs them; stores the tapers of the
// entries with a reach and marks the lanes within the reach of some
// adjustment that moves colours (all lanes when one without a reach moves
// colours).
HWY_INLINE Matching MatchReaches(D d, const PassPlan& plan, const Pixels& pixels, float* tapers) {
    const std::size_t lanes = hn::Lanes(d);
    V zero = hn::Zero(d);
    Matching m{{zero, zero, zero}, zero, hn::Eq(zero, zero)};
    if (plan.needsOKLab) {
        m.lab = ToOKLab(d, pixels);
        m.chroma = hn::Sqrt(hn::Add(hn::Mul(m.lab.a, m.lab.a), hn::Mul(m.lab.b, m.lab.b)));
    }
    if (!plan.hasReach) {
        return m;
    }
    m.within = hn::Lt(zero, zero);
    for (std::size_t k = 0; k < plan.ordered.size(); ++k) {
        const FastAdjustment& a = plan.ordered[k];
        if (!a.hasReach) {
            m.within = a.moves ? hn::Eq(zero, zero) : m.within;
            continue;
        }
        V taper = ReachTaper(d, a, m.lab, m.chroma);
        hn::StoreU(taper, d, tapers + k * lanes);
        if (a.moves) {
            m.within = hn::Or(m.within, hn::Ne(taper, zero));
        }
    }
    return m;
}

// The pixels in HSB (where an entry matches in HSB) and the sum of the
// entries' weights.
struct Weights {
    Colour hsb;
    V sum;
};

// Stores each entry's weight, the inverse of its distance, as the reference
// weighs it.
HWY_INLINE Weights StoreWeights(D d, const PassPlan& plan, const Colour& source, const Matching& m,
                                float* weights, const Thresholds& t) {
    const std::size_t lanes = hn::Lanes(d);
    Weights w{plan.needsHSB ? rgba2hsba(d, source, t) : source, hn::Zero(d)};
    for (std::size_t k = 0; k < plan.ordered.size(); ++k) {
        const FastAdjustment& a = plan.ordered[k];
        V distance = a.usesHSB     ? distanceHSB(d, a, w.hsb)
                     : a.usesOKLab ? distanceOKLab(d, a, m.lab, m.chroma, source.w)
                                   : distanceRGB(d, a, source);
        V weight = hn::IfThenElse(hn::Le(distance, hn::Set(d, t.weightFloor)),
                                  hn::Set(d, 1000000.0f), hn::Div(hn::Set(d, 1.0f), distance));
        hn::StoreU(weight, d, weights + k * lanes);
        w.sum = hn::Add(weight, w.sum);
    }
    return w;
}

// The fraction entry k moves the pixels by, as the reference's share: its
// weight over the sum of all, times its reach's taper.
HWY_INLINE V FractionOf(D d, const PassPlan& plan, std::size_t k, const float* weights, V weightSum,
                        const float* tapers) {
    const std::size_t lanes = hn::Lanes(d);
    V fraction = hn::Div(hn::LoadU(d, weights + k * lanes), weightSum);
    if (plan.ordered[k].hasReach) {
        fraction = hn::Mul(fraction, hn::LoadU(d, tapers + k * lanes));
    }
    return fraction;
}

} // namespace HWY_NAMESPACE
} // namespace velo
HWY_AFTER_NAMESPACE();

#endif
