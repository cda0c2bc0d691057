#pragma once

#include "app/CommandSupport.h"

namespace velo {

// `velo info`: describes a document or an image.
int runInfoCommand(const CommandContext& context);
extern const char* const kInfoUsage;

} // namespace velo
