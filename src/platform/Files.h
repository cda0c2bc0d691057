#pragma once

#include "platform/PropertyValue.h"

#include <filesystem>
#include <optional>
#include <string>

namespace velo {

struct FileBytes {
    std::optional<PropertyValue::Data> bytes;
    std::string error;
};

FileBytes readFile(const std::filesystem::path& path);

// Writes through a temporary file in the same folder, then renames it over
// the target: the previous file survives any failure, and no temporary file
// is left behind. Returns an error message, or nothing on success.
std::optional<std::string> writeFileAtomically(const std::filesystem::path& path,
                                               const PropertyValue::Data& bytes);

} // namespace velo
