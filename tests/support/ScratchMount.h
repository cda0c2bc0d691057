#pragma once

#include <sys/mount.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>

namespace velo::test {

// A small file system of its own (tmpfs) mounted on a fresh folder for one
// test, to fill up or to make read-only; unmounted at the end. Mounting needs
// root (as in CI): where it is not permitted, error() says so and the test
// skips.
class ScratchMount {
  public:
    ScratchMount(const std::filesystem::path& folder, std::size_t bytes) : folder_(folder) {
        std::filesystem::create_directories(folder_);
        std::string options = "size=" + std::to_string(bytes);
        if (::mount("tmpfs", folder_.c_str(), "tmpfs", 0, options.c_str()) != 0) {
            error_ = std::string("mounting a small file system for the test is not permitted "
                                 "here (it needs root): ") +
                     std::strerror(errno);
        }
    }
    ~ScratchMount() {
        if (error_.empty()) {
            ::umount2(folder_.c_str(), MNT_DETACH);
        }
    }
    ScratchMount(const ScratchMount&) = delete;
    ScratchMount& operator=(const ScratchMount&) = delete;

    const std::string& error() const { return error_; }
    bool setReadOnly(bool readOnly) {
        unsigned long flags = MS_REMOUNT | (readOnly ? MS_RDONLY : 0);
        return ::mount(nullptr, folder_.c_str(), nullptr, flags, nullptr) == 0;
    }
    // Fills what room is left with a file of its own.
    void fill() {
        std::FILE* file = std::fopen((folder_ / ".filler").c_str(), "wb");
        static const char block[4096] = {};
        while (file && std::fwrite(block, 1, sizeof block, file) == sizeof block) {
        }
        if (file) {
            std::fclose(file);
        }
    }

    void unfill() { std::filesystem::remove(folder_ / ".filler"); }

  private:
    std::filesystem::path folder_;
    std::string error_;
};

} // namespace velo::test
