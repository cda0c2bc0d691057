#include "engine/FastInfluenceMap.h"

#include "color/PixelAccess.h"
#include "engine/FastInfluencePlan.h"
#include "engine/FastPass.h"
#include "engine/InfluenceMap.h"
#include "engine/LaneGroups.h"

#include <algorithm>

namespace velo {

namespace {

template <class Sample>
void influenceLine(const InfluencePlan& plan, const Sample* from, int samples, std::uint8_t* to,
                   std::size_t width, float* scratch) {
    inLaneGroups(from, samples, to, 3, width, kernelLanes(),
                 [&](const Sample* in, std::uint8_t* out, std::size_t n) {
                     influenceRow(plan, in, samples, out, n, scratch);
                 });
}

} // namespace

InfluencePlan makeInfluencePlan(std::span<const ColorAdjustment> adjustments,
                                std::span<const std::size_t> selectedIndices) {
    InfluencePlan plan;
    plan.pass = makePassPlan(adjustments);
    plan.selected.assign(adjustments.size(), false);
    plan.showsSelection = !selectedIndices.empty();
    for (std::size_t index : selectedIndices) {
        if (index < adjustments.size()) {
            plan.selected[index] = true;
        }
    }
    for (const ColorAdjustment& a : adjustments) {
        RGBA target = a.targetRGBA();
        plan.targetBytes.push_back(
            {nearestByte(target.r), nearestByte(target.g), nearestByte(target.b)});
    }
    return plan;
}

bool hasFastInfluencePath(const Bitmap& source, const Bitmap& influence) {
    return hasFastPath(source, source) && !influence.isPlanar() && !influence.isDeep() &&
           influence.samplesPerPixel() == 3 && influence.bitsPerPixel() == 24 &&
           influence.pixelsWide() == source.pixelsWide() &&
           influence.pixelsHigh() == source.pixelsHigh();
}

void calcInfluenceRangeFast(LineRange range, const Bitmap* source, Bitmap* influence,
                            std::span<const ColorAdjustment> adjustments,
                            std::span<const std::size_t> selectedIndices) {
    if (!source || !influence) {
        return;
    }
    if (!hasFastInfluencePath(*source, *influence)) {
        calcInfluenceRange(range, source, influence, adjustments, selectedIndices);
        return;
    }
    InfluencePlan plan = makeInfluencePlan(adjustments, selectedIndices);
    std::vector<float> scratch(scratchFloats(plan.pass));
    const int height = source->pixelsHigh();
    const auto width = static_cast<std::size_t>(source->pixelsWide());
    std::uint64_t end = std::min<std::uint64_t>(static_cast<std::uint64_t>(height), range.end());
    for (std::uint64_t line = range.location; line < end; ++line) {
        // Lines count from the bottom, buffer rows from the top.
        int row = height - 1 - static_cast<int>(line);
        std::uint8_t* to =
            influence->plane(0) + static_cast<std::size_t>(row) * influence->bytesPerRow();
        if (source->isDeep()) {
            influenceLine(plan, source->samples16(0, row), source->samplesPerPixel(), to, width,
                          scratch.data());
        } else {
            influenceLine(plan,
                          source->plane(0) + static_cast<std::size_t>(row) * source->bytesPerRow(),
                          source->samplesPerPixel(), to, width, scratch.data());
        }
    }
}

} // namespace velo
