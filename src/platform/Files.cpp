#include "platform/Files.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace velo {

namespace {

std::string systemError(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

bool writeAll(int fd, const PropertyValue::Data& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

FileBytes readFile(const std::filesystem::path& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return {std::nullopt, systemError("cannot open the file")};
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return {std::nullopt, "not a regular file"};
    }
    PropertyValue::Data bytes;
    std::uint8_t buffer[1 << 16];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            std::string error = systemError("cannot read the file");
            ::close(fd);
            return {std::nullopt, error};
        }
        if (n == 0) {
            break;
        }
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
    ::close(fd);
    return {std::move(bytes), {}};
}

std::optional<AtomicFile> AtomicFile::create(const std::filesystem::path& target,
                                             std::string& error) {
    std::filesystem::path folder = target.parent_path().empty() ? "." : target.parent_path();
    std::string pattern = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        error = systemError("cannot write in " + folder.string());
        return std::nullopt;
    }
    return AtomicFile(target, pattern, fd);
}

AtomicFile::AtomicFile(AtomicFile&& other) noexcept
    : target_(std::move(other.target_)), temporary_(std::move(other.temporary_)),
      fd_(std::exchange(other.fd_, -1)) {}

AtomicFile::~AtomicFile() {
    if (fd_ >= 0) {
        ::close(fd_);
        ::unlink(temporary_.c_str());
    }
}

std::optional<std::string> AtomicFile::commit() {
    int fd = std::exchange(fd_, -1);
    auto fail = [&](const std::string& what) {
        std::string error = systemError(what);
        if (fd >= 0) {
            ::close(fd);
        }
        ::unlink(temporary_.c_str());
        return error;
    };
    if (::fsync(fd) != 0) {
        return fail("cannot write " + target_.string());
    }
    // Keep the usual permissions of a new file (mkstemp makes it private).
    mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
    if (::close(std::exchange(fd, -1)) != 0) {
        return fail("cannot write " + target_.string());
    }
    if (::rename(temporary_.c_str(), target_.c_str()) != 0) {
        return fail("cannot replace " + target_.string());
    }
    return std::nullopt;
}

std::optional<std::string> writeFileAtomically(const std::filesystem::path& path,
                                               const PropertyValue::Data& bytes) {
    std::string error;
    std::optional<AtomicFile> file = AtomicFile::create(path, error);
    if (!file) {
        return error;
    }
    if (!writeAll(file->descriptor(), bytes)) {
        return systemError("cannot write " + path.string());
    }
    return file->commit();
}

FileStamp fileStampOf(const std::filesystem::path& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return {};
    }
    return {true, static_cast<unsigned long long>(info.st_ino),
            info.st_mtim.tv_sec * 1'000'000'000LL + info.st_mtim.tv_nsec,
            static_cast<long long>(info.st_size)};
}

} // namespace velo
