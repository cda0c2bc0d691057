#include "engine/ChunkHandout.h"

#include <cmath>

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

float handedOutShare(LineRange dirty, int sourceHeight) {
    return static_cast<float>(dirty.location) / (static_cast<float>(sourceHeight) + 2.0f);
}

} // namespace velo
