#pragma once

#include "platform/IccProfile.h"

#include <memory>

namespace velo {

// The ICC profile a colour manager set for the first screen: on X11 the
// root window's _ICC_PROFILE property (the ICC Profiles in X convention).
// Null without one, or without X: then the screen is taken to be sRGB.
std::shared_ptr<const IccProfile> screenIccProfile();

} // namespace velo
