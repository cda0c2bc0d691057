#pragma once

#include <cstdint>
#include <vector>

namespace velo {

// An ICC colour profile exactly as a file carried it.
using IccProfile = std::vector<std::uint8_t>;

} // namespace velo
