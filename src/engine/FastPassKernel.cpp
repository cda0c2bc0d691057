// The SIMD kernel of the fast pass, compiled once per instruction set and
// chosen at run time. Every operation follows the per-pixel reference in
// order and precision: no fused multiply-add, exact division, the double
// thresholds through their float equivalents, branches as blends.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "engine/FastPassKernel.cpp"
#include <hwy/foreach_target.h> // IWYU pragma: keep

#include <hwy/highway.h>

#include "engine/FastPassPlan.h"

HWY_BEFORE_NAMESPACE();
namespace velo {
namespace HWY_NAMESPACE {

namespace hn = hwy::HWY_NAMESPACE;
using D = hn::ScalableTag<float>;
using V = hn::Vec<D>;
using M = hn::Mask<D>;

struct Colour {
    V x, y, z, w; // r g b a, or h s b a
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
    const hn::RebindToSigned<D> di;
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

// All adjustments on one vector of pixels, as the reference moves one pixel.
HWY_INLINE Colour AdjustColour(D d, const PassPlan& plan, Colour source, float* scratch,
                               const Thresholds& t) {
    const std::size_t lanes = hn::Lanes(d);
    const std::size_t count = plan.ordered.size();
    Colour sourceHSB = plan.needsHSB ? rgba2hsba(d, source, t) : source;
    V weightSum = hn::Zero(d);
    for (std::size_t k = 0; k < count; ++k) {
        const FastAdjustment& a = plan.ordered[k];
        V distance = a.usesHSB ? distanceHSB(d, a, sourceHSB) : distanceRGB(d, a, source);
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
    if (lastWasRGB) {
        return {clamp01(d, rgb.x), clamp01(d, rgb.y), clamp01(d, rgb.z), clamp01(d, rgb.w)};
    }
    return hsba2rgba(
        d, {clamp01(d, hsb.x), clamp01(d, hsb.y), clamp01(d, hsb.z), clamp01(d, hsb.w)}, t);
}

// Lanes pixels of `samples` bytes as straight-alpha floats, as pixel reads
// make them: k / 255 exactly, colour divided by partial alpha.
HWY_INLINE Colour LoadPixels(D d, const std::uint8_t* p, int samples, const Thresholds& t) {
    const hn::Rebind<std::uint8_t, D> d8;
    const hn::RebindToSigned<D> di;
    const V scale = hn::Set(d, 255.0f);
    auto toFloat = [&](hn::Vec<decltype(d8)> v) {
        return hn::Div(hn::ConvertTo(d, hn::PromoteTo(di, v)), scale);
    };
    hn::Vec<decltype(d8)> v0, v1, v2, v3;
    Colour c;
    switch (samples) {
    case 1:
        c.x = c.y = c.z = toFloat(hn::LoadU(d8, p));
        c.w = hn::Set(d, 1.0f);
        return c;
    case 2:
        hn::LoadInterleaved2(d8, p, v0, v1);
        c.x = c.y = c.z = toFloat(v0);
        c.w = toFloat(v1);
        break;
    case 3:
        hn::LoadInterleaved3(d8, p, v0, v1, v2);
        return {toFloat(v0), toFloat(v1), toFloat(v2), hn::Set(d, 1.0f)};
    default:
        hn::LoadInterleaved4(d8, p, v0, v1, v2, v3);
        c = {toFloat(v0), toFloat(v1), toFloat(v2), toFloat(v3)};
    }
    M partial =
        hn::And(hn::Gt(c.w, hn::Set(d, t.nearZero)), hn::Le(c.w, hn::Set(d, t.almostOpaque)));
    c.x = hn::IfThenElse(partial, hn::Div(c.x, c.w), c.x);
    c.y = hn::IfThenElse(partial, hn::Div(c.y, c.w), c.y);
    c.z = hn::IfThenElse(partial, hn::Div(c.z, c.w), c.z);
    return c;
}

// Stores lanes pixels as pixel writes do: premultiplied where the bitmap has
// alpha, each value times 255 truncated (in 0..1 the float product truncates
// as the double one does).
HWY_INLINE void StorePixels(D d, Colour c, int samples, std::uint8_t* p, const Thresholds& t) {
    const hn::Rebind<std::uint8_t, D> d8;
    const hn::RebindToSigned<D> di;
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
