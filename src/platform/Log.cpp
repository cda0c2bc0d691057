#include "platform/Log.h"

#include <cstdio>

namespace velo {

void logMessage(const std::string& message) {
    std::fprintf(stderr, "velo: %s\n", message.c_str());
}

} // namespace velo
