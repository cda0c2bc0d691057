#include "engine/InfluenceMap.h"

#include "color/PixelAccess.h"
#include "engine/AdjustmentShares.h"
#include "engine/PixelMover.h"
#include "platform/ColorSpaces.h"

#include <algorithm>
#include <vector>

namespace velo {

namespace {

// What one pixel shows, from its source colour and the shares of its
// adjustments.
class InfluencePixel {
  public:
    InfluencePixel(std::span<const ColorAdjustment> adjustments,
                   std::span<const std::size_t> selectedIndices)
        : adjustments_(adjustments), mover_(adjustments), isSelected_(adjustments.size()) {
        for (std::size_t index : selectedIndices) {
            showsSelection_ = true;
            if (index < isSelected_.size()) {
                isSelected_[index] = true;
            }
        }
    }

    RGBA colorFor(RGBA source) {
        std::span<const float> shares = mover_.shares(source);
        return showsSelection_ ? selectedShare(shares) : dominantTarget(source, shares);
    }

  private:
    RGBA selectedShare(std::span<const float> shares) const {
        float sum = 0;
        for (std::size_t i = 0; i < shares.size(); ++i) {
            if (isSelected_[i]) {
                sum = sum + shares[i];
            }
        }
        return {sum, sum, sum, 1.0f};
    }

    RGBA dominantTarget(RGBA source, std::span<const float> shares) const {
        AdjustmentShare dominant;
        if (largestShares(shares, {&dominant, 1}) == 0) {
            // No adjustment, so nothing owns the pixel: it shows its own
            // colour (opaque: the map has no alpha).
            return source;
        }
        return adjustments_[dominant.index].targetRGBA();
    }

    std::span<const ColorAdjustment> adjustments_;
    PixelMover mover_;
    std::vector<bool> isSelected_;
    bool showsSelection_ = false;
};

} // namespace

std::shared_ptr<Bitmap> influenceBitmap(const Bitmap& source) {
    auto influence = std::make_shared<Bitmap>(source.pixelsWide(), source.pixelsHigh(), 3, false,
                                              false, kCalibratedRGBColorSpace);
    influence->setSize(source.size());
    influence->setOpaque(true);
    return influence;
}

void calcInfluenceRange(LineRange range, const Bitmap* source, Bitmap* influence,
                        std::span<const ColorAdjustment> adjustments,
                        std::span<const std::size_t> selectedIndices) {
    if (!source || !influence) {
        return;
    }
    std::uint64_t endLine =
        std::min<std::uint64_t>(static_cast<std::uint64_t>(source->pixelsHigh()), range.end());
    InfluencePixel pixel(adjustments, selectedIndices);
    for (std::uint64_t y = range.location; y < endLine; ++y) {
        // Lines count from the bottom, buffer rows from the top.
        std::uint8_t* sample =
            influence->plane(0) +
            (static_cast<std::size_t>(influence->pixelsHigh()) - 1 - y) * influence->bytesPerRow();
        for (int x = 0; x < influence->pixelsWide(); ++x) {
            // Shown, not computed on: the nearest byte, so that a share of
            // 0.99999994 is white.
            RGBA c = pixel.colorFor(
                RGBAAtPoint(*source, {static_cast<float>(x), static_cast<float>(y)}));
            *sample++ = nearestByte(c.r);
            *sample++ = nearestByte(c.g);
            *sample++ = nearestByte(c.b);
        }
    }
}

} // namespace velo
