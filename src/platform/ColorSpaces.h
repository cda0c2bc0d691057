#pragma once

#include <string>

namespace velo {

// Colour space names, as the framework spells them (they appear in files).
inline const std::string kCalibratedRGBColorSpace = "NSCalibratedRGBColorSpace";
inline const std::string kDeviceRGBColorSpace = "NSDeviceRGBColorSpace";
inline const std::string kCalibratedWhiteColorSpace = "NSCalibratedWhiteColorSpace";
inline const std::string kDeviceWhiteColorSpace = "NSDeviceWhiteColorSpace";

} // namespace velo
