#include "imageio/DamagedRows.h"

#include <cstring>

namespace velo {

void fillMissingRows(Bitmap& bitmap, int firstRow, int rows) {
    int samples = bitmap.samplesPerPixel();
    bool alpha = samples == 2 || samples == 4;
    for (int y = firstRow; y < firstRow + rows; ++y) {
        std::uint8_t* row = bitmap.plane(0) + static_cast<std::size_t>(y) * bitmap.bytesPerRow();
        std::memset(row, 128, static_cast<std::size_t>(bitmap.bytesPerRow()));
        if (alpha) {
            for (int x = 0; x < bitmap.pixelsWide(); ++x) {
                row[x * samples + samples - 1] = 255;
            }
        }
    }
}

std::string endsEarlyMessage(const std::string& format, long long linesRead, long long linesHigh) {
    return "the " + format + " data ends early: " + std::to_string(linesRead) + " of " +
           std::to_string(linesHigh) + " lines could be read, the rest is grey";
}

} // namespace velo
