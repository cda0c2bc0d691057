#pragma once

namespace velo {

// A point in a bitmap's or view's own coordinates: origin at the lower left.
struct Point {
    float x = 0, y = 0;
};

struct Size {
    double width = 0, height = 0;
};

} // namespace velo
