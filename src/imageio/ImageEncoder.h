#pragma once

#include "imageio/Coded.h"
#include "platform/Bitmap.h"

namespace velo {

// Whether files of the type can hold 16-bit samples (PNG and TIFF).
bool holdsDeepSamples(ImageFileType type);

// The depth a bitmap of bitmapBits is written at: the one asked for (8 or
// 16; 0 for the bitmap's own) where the type can hold it, else 8.
int outputBitsPerSample(ImageFileType type, int bitmapBits, int asked = 0);

// Encodes a bitmap as a file of the given type at outputBitsPerSample's depth
// (16-bit samples narrowed to the nearest 8-bit value, 8-bit ones widened).
// jpegQuality is 0..1. Never throws; a failure gives a reason.
EncodedData encodeImage(const Bitmap& bitmap, ImageFileType type, float jpegQuality,
                        int bitsPerSample = 0);

} // namespace velo
