#pragma once

#include "engine/LineRange.h"

namespace velo {

// Lines per chunk for an image: a tenth of its height, at least 10.
int chunkSizeForHeight(int pixelsHigh);

// Takes the next chunk of the lines still waiting (dirtyLineRange), from line
// 0 upward. The chunk may reach past the image; the pass clips it.
LineRange takeChunk(LineRange& dirtyLineRange, int height, int chunkSize);

// The share of the lines handed out (0..1) while lines are waiting.
float handedOutShare(LineRange dirtyLineRange, int sourceHeight);

} // namespace velo
