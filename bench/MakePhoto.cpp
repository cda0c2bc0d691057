// Writes the benchmarks' 20-megapixel photo-like image as a JPEG, for timing
// `velo apply` end to end.
#include "bench/BenchImages.h"
#include "platform/Files.h"
#include "platform/ImageEncoder.h"

#include <QCoreApplication>

#include <iostream>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::cerr << "usage: make_bench_photo OUT.jpg\n";
        return 2;
    }
    auto photo = velo::bench::photoImage();
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
