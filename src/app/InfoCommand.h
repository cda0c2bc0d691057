#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace velo {

// `velo info IMAGE`: prints the image's representations and the working
// bitmap picked from them. Returns the process exit status.
int runInfoCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace velo
