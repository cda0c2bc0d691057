// The SIMD kernel of the influence map, compiled once per instruction set and
// chosen at run time: the fast pass's shares per entry (FastPassLanes-inl.h),
// shown as the owner's target colour or the selection's grey exactly as
// calcInfluenceRange shows them.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "engine/InfluenceKernel.cpp"
#include <hwy/foreach_target.h> // IWYU pragma: keep

#include <hwy/highway.h>

#include "engine/FastInfluencePlan.h"
#include "engine/FastPassLanes-inl.h"

HWY_BEFORE_NAMESPACE();
namespace velo {
namespace HWY_NAMESPACE {

struct Bytes {
    VI r, g, b;
};

// nearestByte lane by lane: 0..1 (NaN: 0), times 255 plus a half in double,
// truncated.
HWY_INLINE VI NearestBytes(D d, V v) {
    const DI di;
    V one = hn::Set(d, 1.0f);
    V clamped = hn::IfThenElseZero(hn::Gt(v, hn::Zero(d)), hn::IfThenElse(hn::Lt(v, one), v, one));
#if HWY_TARGET == HWY_SCALAR
    return hn::Set(
        di, static_cast<std::int32_t>(static_cast<double>(hn::GetLane(clamped)) * 255.0 + 0.5));
#else
    const hn::Half<D> dh;
    const hn::Rebind<double, decltype(dh)> dd;
    const hn::Rebind<std::int32_t, decltype(dd)> di32;
    auto half = [&](auto lanes) {
        return hn::DemoteTo(
            di32, hn::Add(hn::Mul(hn::PromoteTo(dd, lanes), hn::Set(dd, 255.0)), hn::Set(dd, 0.5)));
    };
    return hn::Combine(di, half(hn::UpperHalf(dh, clamped)), half(hn::LowerHalf(dh, clamped)));
#endif
}

// The weights of the pixels' entries, with their sum and tapers.
struct Shares {
    const float* weights;
    V weightSum;
    const float* tapers;
};

// The share of the adjustment at a list position.
HWY_INLINE V ShareAt(D d, const PassPlan& plan, const Shares& shares, std::size_t position) {
    return FractionOf(d, plan, plan.entryOf[position], shares.weights, shares.weightSum,
                      shares.tapers);
}

// The sum of the selected shares, in list order, as grey.
HWY_INLINE Bytes SelectionGrey(D d, const InfluencePlan& plan, const Shares& shares) {
    V sum = hn::Zero(d);
    for (std::size_t i = 0; i < plan.selected.size(); ++i) {
        if (plan.selected[i]) {
            sum = hn::Add(sum, ShareAt(d, plan.pass, shares, i));
        }
    }
    VI grey = NearestBytes(d, sum);
    return {grey, grey, grey};
}

// The target of the largest share; only a strictly larger share passes one
// before it, so ties go to the earlier position.
HWY_INLINE Bytes OwnersTarget(D d, const InfluencePlan& plan, const Shares& shares) {
    const DI di;
    const auto& first = plan.targetBytes[0];
    V largest = ShareAt(d, plan.pass, shares, 0);
    Bytes shown{hn::Set(di, first[0]), hn::Set(di, first[1]), hn::Set(di, first[2])};
    for (std::size_t i = 1; i < plan.targetBytes.size(); ++i) {
        V share = ShareAt(d, plan.pass, shares, i);
        M larger = hn::Gt(share, largest);
        largest = hn::IfThenElse(larger, share, largest);
        auto wins = hn::RebindMask(di, larger);
        const auto& target = plan.targetBytes[i];
        shown = {hn::IfThenElse(wins, hn::Set(di, target[0]), shown.r),
                 hn::IfThenElse(wins, hn::Set(di, target[1]), shown.g),
                 hn::IfThenElse(wins, hn::Set(di, target[2]), shown.b)};
    }
    return shown;
}

HWY_INLINE Bytes ShownBytes(D d, const InfluencePlan& plan, const Pixels& pixels,
                            const Shares& shares) {
    if (plan.showsSelection) {
        return SelectionGrey(d, plan, shares);
    }
    if (plan.targetBytes.empty()) {
        // Nothing owns the pixel: its own colour, made opaque.
        const Colour& c = pixels.colour;
        return {NearestBytes(d, c.x), NearestBytes(d, c.y), NearestBytes(d, c.z)};
    }
    return OwnersTarget(d, plan, shares);
}

template <class Sample>
void InfluenceRowOf(const InfluencePlan& plan, const Sample* in, int inSamples, std::uint8_t* out,
                    std::size_t n, float* scratch) {
    const D d;
    const hn::Rebind<std::uint8_t, D> d8;
    const std::size_t lanes = hn::Lanes(d);
    const Thresholds& t = thresholds();
    float* tapers = scratch + plan.pass.ordered.size() * lanes;
    for (std::size_t i = 0; i < n; i += lanes) {
        Pixels pixels = LoadPixels(d, in + i * inSamples, inSamples, t);
        Shares shares{scratch, hn::Zero(d), tapers};
        if (!plan.pass.ordered.empty()) {
            Matching matching = MatchReaches(d, plan.pass, pixels, tapers);
            shares.weightSum = StoreWeights(d, plan.pass, pixels.colour, matching, scratch, t).sum;
        }
        Bytes shown = ShownBytes(d, plan, pixels, shares);
        hn::StoreInterleaved3(hn::DemoteTo(d8, shown.r), hn::DemoteTo(d8, shown.g),
                              hn::DemoteTo(d8, shown.b), d8, out + i * 3);
    }
}

void InfluenceRow(const InfluencePlan& plan, const std::uint8_t* in, int inSamples,
                  std::uint8_t* out, std::size_t n, float* scratch) {
    InfluenceRowOf(plan, in, inSamples, out, n, scratch);
}

void InfluenceRow16(const InfluencePlan& plan, const std::uint16_t* in, int inSamples,
                    std::uint8_t* out, std::size_t n, float* scratch) {
    InfluenceRowOf(plan, in, inSamples, out, n, scratch);
}

} // namespace HWY_NAMESPACE
} // namespace velo
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace velo {

HWY_EXPORT(InfluenceRow);
HWY_EXPORT(InfluenceRow16);

void influenceRow(const InfluencePlan& plan, const std::uint8_t* in, int inSamples,
                  std::uint8_t* out, std::size_t n, float* scratch) {
    HWY_DYNAMIC_DISPATCH(InfluenceRow)(plan, in, inSamples, out, n, scratch);
}

void influenceRow(const InfluencePlan& plan, const std::uint16_t* in, int inSamples,
                  std::uint8_t* out, std::size_t n, float* scratch) {
    HWY_DYNAMIC_DISPATCH(InfluenceRow16)(plan, in, inSamples, out, n, scratch);
}

} // namespace velo
#endif
