#pragma once

#include <filesystem>

namespace velo::test {

// The shared sample images beside the repository.
inline std::filesystem::path corpusDir() {
    return VELO_CORPUS_DIR;
}

} // namespace velo::test
