// The SIMD kernel of the fast pass, compiled once per instruction set and
// chosen at run time: the shared arithmetic of FastPassLanes-inl.h, then the
// moves and writing pixels, in the reference's order and precision.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "engine/FastPassKernel.cpp"
#include <hwy/foreach_target.h> // IWYU pragma: keep

#include <hwy/highway.h>

#include "color/HueTurn.h"
#include "engine/FastPassLanes-inl.h"
#include "engine/FastPassPlan.h"

HWY_BEFORE_NAMESPACE();
namespace velo {
namespace HWY_NAMESPACE {

// Where a hue falls on the wheel: its sector, 0 to 5, as the reference
// clamps it, and the fraction of the way through it.
struct HuePosition {
    V sector, f;
};

HWY_INLINE HuePosition huePosition(D d, V hue, const Thresholds& t) {
    V position = hn::IfThenZeroElse(nearZero(d, hn::Sub(hue, hn::Set(d, 1.0f)), t),
                                    hn::Mul(hue, hn::Set(d, 6.0f)));
    V limited =
        hn::IfThenElse(hn::Ge(position, hn::Set(d, 6.0f)), hn::Set(d, 5.0f),
                       hn::IfThenElse(hn::Ge(position, hn::Zero(d)), position, hn::Zero(d)));
    // Within 0..6, the integer part is the floor: one rounding instead of a
    // checked conversion to int and back.
    V sector = hn::Floor(limited);
    return {sector, hn::Sub(position, sector)};
}

// The reference's table of sectors: which of v, p, q and t each component takes.
HWY_INLINE Colour sectorColour(D d, V sector, V v, V p, V q, V tt, V alpha) {
    M s0 = hn::Eq(sector, hn::Zero(d));
    M s1 = hn::Eq(sector, hn::Set(d, 1.0f));
    M s2 = hn::Eq(sector, hn::Set(d, 2.0f));
    M s3 = hn::Eq(sector, hn::Set(d, 3.0f));
    M s4 = hn::Eq(sector, hn::Set(d, 4.0f));
    V r = hn::IfThenElse(s1, q, hn::IfThenElse(hn::Or(s2, s3), p, hn::IfThenElse(s4, tt, v)));
    V g = hn::IfThenElse(s0, tt, hn::IfThenElse(hn::Or(s1, s2), v, hn::IfThenElse(s3, q, p)));
    V b = hn::IfThenElse(hn::Or(s0, s1), p,
                         hn::IfThenElse(s2, tt, hn::IfThenElse(hn::Or(s3, s4), v, q)));
    return {r, g, b, alpha};
}

HWY_INLINE Colour hsba2rgba(D d, Colour c, const Thresholds& t) {
    V one = hn::Set(d, 1.0f);
    V v = c.z;
    HuePosition at = huePosition(d, c.x, t);
    V p = hn::Mul(hn::Sub(one, c.y), v);
    V q = hn::Mul(hn::Sub(one, hn::Mul(at.f, c.y)), v);
    V tt = hn::Mul(hn::Sub(one, hn::Mul(hn::Sub(one, at.f), c.y)), v);
    Colour rgb = sectorColour(d, at.sector, v, p, q, tt, c.w);
    M grey = nearZero(d, c.y, t);
    return {hn::IfThenElse(grey, v, rgb.x), hn::IfThenElse(grey, v, rgb.y),
            hn::IfThenElse(grey, v, rgb.z), c.w};
}

// hsba2rgba of (hue, 0.5, 0.5, 1), through which an HSB adjustment moves the
// hue: never grey, and p = (1 - 0.5) × 0.5 is exactly 0.25.
HWY_INLINE Colour hueProbe(D d, V hue, const Thresholds& t) {
    V one = hn::Set(d, 1.0f);
    V half = hn::Set(d, 0.5f);
    HuePosition at = huePosition(d, hue, t);
    V q = hn::Mul(hn::Sub(one, hn::Mul(at.f, half)), half);
    V tt = hn::Mul(hn::Sub(one, hn::Mul(hn::Sub(one, at.f), half)), half);
    return sectorColour(d, at.sector, half, hn::Set(d, 0.25f), q, tt, one);
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
    V hue = rgba2hsba(d, adjustRGB(d, a, hueProbe(d, c.x, t), fraction), t).x;
    return {hue, move(d, a.differenceHSB[1], fraction, c.y),
            move(d, a.differenceHSB[2], fraction, c.z), move(d, a.differenceHSB[3], fraction, c.w)};
}

HWY_INLINE Colour clampAll(D d, Colour c) {
    return {clamp01(d, c.x), clamp01(d, c.y), clamp01(d, c.z), clamp01(d, c.w)};
}

// The OKLCh moves of color/HueTurn.cpp and color/OKLab.cpp, lane by lane.
template <int N> HWY_INLINE V Polynomial(D d, const float (&k)[N], V u) {
    V p = hn::Set(d, k[0]);
    for (int i = 1; i < N; ++i) {
        p = hn::Add(hn::Mul(p, u), hn::Set(d, k[i]));
    }
    return p;
}

struct SineCosineLanes {
    V sine, cosine;
};

HWY_INLINE SineCosineLanes SineCosine(D d, V angle) {
    V one = hn::Set(d, 1.0f);
    V t = hn::Mul(angle, hn::Set(d, 0.5f));
    V u = hn::Mul(t, t);
    V s = hn::Mul(t, hn::Add(hn::Mul(Polynomial(d, turn::kSine, u), u), one));
    V c = hn::Add(hn::Mul(Polynomial(d, turn::kCosine, u), u), one);
    return {hn::Mul(hn::Mul(s, c), hn::Set(d, 2.0f)), hn::Mul(hn::Sub(c, s), hn::Add(c, s))};
}

HWY_INLINE Lab MoveOKLab(D d, const FastAdjustment& a, const Lab& c, V fraction) {
    const OKLChMove& m = a.oklch;
    V L = move(d, m.lightness, fraction, c.L);
    if (m.greySource) {
        return {L, move(d, m.a, fraction, c.a), move(d, m.b, fraction, c.b)};
    }
    V scale = move(d, m.chromaStep, fraction, hn::Set(d, 1.0f));
    SineCosineLanes turn = SineCosine(d, hn::Mul(hn::Set(d, m.hueTurn), fraction));
    return {L, hn::Mul(hn::Sub(hn::Mul(c.a, turn.cosine), hn::Mul(c.b, turn.sine)), scale),
            hn::Mul(hn::Add(hn::Mul(c.a, turn.sine), hn::Mul(c.b, turn.cosine)), scale)};
}

struct Linear {
    V r, g, b;
};

HWY_INLINE Linear OKLabToLinear(D d, V L, V a, V b) {
    const float* k = oklab::kLabToLMS;
    V l = Row(d, k, L, a, b);
    V m = Row(d, k + 3, L, a, b);
    V s = Row(d, k + 6, L, a, b);
    l = hn::Mul(hn::Mul(l, l), l);
    m = hn::Mul(hn::Mul(m, m), m);
    s = hn::Mul(hn::Mul(s, s), s);
    const float* t = oklab::kLMSToLinear;
    return {Row(d, t, l, m, s), Row(d, t + 3, l, m, s), Row(d, t + 6, l, m, s)};
}

HWY_INLINE M IsInsideSRGB(D d, const Linear& c) {
    V zero = hn::Zero(d);
    V one = hn::Set(d, 1.0f);
    auto within = [&](V v) { return hn::And(hn::Ge(v, zero), hn::Le(v, one)); };
    return hn::And(hn::And(within(c.r), within(c.g)), within(c.b));
}

HWY_INLINE V LinearToSrgb(D d, V linear) {
    V x = clamp01(d, linear);
    V low = hn::Mul(x, hn::Set(d, oklab::kLinearSlope));
    V root = CubeRoot(d, hn::Mul(x, hn::Sqrt(hn::Sqrt(x))));
    V high = hn::Sub(hn::Mul(hn::Set(d, oklab::kScale), root), hn::Set(d, oklab::kOffset));
    return hn::IfThenElse(hn::Le(x, hn::Set(d, oklab::kEncodeBreak)), low, high);
}

// Lightness clamped, chroma lowered by halving where the colour lies
// outside sRGB, then encoded; alpha as given.
HWY_INLINE Colour GamutMapped(D d, const Lab& c, V alpha) {
    V L = clamp01(d, c.L);
    Linear linear = OKLabToLinear(d, L, c.a, c.b);
    M inside = IsInsideSRGB(d, linear);
    if (!hn::AllTrue(d, inside)) {
        V low = hn::Zero(d);
        V high = hn::Set(d, 1.0f);
        for (int i = 0; i < oklab::kGamutSteps; ++i) {
            V middle = hn::Mul(hn::Add(low, high), hn::Set(d, 0.5f));
            M fits =
                IsInsideSRGB(d, OKLabToLinear(d, L, hn::Mul(c.a, middle), hn::Mul(c.b, middle)));
            low = hn::IfThenElse(fits, middle, low);
            high = hn::IfThenElse(fits, high, middle);
        }
        Linear lowered = OKLabToLinear(d, L, hn::Mul(c.a, low), hn::Mul(c.b, low));
        linear = {hn::IfThenElse(inside, linear.r, lowered.r),
                  hn::IfThenElse(inside, linear.g, lowered.g),
                  hn::IfThenElse(inside, linear.b, lowered.b)};
    }
    return {LinearToSrgb(d, linear.r), LinearToSrgb(d, linear.g), LinearToSrgb(d, linear.b), alpha};
}

// The oklab entries' moves, in list order, where their fraction is not 0;
// the pixels as read where none moves them.
HWY_INLINE Colour MoveInOKLCh(D d, const PassPlan& plan, const Colour& source, const Lab& lab,
                              const float* weights, V weightSum, const float* tapers) {
    V zero = hn::Zero(d);
    Lab moved = lab;
    V alpha = source.w;
    M any = hn::Lt(zero, zero);
    for (std::size_t k = 0; k < plan.ordered.size(); ++k) {
        const FastAdjustment& a = plan.ordered[k];
        if (!a.movesInOKLCh) {
            continue;
        }
        V fraction = FractionOf(d, plan, k, weights, weightSum, tapers);
        M moves = hn::Ne(fraction, zero);
        Lab next = MoveOKLab(d, a, moved, fraction);
        moved = {hn::IfThenElse(moves, next.L, moved.L), hn::IfThenElse(moves, next.a, moved.a),
                 hn::IfThenElse(moves, next.b, moved.b)};
        alpha = hn::IfThenElse(moves, move(d, a.oklch.alpha, fraction, alpha), alpha);
        any = hn::Or(any, moves);
    }
    if (hn::AllFalse(d, any)) {
        return source;
    }
    Colour mapped = GamutMapped(d, moved, alpha);
    return {hn::IfThenElse(any, mapped.x, source.x), hn::IfThenElse(any, mapped.y, source.y),
            hn::IfThenElse(any, mapped.z, source.z), hn::IfThenElse(any, mapped.w, source.w)};
}

// All adjustments on one vector of pixels, as the reference moves one pixel.
HWY_INLINE Colour AdjustColour(D d, const PassPlan& plan, const Pixels& pixels, float* scratch,
                               const Thresholds& t) {
    const std::size_t lanes = hn::Lanes(d);
    const Colour& source = pixels.colour;
    float* tapers = scratch + plan.ordered.size() * lanes;
    Matching matching = MatchReaches(d, plan, pixels, tapers);
    if (plan.hasReach && hn::AllFalse(d, matching.within)) {
        return clampAll(d, source);
    }
    Weights weights = StoreWeights(d, plan, source, matching, scratch, t);
    Colour hsb = weights.hsb;
    Colour rgb = plan.movesInOKLCh
                     ? MoveInOKLCh(d, plan, source, matching.lab, scratch, weights.sum, tapers)
                     : source;
    bool lastWasRGB = plan.startsWithRGB;
    for (std::size_t k = 0; k < plan.ordered.size(); ++k) {
        const FastAdjustment& a = plan.ordered[k];
        if (a.usesOKLab) {
            continue;
        }
        V fraction = FractionOf(d, plan, k, scratch, weights.sum, tapers);
        if (!a.usesHSB) {
            rgb = adjustRGB(d, a, rgb, fraction);
            continue;
        }
        if (lastWasRGB) {
            hsb = rgba2hsba(d, {clamp01(d, rgb.x), clamp01(d, rgb.y), clamp01(d, rgb.z), rgb.w}, t);
            lastWasRGB = false;
        }
        hsb = adjustHSB(d, a, hsb, fraction, t);
    }
    Colour moved = lastWasRGB ? clampAll(d, rgb) : hsba2rgba(d, clampAll(d, hsb), t);
    if (!plan.hasReach) {
        return moved;
    }
    M within = matching.within;
    Colour copied = clampAll(d, source);
    return {hn::IfThenElse(within, moved.x, copied.x), hn::IfThenElse(within, moved.y, copied.y),
            hn::IfThenElse(within, moved.z, copied.z), hn::IfThenElse(within, moved.w, copied.w)};
}

// Stores lanes pixels as pixel writes do: premultiplied where the bitmap has
// alpha, each value times 255 or 65535 truncated (for bytes, in 0..1 the
// float product truncates as the double one does).
template <class Sample>
HWY_INLINE void StorePixels(D d, Colour c, int samples, Sample* p, const Thresholds& t) {
    const hn::Rebind<Sample, D> d8;
    const DI di;
    const V scale = hn::Set(d, sizeof(Sample) == 1 ? 255.0f : 65535.0f);
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

template <class Sample>
void AdjustRowOf(const PassPlan& plan, const Sample* in, int inSamples, Sample* out, int outSamples,
                 std::size_t n, float* scratch) {
    const D d;
    const std::size_t lanes = hn::Lanes(d);
    const Thresholds& t = thresholds();
    for (std::size_t i = 0; i < n; i += lanes) {
        Colour moved =
            AdjustColour(d, plan, LoadPixels(d, in + i * inSamples, inSamples, t), scratch, t);
        StorePixels(d, moved, outSamples, out + i * outSamples, t);
    }
}

void AdjustRow(const PassPlan& plan, const std::uint8_t* in, int inSamples, std::uint8_t* out,
               int outSamples, std::size_t n, float* scratch) {
    AdjustRowOf(plan, in, inSamples, out, outSamples, n, scratch);
}

void AdjustRow16(const PassPlan& plan, const std::uint16_t* in, int inSamples, std::uint16_t* out,
                 int outSamples, std::size_t n, float* scratch) {
    AdjustRowOf(plan, in, inSamples, out, outSamples, n, scratch);
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
HWY_EXPORT(AdjustRow16);
HWY_EXPORT(Lanes);

void adjustRow(const PassPlan& plan, const std::uint8_t* in, int inSamples, std::uint8_t* out,
               int outSamples, std::size_t n, float* scratch) {
    HWY_DYNAMIC_DISPATCH(AdjustRow)(plan, in, inSamples, out, outSamples, n, scratch);
}

void adjustRow(const PassPlan& plan, const std::uint16_t* in, int inSamples, std::uint16_t* out,
               int outSamples, std::size_t n, float* scratch) {
    HWY_DYNAMIC_DISPATCH(AdjustRow16)(plan, in, inSamples, out, outSamples, n, scratch);
}

std::size_t kernelLanes() {
    return HWY_DYNAMIC_DISPATCH(Lanes)();
}

} // namespace velo
#endif
