#pragma once

#include <cstdint>

namespace velo {

// The most bytes one decoded image may take: a quarter of physical memory
// unless set otherwise. Every decoder refuses an image beyond it.
std::uint64_t imageMemoryLimit();
void setImageMemoryLimit(std::uint64_t bytes);

} // namespace velo
