#include "engine/FastPass.h"

#include "engine/AdjustmentPass.h"
#include "engine/FastPassPlan.h"
#include "engine/LaneGroups.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace velo {

namespace {

float largestFloatBelow(double threshold) {
    float f = static_cast<float>(threshold);
    while (static_cast<double>(f) >= threshold) {
        f = std::nextafter(f, -std::numeric_limits<float>::infinity());
    }
    return f;
}

FastAdjustment fastAdjustment(const ColorAdjustment& a) {
    FastAdjustment f;
    f.usesHSB = a.usesHSB();
    f.usesOKLab = a.colorModel() == ColorModel::OKLab;
    f.moves = a.moves();
    f.hasReach = a.reach().has_value();
    f.movesInOKLCh = f.usesOKLab && f.moves;
    f.reach = a.reachMeasure();
    f.oklch = a.oklchMove();
    f.mask = a.componentsMask();
    OKLab lab = a.sourceOKLab();
    f.sourceLab[0] = lab.L;
    f.sourceLab[1] = lab.a;
    f.sourceLab[2] = lab.b;
    f.sourceChroma = a.sourceChroma();
    RGBA s = a.sourceRGBA(), t = a.targetRGBA();
    HSBA sh = a.sourceHSBA(), th = a.targetHSBA();
    float source[4] = {s.r, s.g, s.b, s.a}, target[4] = {t.r, t.g, t.b, t.a};
    float sourceHSB[4] = {sh.h, sh.s, sh.b, sh.a}, targetHSB[4] = {th.h, th.s, th.b, th.a};
    for (int i = 0; i < 4; ++i) {
        f.source[i] = source[i];
        f.difference[i] = target[i] - source[i];
        f.sourceHSB[i] = sourceHSB[i];
        f.differenceHSB[i] = targetHSB[i] - sourceHSB[i];
    }
    return f;
}

bool isMeshedWithoutPadding(const Bitmap& b) {
    return !b.isPlanar() && b.bitsPerPixel() == b.bitsPerSample() * b.samplesPerPixel();
}

template <class Sample>
void adjustLine(const PassPlan& plan, const Sample* from, int inSamples, Sample* to, int outSamples,
                std::size_t width, float* scratch) {
    inLaneGroups(from, inSamples, to, outSamples, width, kernelLanes(),
                 [&](const Sample* in, Sample* out, std::size_t n) {
                     adjustRow(plan, in, inSamples, out, outSamples, n, scratch);
                 });
}

} // namespace

std::size_t scratchFloats(const PassPlan& plan) {
    // A weight and a taper per entry and lane.
    return std::max<std::size_t>(plan.ordered.size(), 1) * 2 * kernelLanes();
}

const Thresholds& thresholds() {
    static const Thresholds t{largestFloatBelow(1e-7), largestFloatBelow(1e-6),
                              largestFloatBelow(0.9999999)};
    return t;
}

PassPlan makePassPlan(std::span<const ColorAdjustment> adjustments) {
    PassPlan plan;
    plan.ordered.resize(adjustments.size());
    std::size_t rising = 0, falling = adjustments.size();
    for (const ColorAdjustment& a : adjustments) {
        std::size_t entry = a.usesHSB() ? --falling : rising++;
        plan.ordered[entry] = fastAdjustment(a);
        plan.entryOf.push_back(entry);
    }
    plan.needsHSB = !plan.ordered.empty() && plan.ordered.back().usesHSB;
    plan.startsWithRGB = plan.ordered.empty() || !plan.ordered.front().usesHSB;
    plan.hasReach = std::ranges::any_of(plan.ordered, &FastAdjustment::hasReach);
    plan.movesInOKLCh = std::ranges::any_of(plan.ordered, &FastAdjustment::movesInOKLCh);
    plan.needsOKLab =
        plan.hasReach || std::ranges::any_of(plan.ordered, &FastAdjustment::usesOKLab);
    return plan;
}

bool hasFastPath(const Bitmap& source, const Bitmap& destination) {
    return isMeshedWithoutPadding(source) && isMeshedWithoutPadding(destination) &&
           source.bitsPerSample() == destination.bitsPerSample() &&
           source.pixelsWide() == destination.pixelsWide() &&
           source.pixelsHigh() == destination.pixelsHigh();
}

void calcRangeFast(LineRange range, const Bitmap* source, Bitmap* destination,
                   std::span<const ColorAdjustment> adjustments) {
    if (!source || !destination) {
        return;
    }
    if (!hasFastPath(*source, *destination)) {
        calcRange(range, source, destination, adjustments);
        return;
    }
    PassPlan plan = makePassPlan(adjustments);
    std::vector<float> scratch(scratchFloats(plan));
    const int height = source->pixelsHigh();
    std::uint64_t end = std::min<std::uint64_t>(static_cast<std::uint64_t>(height), range.end());
    for (std::uint64_t line = range.location; line < end; ++line) {
        int row = height - 1 - static_cast<int>(line);
        const auto width = static_cast<std::size_t>(source->pixelsWide());
        if (source->isDeep()) {
            adjustLine(plan, source->samples16(0, row), source->samplesPerPixel(),
                       destination->samples16(0, row), destination->samplesPerPixel(), width,
                       scratch.data());
            continue;
        }
        const std::size_t offset = static_cast<std::size_t>(row);
        adjustLine(plan, source->plane(0) + offset * source->bytesPerRow(),
                   source->samplesPerPixel(),
                   destination->plane(0) + offset * destination->bytesPerRow(),
                   destination->samplesPerPixel(), width, scratch.data());
    }
}

} // namespace velo
