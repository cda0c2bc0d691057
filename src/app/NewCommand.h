#pragma once

#include "app/CommandSupport.h"

namespace velo {

// `velo new`: writes a document for an image.
int runNewCommand(const CommandContext& context);
extern const char* const kNewUsage;

} // namespace velo
