#pragma once

#include <gtest/gtest.h>

#include <filesystem>

namespace velo::test {

// The shared sample images beside the repository.
inline std::filesystem::path corpusDir() {
    return VELO_CORPUS_DIR;
}

// Skips the calling test when the sample images are not there.
#define VELO_REQUIRE_CORPUS()                                                                      \
    if (!std::filesystem::is_directory(::velo::test::corpusDir()))                                 \
    GTEST_SKIP() << "sample images not found in " << ::velo::test::corpusDir()

} // namespace velo::test
