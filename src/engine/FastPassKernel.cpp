// The SIMD kernel of the fast pass, compiled once per instruction set and
// chosen at run time. Every operation follows the per-pixel reference in
// order and precision: no fused multiply-add, exact division, the double
// thresholds through their float equivalents, branches as blends.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "engine/FastPassKernel.cpp"
#include <hwy/foreach_target.h> // IWYU pragma: keep

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
    return count == 0 ? hn::Set(d, 1.0f) : hn::Div(sum, hn::Set(d, static_cast<float>(count)));
}

HWY_INLINE V ReachTaper(D d, const FastAdjustment& a, const Lab& lab) {
    V dL = hn::Sub(lab.L, hn::Set(d, a.sourceLab[0]));
    V da = hn::Sub(lab.a, hn::Set(d, a.sourceLab[1]));
    V db = hn::Sub(lab.b, hn::Set(d, a.sourceLab[2]));
    V d2 = hn::Add(hn::Add(hn::Mul(dL, dL), hn::Mul(da, da)), hn::Mul(db, db));
    V zero = hn::Zero(d);
    V u =
        hn::Mul(hn::Sub(hn::Set(d, a.reach.reach), hn::Sqrt(d2)), hn::Set(d, a.reach.inverseHalf));
    V smooth = hn::Mul(hn::Mul(u, u), hn::Sub(hn::Set(d, 3.0f), hn::Mul(hn::Set(d, 2.0f), u)));
    smooth = hn::IfThenElse(hn::Le(u, zero), zero, smooth);
    return hn::IfThenElse(
        hn::Ge(d2, hn::Set(d, a.reach.reachSquared)), zero,
        hn::IfThenElse(hn::Le(d2, hn::Set(d, a.reach.halfSquared)), hn::Set(d, 1.0f), smooth));
}

HWY_INLINE Colour rgba2hsba(D d, Colour c, const Thresholds& t) {
    V max = maxOf(maxOf(c.x, c.y), c.z);
    V min = minOf(minOf(c.x, c.y), c.z);
    V zero = hn::Zero(d);
    V delta = hn::Sub(max, min);
    V s = hn::IfThenElse(nearZero(d, max, t), zero, hn::Div(delta, max));
    V hRed = hn::Div(hn::Sub(c.y, c.z), delta);
    V hGreen = hn::Add(hn::Div(hn::Sub(c.z, c.x), delta), hn::Set(d, 2.0f));
    V hBlue = hn::Add(hn::Div(hn::Sub(c.x, c.y), delta), hn::Set(d, 4.0f));
    V h = hn::IfThenElse(
        nearZero(d, hn::Sub(c.x, max), t), hRed,
        hn::IfThenElse(nearZero(d, hn::Sub(c.y, max), t), hGreen,
                       hn::IfThenElse(nearZero(d, hn::Sub(c.z, max), t), hBlue, zero)));
    h = hn::Mul(h, hn::Set(d, 1.0f / 6.0f));
    h = hn::IfThenElse(hn::Lt(h, zero), hn::Add(h, hn::Set(d, 1.0f)), h);
    h = hn::IfThenElse(nearZero(d, s, t), zero, h);
    return {h, s, max, c.w};
}

