#pragma once

#include <string>

namespace velo {

// A line in the application's log (standard error).
void logMessage(const std::string& message);

} // namespace velo
