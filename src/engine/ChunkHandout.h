#pragma once

#include "engine/LineRange.h"

#include <optional>
#include <string>

namespace velo {

// Lines per chunk for an image: a tenth of its height, at least 10.
int chunkSizeForHeight(int pixelsHigh);

// Takes the next chunk of the lines still waiting (dirtyLineRange), from line
// 0 upward. The chunk may reach past the image; the pass clips it.
LineRange takeChunk(LineRange& dirtyLineRange, int height, int chunkSize);

// The window title while lines are waiting: the share of lines handed out.
std::string progressTitle(LineRange dirtyLineRange, int sourceHeight);

// The title once nothing waits: the file's name, or "Untitled".
std::string restingTitle(const std::string& representedFilename);

} // namespace velo