HWY_INLINE Colour hsba2rgba(D d, Colour c, const Thresholds& t) {
    const DI di;
    V one = hn::Set(d, 1.0f);
    V v = c.z;
    V position = hn::IfThenElse(nearZero(d, hn::Sub(c.x, one), t), hn::Zero(d),
                                hn::Mul(c.x, hn::Set(d, 6.0f)));
    // The sector, 0 to 5, as the reference clamps it.
    V limited =
        hn::IfThenElse(hn::Ge(position, hn::Set(d, 6.0f)), hn::Set(d, 5.0f),
                       hn::IfThenElse(hn::Ge(position, hn::Zero(d)), position, hn::Zero(d)));
    V sector = hn::ConvertTo(d, hn::ConvertTo(di, limited));
    V f = hn::Sub(position, sector);
    V p = hn::Mul(hn::Sub(one, c.y), v);
    V q = hn::Mul(hn::Sub(one, hn::Mul(f, c.y)), v);
    V tt = hn::Mul(hn::Sub(one, hn::Mul(hn::Sub(one, f), c.y)), v);
    M s0 = hn::Eq(sector, hn::Zero(d));
    M s1 = hn::Eq(sector, one);
    M s2 = hn::Eq(sector, hn::Set(d, 2.0f));
    M s3 = hn::Eq(sector, hn::Set(d, 3.0f));
    M s4 = hn::Eq(sector, hn::Set(d, 4.0f));
    // Sector 5 is the fallback of each blend.
    V r = hn::IfThenElse(
        s0, v,
        hn::IfThenElse(s1, q,
                       hn::IfThenElse(s2, p, hn::IfThenElse(s3, p, hn::IfThenElse(s4, tt, v)))));
    V g = hn::IfThenElse(
        s0, tt,
        hn::IfThenElse(s1, v,
                       hn::IfThenElse(s2, v, hn::IfThenElse(s3, q, hn::IfThenElse(s4, p, p)))));
    V b = hn::IfThenElse(
        s0, p,
        hn::IfThenElse(s1, p,
                       hn::IfThenElse(s2, tt, hn::IfThenElse(s3, v, hn::IfThenElse(s4, v, q)))));
    M grey = nearZero(d, c.y, t);
    return {hn::IfThenElse(grey, v, r), hn::IfThenElse(grey, v, g), hn::IfThenElse(grey, v, b),
            c.w};
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
    return count == 0 ? hn::Set(d, 1.0f) : hn::Div(sum, hn::Set(d, static_cast<float>(count)));
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

// (difference × fraction) + value, in that order.
HWY_INLINE V move(D d, float difference, V fraction, V value) {
    return hn::Add(hn::Mul(hn::Set(d, difference), fraction), value);
}

HWY_INLINE Colour adjustRGB(D d, const FastAdjustment& a, Colour c, V fraction) {
    return {move(d, a.difference[0], fraction, c.x), move(d, a.difference[1], fraction, c.y),
            move(d, a.difference[2], fraction, c.z), move(d, a.difference[3], fraction, c.w)};
}

HWY_INLINE Colour adjustHSB(D d, const FastAdjustment& a, Colour c, V fraction,
                            const Thresholds& t) {
    V half = hn::Set(d, 0.5f);
    Colour probe = hsba2rgba(d, {c.x, half, half, hn::Set(d, 1.0f)}, t);
    V hue = rgba2hsba(d, adjustRGB(d, a, probe, fraction), t).x;
    return {hue, move(d, a.differenceHSB[1], fraction, c.y),
            move(d, a.differenceHSB[2], fraction, c.z), move(d, a.differenceHSB[3], fraction, c.w)};
}

HWY_INLINE Colour clampAll(D d, Colour c) {
    return {clamp01(d, c.x), clamp01(d, c.y), clamp01(d, c.z), clamp01(d, c.w)};
}

// Stores the tapers of the entries with a reach; gives the lanes within the
// reach of some adjustment that moves colours (all lanes when one without a
// reach moves colours).
HWY_INLINE M StoreTapers(D d, const PassPlan& plan, const Lab& lab, float* tapers) {
    const std::size_t lanes = hn::Lanes(d);
    M within = hn::Lt(hn::Zero(d), hn::Zero(d));
    for (std::size_t k = 0; k < plan.ordered.size(); ++k) {
        const FastAdjustment& a = plan.ordered[k];
        if (!a.hasReach) {
            if (a.moves) {
                within = hn::Eq(hn::Zero(d), hn::Zero(d));
            }
            continue;
        }
        V taper = ReachTaper(d, a, lab);
        hn::StoreU(taper, d, tapers + k * lanes);
        if (a.moves) {
            within = hn::Or(within, hn::Ne(taper, hn::Zero(d)));
        }
    }
    return within;
}

// All adjustments on one vector of pixels, as the reference moves one pixel.
HWY_INLINE Colour AdjustColour(D d, const PassPlan& plan, const Pixels& pixels, float* scratch,
                               const Thresholds& t) {
    const std::size_t lanes = hn::Lanes(d);
    const std::size_t count = plan.ordered.size();
    const Colour& source = pixels.colour;
    float* tapers = scratch + count * lanes;
    Lab lab{hn::Zero(d), hn::Zero(d), hn::Zero(d)};
    V chroma = hn::Zero(d);
    M within = hn::Eq(chroma, chroma);
    if (plan.needsOKLab) {
        lab = ToOKLab(d, pixels);
        chroma = hn::Sqrt(hn::Add(hn::Mul(lab.a, lab.a), hn::Mul(lab.b, lab.b)));
    }
    if (plan.hasReach) {
        within = StoreTapers(d, plan, lab, tapers);
        if (hn::AllFalse(d, within)) {
            return clampAll(d, source);
        }
    }
    Colour sourceHSB = plan.needsHSB ? rgba2hsba(d, source, t) : source;
    V weightSum = hn::Zero(d);
    for (std::size_t k = 0; k < count; ++k) {
        const FastAdjustment& a = plan.ordered[k];
        V distance = a.usesHSB     ? distanceHSB(d, a, sourceHSB)
                     : a.usesOKLab ? distanceOKLab(d, a, lab, chroma, source.w)
                                   : distanceRGB(d, a, source);
        V weight = hn::IfThenElse(hn::Le(distance, hn::Set(d, t.weightFloor)),
                                  hn::Set(d, 1000000.0f), hn::Div(hn::Set(d, 1.0f), distance));
        hn::StoreU(weight, d, scratch + k * lanes);
        weightSum = hn::Add(weight, weightSum);
    }
    Colour rgb = source;
    Colour hsb = sourceHSB;
    bool lastWasRGB = plan.startsWithRGB;
    for (std::size_t k = 0; k < count; ++k) {
        const FastAdjustment& a = plan.ordered[k];
        V fraction = hn::Div(hn::LoadU(d, scratch + k * lanes), weightSum);
        if (a.hasReach) {
            fraction = hn::Mul(fraction, hn::LoadU(d, tapers + k * lanes));
        }
        if (a.usesHSB) {
            if (lastWasRGB) {
                hsb = rgba2hsba(d, {clamp01(d, rgb.x), clamp01(d, rgb.y), clamp01(d, rgb.z), rgb.w},
                                t);
                lastWasRGB = false;
            }
            hsb = adjustHSB(d, a, hsb, fraction, t);
        } else {
            rgb = adjustRGB(d, a, rgb, fraction);
        }
    }
    Colour moved = lastWasRGB ? clampAll(d, rgb) : hsba2rgba(d, clampAll(d, hsb), t);
    if (!plan.hasReach) {
        return moved;
    }
    Colour copied = clampAll(d, source);
    return {hn::IfThenElse(within, moved.x, copied.x), hn::IfThenElse(within, moved.y, copied.y),
            hn::IfThenElse(within, moved.z, copied.z), hn::IfThenElse(within, moved.w, copied.w)};
}

// Lanes pixels of `samples` bytes as straight-alpha floats, as pixel reads
// make them: k / 255 exactly, colour divided by partial alpha.
HWY_INLINE Pixels LoadPixels(D d, const std::uint8_t* p, int samples, const Thresholds& t) {
    const hn::Rebind<std::uint8_t, D> d8;
    const DI di;
    const V scale = hn::Set(d, 255.0f);
    auto toFloat = [&](VI v) { return hn::Div(hn::ConvertTo(d, v), scale); };
    hn::Vec<decltype(d8)> v0, v1, v2, v3;
    Pixels px;
    px.byteValues = true;
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
    px.byteValues = hn::AllFalse(d, partial);
    c.x = hn::IfThenElse(partial, hn::Div(c.x, c.w), c.x);
    c.y = hn::IfThenElse(partial, hn::Div(c.y, c.w), c.y);
    c.z = hn::IfThenElse(partial, hn::Div(c.z, c.w), c.z);
    return px;
}

// Stores lanes pixels as pixel writes do: premultiplied where the bitmap has
// alpha, each value times 255 truncated (in 0..1 the float product truncates
// as the double one does).
HWY_INLINE void StorePixels(D d, Colour c, int samples, std::uint8_t* p, const Thresholds& t) {
    const hn::Rebind<std::uint8_t, D> d8;
    const DI di;
    const V scale = hn::Set(d, 255.0f);
    if (samples == 2 || samples == 4) {
        M clear = hn::Le(c.w, hn::Set(d, t.nearZero));
        M partial = hn::Le(c.w, hn::Set(d, t.almostOpaque));
        c.x = hn::IfThenZeroElse(clear, hn::IfThenElse(partial, hn::Mul(c.x, c.w), c.x));
        c.y = hn::IfThenZeroElse(clear, hn::IfThenElse(partial, hn::Mul(c.y, c.w), c.y));
        c.z = hn::IfThenZeroElse(clear, hn::IfThenElse(partial, hn::Mul(c.z, c.w), c.z));
        c.w = hn::IfThenZeroElse(clear, c.w);
    }
    auto toByte = [&](V v) { return hn::DemoteTo(d8, hn::ConvertTo(di, hn::Mul(v, scale))); };
    switch (samples) {
    case 1:
        hn::StoreU(toByte(c.x), d8, p);
        break;
    case 2:
        hn::StoreInterleaved2(toByte(c.x), toByte(c.w), d8, p);
        break;
    case 3:
        hn::StoreInterleaved3(toByte(c.x), toByte(c.y), toByte(c.z), d8, p);
        break;
    default:
        hn::StoreInterleaved4(toByte(c.x), toByte(c.y), toByte(c.z), toByte(c.w), d8, p);
    }
}

void AdjustRow(const PassPlan& plan, const std::uint8_t* in, int inSamples, std::uint8_t* out,
               int outSamples, std::size_t n, float* scratch) {
    const D d;
    const std::size_t lanes = hn::Lanes(d);
    const Thresholds& t = thresholds();
    for (std::size_t i = 0; i < n; i += lanes) {
        Colour moved =
            AdjustColour(d, plan, LoadPixels(d, in + i * inSamples, inSamples, t), scratch, t);
        StorePixels(d, moved, outSamples, out + i * outSamples, t);
    }
}

std::size_t Lanes() {
    return hn::Lanes(D());
}

} // namespace HWY_NAMESPACE
} // namespace velo
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace velo {

HWY_EXPORT(AdjustRow);
HWY_EXPORT(Lanes);

void adjustRow(const PassPlan& plan, const std::uint8_t* in, int inSamples, std::uint8_t* out,
               int outSamples, std::size_t n, float* scratch) {
    HWY_DYNAMIC_DISPATCH(AdjustRow)(plan, in, inSamples, out, outSamples, n, scratch);
}

std::size_t kernelLanes() {
    return HWY_DYNAMIC_DISPATCH(Lanes)();
}

} // namespace velo
#endif
