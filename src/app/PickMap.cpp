#include "app/PickMap.h"

#include "adjust/ShadeFit.h"

namespace velo {

std::optional<std::string> pointOutside(const PickMap& pick, int pixelsWide, int pixelsHigh) {
    for (const PixelIndex& p : pick.points) {
        if (p.x < 0 || p.y < 0 || p.x >= pixelsWide || p.y >= pixelsHigh) {
            return pick.text + ": the point " + std::to_string(p.x) + "," + std::to_string(p.y) +
                   " is outside the image, which is " + std::to_string(pixelsWide) + " by " +
                   std::to_string(pixelsHigh) + " pixels (X from 0 to " +
                   std::to_string(pixelsWide - 1) + ", Y from 0 to " +
                   std::to_string(pixelsHigh - 1) + ")";
        }
    }
    return std::nullopt;
}

std::shared_ptr<ColorAdjustment> pickedAdjustment(const PickMap& pick,
                                                  std::span<const RGBA> shades) {
    std::optional<ShadeFit> fit = fitShades(shades);
    if (!fit) {
        return nullptr;
    }
    auto row = std::make_shared<ColorAdjustment>();
    row->setColorModel(ColorModel::OKLab);
    row->setComponentsMask(kAllComponents);
    row->setSourceColor(
        Color::colorWithCalibratedRed(fit->source.r, fit->source.g, fit->source.b, fit->source.a));
    row->setTargetColor(pick.target);
    row->setReach(pick.reach.value_or(fit->reach));
    return row;
}

} // namespace velo
