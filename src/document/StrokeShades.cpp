#include "document/StrokeShades.h"

#include <algorithm>
#include <cstdlib>
#include <unordered_set>

namespace velo {

std::vector<RGBA> shadesAround(const Bitmap& bitmap, std::span<const PixelIndex> points,
                               int brushSize) {
    ShadeGatherer gatherer;
    gatherer.add(bitmap, points, brushSize);
    return gatherer.shades();
}

void ShadeGatherer::add(const Bitmap& bitmap, std::span<const PixelIndex> points, int brushSize) {
    const int width = bitmap.pixelsWide();
    const int height = bitmap.pixelsHigh();
    const int half = std::max(brushSize, 1) / 2;
    for (const PixelIndex& p : points) {
        for (int row = std::max(p.y - half, 0); row <= std::min(p.y + half, height - 1); ++row) {
            for (int column = std::max(p.x - half, 0); column <= std::min(p.x + half, width - 1);
                 ++column) {
                if (!taken_.insert(static_cast<long long>(row) * width + column).second) {
                    continue;
                }
                Point at{static_cast<float>(column), static_cast<float>(height - 1 - row)};
                RGBA c = RGBAAtPoint(bitmap, at);
                if (c.a > 0.0f) {
                    shades_.push_back(c);
                }
            }
        }
    }
}

std::vector<PixelIndex> pixelsAlong(std::span<const PixelIndex> path) {
    std::vector<PixelIndex> pixels;
    if (path.empty()) {
        return pixels;
    }
    pixels.push_back(path.front());
    for (std::size_t i = 1; i < path.size(); ++i) {
        PixelIndex from = path[i - 1];
        PixelIndex to = path[i];
        int steps = std::max(std::abs(to.x - from.x), std::abs(to.y - from.y));
        for (int s = 1; s <= steps; ++s) {
            // Rounded to the nearest pixel, halves away from the start.
            auto between = [&](int a, int b) {
                long long twice = 2LL * (b - a) * s;
                long long rounded = (twice + (twice >= 0 ? steps : -steps)) / (2LL * steps);
                return a + static_cast<int>(rounded);
            };
            pixels.push_back({between(from.x, to.x), between(from.y, to.y)});
        }
    }
    return pixels;
}

} // namespace velo
