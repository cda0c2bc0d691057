#pragma once

#include <string>

namespace velo {

// The user defaults Velo reads.
inline const std::string kActiveColorAdjustmentsDefault = "activeColorAdjustments";
inline const std::string kJpegCompressionFactorDefault = "jpegCompressionFactor";

} // namespace velo
