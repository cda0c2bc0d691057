#include "engine/LineRange.h"

#include <algorithm>

namespace velo {

Rect unionRect(Rect a, Rect b) {
    if (a.isEmpty()) {
        return b.isEmpty() ? Rect{} : b;
    }
    if (b.isEmpty()) {
        return a;
    }
    float x = std::min(a.x, b.x);
    float y = std::min(a.y, b.y);
    float right = std::max(a.x + a.width, b.x + b.width);
    float top = std::max(a.y + a.height, b.y + b.height);
    return {x, y, right - x, top - y};
}

} // namespace velo
