#include "imageio/ByteSink.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace velo {

bool MemorySink::writeAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) {
    if (offset + bytes.size() > bytes_.size()) {
        bytes_.resize(offset + bytes.size());
    }
    std::copy(bytes.begin(), bytes.end(), bytes_.begin() + static_cast<std::ptrdiff_t>(offset));
    return true;
}

std::size_t MemorySink::readAt(std::uint64_t offset, std::span<std::uint8_t> bytes) {
    if (offset >= bytes_.size()) {
        return 0;
    }
    std::size_t n = std::min<std::size_t>(bytes.size(), bytes_.size() - offset);
    std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(offset), n, bytes.begin());
    return n;
}

namespace {

class FileSink final : public ByteSink {
  public:
    explicit FileSink(int fd) : fd_(fd) {}
    ~FileSink() override {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }

    bool writeAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) override;
    std::size_t readAt(std::uint64_t offset, std::span<std::uint8_t> bytes) override;
    std::uint64_t size() const override { return size_; }
    std::optional<std::string> close() override;
    std::string failure() const override { return failure_; }

  private:
    int fd_;
    std::uint64_t size_ = 0;
    std::string failure_;
};

bool FileSink::writeAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::pwrite(fd_, bytes.data() + done, bytes.size() - done,
                             static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            failure_ = std::strerror(errno);
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    size_ = std::max<std::uint64_t>(size_, offset + bytes.size());
    return true;
}

std::size_t FileSink::readAt(std::uint64_t offset, std::span<std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::pread(fd_, bytes.data() + done, bytes.size() - done,
                            static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    return done;
}

std::optional<std::string> FileSink::close() {
    int fd = fd_;
    fd_ = -1;
    if (fd >= 0 && ::close(fd) != 0 && failure_.empty()) {
        failure_ = std::strerror(errno);
    }
    return failure_.empty() ? std::nullopt : std::optional(failure_);
}

} // namespace

std::shared_ptr<ByteSink> openFileSink(const std::filesystem::path& path, std::string& error) {
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        error = "cannot write " + path.string() + ": " + std::strerror(errno);
        return nullptr;
    }
    return std::make_shared<FileSink>(fd);
}

} // namespace velo
