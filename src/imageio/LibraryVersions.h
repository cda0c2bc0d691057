#pragma once

#include <string>
#include <utility>
#include <vector>

namespace velo {

// The image libraries Velo reads and writes files with, each with the version
// it runs with (or was built against, where the library cannot tell).
std::vector<std::pair<std::string, std::string>> imageLibraryVersions();

} // namespace velo
