#include "imageio/ImageMemoryLimit.h"

#include <unistd.h>

namespace velo {

namespace {

std::uint64_t quarterOfPhysicalMemory() {
    long pages = sysconf(_SC_PHYS_PAGES);
    long pageSize = sysconf(_SC_PAGE_SIZE);
    if (pages <= 0 || pageSize <= 0) {
        return std::uint64_t{1} << 30;
    }
    return static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize) / 4;
}

std::uint64_t& memoryLimit() {
    static std::uint64_t limit = quarterOfPhysicalMemory();
    return limit;
}

} // namespace

std::uint64_t imageMemoryLimit() {
    return memoryLimit();
}

void setImageMemoryLimit(std::uint64_t bytes) {
    memoryLimit() = bytes;
}

} // namespace velo
