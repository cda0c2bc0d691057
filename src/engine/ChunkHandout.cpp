#include "engine/ChunkHandout.h"

#include "platform/Localization.h"

#include <cmath>
#include <cstdio>
#include <filesystem>

namespace velo {

int chunkSizeForHeight(int pixelsHigh) {
    int size = static_cast<int>(std::ceil(pixelsHigh / 10.0));
    return size < 10 ? 10 : size;
}

LineRange takeChunk(LineRange& dirty, int height, int chunkSize) {
    std::uint32_t h = static_cast<std::uint32_t>(height < 0 ? 0 : height);
    std::uint32_t size = static_cast<std::uint32_t>(chunkSize < 1 ? 1 : chunkSize);
    if (dirty.location >= h) {
        dirty = {h, 0};
        return dirty;
    }
    LineRange range{dirty.location, size};
    if (dirty.length <= size) {
        dirty = {h, 0};
        return range;
    }
    dirty.location += size;
    dirty.length -= size;
    if (dirty.end() > h) {
        dirty.length = h - dirty.location;
    }
    return range;
}

std::string progressTitle(LineRange dirty, int sourceHeight) {
    float progress = static_cast<float>(dirty.location) / (static_cast<float>(sourceHeight) + 2.0f);
    char title[64];
    std::snprintf(title, sizeof title, localizedString("adjusting %.0f%%").c_str(),
                  std::floor(static_cast<double>(progress) * 100.0));
    return title;
}

std::string restingTitle(const std::string& representedFilename) {
    if (representedFilename.size() > 1) {
        return std::filesystem::path(representedFilename).filename().string();
    }
    return localizedString("Untitled");
}

} // namespace velo
