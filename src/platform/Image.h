#pragma once

#include "platform/Bitmap.h"
#include "platform/Geometry.h"

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace velo {

class ImageMetadata;

// One representation of an image. 8-bit and 16-bit pixel data is held as a
// Bitmap; other representations (other depths, vector drawings) are only
// described.
struct ImageRep {
    std::shared_ptr<Bitmap> bitmap; // null unless 8 or 16 bits per sample
    bool isBitmap = true;           // pixel data of any depth, not a drawing
    int pixelsWide = 0;
    int pixelsHigh = 0;
    int bitsPerSample = 8;
    int samplesPerPixel = 0;
    bool hasAlpha = false;

    static ImageRep fromBitmap(std::shared_ptr<Bitmap> bitmap);
};

// An opened image: its representations in order (frames, pages), its size in
// points, and how to draw it into an 8-bit bitmap when no representation is
// usable as one.
struct Image {
    using Renderer = std::function<std::shared_ptr<Bitmap>(int pixelsWide, int pixelsHigh)>;

    std::vector<ImageRep> representations;
    Size size;
    std::optional<std::array<float, 4>> backgroundColor; // calibrated RGBA, when the file has one
    Renderer renderer;
    std::shared_ptr<const ImageMetadata> metadata; // the file's profile, EXIF, XMP, IPTC; or null
};

} // namespace velo
