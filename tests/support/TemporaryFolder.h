#pragma once

#include <filesystem>
#include <string>
#include <unistd.h>

namespace velo::test {

// A fresh folder, removed with everything in it at the end of the test.
class TemporaryFolder {
  public:
    TemporaryFolder() {
        path_ = std::filesystem::temp_directory_path() /
                ("velo-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter_++));
        std::filesystem::create_directories(path_);
    }
    ~TemporaryFolder() { std::filesystem::remove_all(path_); }
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

  private:
    static inline int counter_ = 0;
    std::filesystem::path path_;
};

} // namespace velo::test
