#pragma once

#include "imageio/RowCodec.h"

namespace velo {

// The row writers of each type, for openRowWriter; null for a layout the
// type cannot be written from row by row.
std::unique_ptr<RowWriter> openJpegRowWriter(std::shared_ptr<ByteSink> sink, const Bitmap& layout,
                                             int pixelsHigh, Size pointSize, float quality);
std::unique_ptr<RowWriter> openPngRowWriter(std::shared_ptr<ByteSink> sink, const Bitmap& layout,
                                            int pixelsHigh, Size pointSize);
std::unique_ptr<RowWriter> openBmpRowWriter(std::shared_ptr<ByteSink> sink, const Bitmap& layout,
                                            int pixelsHigh, Size pointSize);
std::unique_ptr<RowWriter> openTiffRowWriter(std::shared_ptr<ByteSink> sink, const Bitmap& layout,
                                             int pixelsHigh, Size pointSize);

} // namespace velo
