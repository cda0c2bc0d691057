#pragma once

#include <filesystem>
#include <optional>

namespace velo {

// An exclusive advisory lock on a file, held while the object lives. The
// system lets go of it when the process ends in any way, even killed, so a
// free lock tells that its holder is gone.
class FileLock {
  public:
    // Creates the file when needed; nothing when another process holds it.
    static std::optional<FileLock> tryLock(const std::filesystem::path& path);

    FileLock(FileLock&& other) noexcept;
    FileLock& operator=(FileLock&& other) noexcept;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    ~FileLock();

  private:
    explicit FileLock(int fd) : fd_(fd) {}
    int fd_ = -1;
};

} // namespace velo
