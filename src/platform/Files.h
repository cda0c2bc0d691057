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

// A file written in its target's folder without a name (O_TMPFILE) and put
// in the target's place only once complete (synced, linked in, renamed over
// it): the previous file survives any failure, and a writer killed on the
// way leaves nothing behind. Where the file system has no unnamed files, a
// named temporary file stands in, removed on every error.
class AtomicFile {
  public:
    static std::optional<AtomicFile> create(const std::filesystem::path& target,
                                            std::string& error);
    AtomicFile(AtomicFile&& other) noexcept;
    AtomicFile& operator=(AtomicFile&&) = delete;
    ~AtomicFile();

    // Where to write, through this descriptor or by name (a /proc name for
    // an unnamed file).
    const std::filesystem::path& temporaryPath() const { return temporary_; }
    int descriptor() const { return fd_; }
    // Returns an error message, or nothing once the target is replaced.
    std::optional<std::string> commit();

  private:
    AtomicFile(std::filesystem::path target, std::filesystem::path temporary, int fd, bool unnamed)
        : target_(std::move(target)), temporary_(std::move(temporary)), fd_(fd), unnamed_(unnamed) {
    }
    // Gives the unnamed file a name beside the target; false on failure.
    bool linkBesideTarget();

    std::filesystem::path target_;
    std::filesystem::path temporary_;
    int fd_;
    bool unnamed_;
};

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
