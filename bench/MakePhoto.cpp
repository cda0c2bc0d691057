// Writes the benchmarks' photo-like image as a JPEG (20 megapixels unless a
// size is given), for timing and measuring `velo apply` end to end.
#include "bench/BenchImages.h"
#include "imageio/ImageEncoder.h"
#include "platform/Files.h"

#include <QCoreApplication>

#include <cstdlib>
#include <iostream>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2 && argc != 4) {
        std::cerr << "usage: make_bench_photo OUT.jpg [WIDTH HEIGHT]\n";
        return 2;
    }
    auto photo = argc == 4 ? velo::bench::photoLikeImage(std::atoi(argv[2]), std::atoi(argv[3]))
                           : velo::bench::photoImage();
    velo::EncodedData jpeg = velo::encodeImage(*photo, velo::ImageFileType::JPEG, 0.92f);
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
