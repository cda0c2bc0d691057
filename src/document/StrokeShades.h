#pragma once

#include "color/ColorRecords.h"
#include "color/PixelAccess.h"
#include "platform/Bitmap.h"

#include <span>
#include <unordered_set>
#include <vector>

namespace velo {

// The colours a stroke or a list of picked points takes from a bitmap: the
// brushSize by brushSize square centred on each point (columns and rows
// counted from the top-left pixel), clipped to the bitmap, each pixel once
// however many squares cover it, in the order first covered. Fully
// transparent pixels have no colour to give and are left out.
std::vector<RGBA> shadesAround(const Bitmap& bitmap, std::span<const PixelIndex> points,
                               int brushSize);

// The same, gathered piece by piece as a stroke goes on.
class ShadeGatherer {
  public:
    void add(const Bitmap& bitmap, std::span<const PixelIndex> points, int brushSize);
    const std::vector<RGBA>& shades() const { return shades_; }

  private:
    std::unordered_set<long long> taken_;
    std::vector<RGBA> shades_;
};

// The pixels a pointer's path passes over: every pixel of the straight
// segments between consecutive points, so that a quick drag leaves no gaps.
std::vector<PixelIndex> pixelsAlong(std::span<const PixelIndex> path);

} // namespace velo
