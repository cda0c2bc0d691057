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

// What tells a file's content apart from what it was: which file it is, its
// modification time and size. Two stamps differ when the file was replaced
// or changed.
struct FileStamp {
    bool exists = false;
    unsigned long long inode = 0;
    long long modified = 0; // nanoseconds since the epoch
    long long size = 0;
    bool operator==(const FileStamp&) const = default;
};

FileStamp fileStampOf(const std::filesystem::path& path);

} // namespace velo
