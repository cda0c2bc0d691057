#pragma once

#include "app/CommandSupport.h"

namespace velo {

// `velo defaults`: shows, stores or forgets the default adjustments.
int runDefaultsCommand(const CommandContext& context);
extern const char* const kDefaultsUsage;

} // namespace velo
