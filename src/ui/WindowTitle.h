#pragma once

#include <QString>

namespace velo {

// The window's title while the result is computed, from the share of its
// lines handed out (0..1): "adjusting 40%".
QString progressTitle(float share);

} // namespace velo
