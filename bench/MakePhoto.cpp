// Writes the benchmarks' photo-like image as a JPEG, or as a 16-bit PNG for
// a name ending in .png (20 megapixels unless a size is given), for timing
// and measuring `velo apply` end to end.
#include "bench/BenchImages.h"
#include "imageio/ImageEncoder.h"
#include "platform/Files.h"
#include "platform/SampleDepth.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <string>

namespace {

// The photo at 16 bits, its low bits grain as a scanner's or a raw
// developer's are, rather than copies of the high ones.
std::shared_ptr<velo::Bitmap> deepPhoto(const velo::Bitmap& photo) {
    auto deep = velo::copyWithDepth(photo, 16);
    std::uint32_t state = 12345;
    for (int y = 0; y < deep->pixelsHigh(); ++y) {
        std::uint16_t* row = deep->samples16(0, y);
        for (int i = 0; i < deep->pixelsWide() * deep->samplesPerPixel(); ++i) {
            state = state * 1664525u + 1013904223u;
            int grain = static_cast<int>(state >> 24) - 128;
            row[i] = static_cast<std::uint16_t>(std::clamp(row[i] + grain, 0, 65535));
        }
    }
    return deep;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2 && argc != 4) {
        std::cerr << "usage: make_bench_photo OUT.jpg [WIDTH HEIGHT]\n";
        return 2;
    }
    auto photo = argc == 4 ? velo::bench::photoLikeImage(std::atoi(argv[2]), std::atoi(argv[3]))
                           : velo::bench::photoImage();
    bool png = std::string(argv[1]).ends_with(".png");
    velo::EncodedData jpeg =
        png ? velo::encodeImage(*deepPhoto(*photo), velo::ImageFileType::PNG, 1)
            : velo::encodeImage(*photo, velo::ImageFileType::JPEG, 0.92f);
    if (!jpeg.data) {
        std::cerr << jpeg.error << "\n";
        return 1;
    }
    auto error = velo::writeFileAtomically(argv[1], *jpeg.data);
    if (error) {
        std::cerr << *error << "\n";
        return 1;
    }
    return 0;
}
