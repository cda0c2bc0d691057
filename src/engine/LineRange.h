#pragma once

#include <cstdint>

namespace velo {

// Image lines counted from the bottom: line y is buffer row pixelsHigh - 1 - y.
struct LineRange {
    std::uint32_t location = 0;
    std::uint32_t length = 0;

    std::uint64_t end() const { return std::uint64_t{location} + length; }
    bool operator==(const LineRange&) const = default;
};

// A region in bitmap pixels, origin at the lower left. Empty when its width
// or height is not positive.
struct Rect {
    float x = 0, y = 0, width = 0, height = 0;

    bool isEmpty() const { return !(width > 0) || !(height > 0); }
    bool operator==(const Rect&) const = default;
};

// The smallest rectangle holding both; an empty one contributes nothing.
Rect unionRect(Rect a, Rect b);

} // namespace velo
