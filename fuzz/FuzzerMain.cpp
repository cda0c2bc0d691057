// One libFuzzer entry point; VELO_FUZZ_TARGET names the target it runs.
#include "fuzz/FuzzTargets.h"
#include "imageio/ImageMemoryLimit.h"

#include <QCoreApplication>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    // Image codecs load as plug-ins; keep decoded images small enough to fuzz fast.
    static QCoreApplication app(*argc, *argv);
    velo::setImageMemoryLimit(std::uint64_t{64} << 20);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return velo::fuzz::VELO_FUZZ_TARGET(data, size);
}
