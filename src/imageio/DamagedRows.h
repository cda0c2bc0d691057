#pragma once

#include "platform/Bitmap.h"

#include <string>

namespace velo {

// Rows a damaged file did not hold, filled with opaque mid grey as libjpeg
// fills them, so that what is missing looks missing.
void fillMissingRows(Bitmap& bitmap, int firstRow, int rows);

// "the FORMAT data ends early: READ of HIGH lines could be read, the rest is grey"
std::string endsEarlyMessage(const std::string& format, long long linesRead, long long linesHigh);

} // namespace velo
