#include "platform/Files.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
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

namespace {

std::filesystem::path folderOf(const std::filesystem::path& target) {
    return target.parent_path().empty() ? "." : target.parent_path();
}

// The hidden name a temporary file takes beside the target.
std::string temporaryPattern(const std::filesystem::path& target) {
    return (folderOf(target) / ("." + target.filename().string() + ".XXXXXX")).string();
}

// File systems without unnamed files say so in one of these ways.
bool lacksUnnamedFiles(int error) {
    return error == EOPNOTSUPP || error == EISDIR || error == EINVAL;
}

std::string descriptorPath(int fd) {
    return "/proc/self/fd/" + std::to_string(fd);
}

} // namespace

std::optional<AtomicFile> AtomicFile::create(const std::filesystem::path& target,
                                             std::string& error) {
    std::filesystem::path folder = folderOf(target);
    // Created with the usual permissions of a new file, less the umask.
    int fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
    if (fd >= 0 && ::access(descriptorPath(fd).c_str(), F_OK) == 0) {
        return AtomicFile(target, descriptorPath(fd), fd, true);
    }
    if (fd >= 0) {
        ::close(fd); // no /proc to link it in through
    } else if (!lacksUnnamedFiles(errno)) {
        error = systemError("cannot write " + target.string());
        return std::nullopt;
    }
    std::string pattern = temporaryPattern(target);
    fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0) {
        error = systemError("cannot write " + target.string());
        return std::nullopt;
    }
    // mkstemp makes the file private; give it the usual permissions.
    mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
    return AtomicFile(target, pattern, fd, false);
}

bool AtomicFile::linkBesideTarget() {
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string pattern = temporaryPattern(target_);
        // A fresh unique name: mkstemp makes it, unlink frees it for the link.
        int probe = ::mkostemp(pattern.data(), O_CLOEXEC);
        if (probe < 0) {
            return false;
        }
        ::close(probe);
        ::unlink(pattern.c_str());
        if (::linkat(AT_FDCWD, temporary_.c_str(), AT_FDCWD, pattern.c_str(), AT_SYMLINK_FOLLOW) ==
            0) {
            temporary_ = pattern;
            unnamed_ = false;
            return true;
        }
        if (errno != EEXIST) {
            return false;
        }
    }
    return false;
}

AtomicFile::AtomicFile(AtomicFile&& other) noexcept
    : target_(std::move(other.target_)), temporary_(std::move(other.temporary_)),
      fd_(std::exchange(other.fd_, -1)), unnamed_(other.unnamed_) {}

AtomicFile::~AtomicFile() {
    if (fd_ >= 0) {
        ::close(fd_);
        if (!unnamed_) {
            ::unlink(temporary_.c_str());
        }
    }
}

std::optional<std::string> AtomicFile::commit() {
    int fd = std::exchange(fd_, -1);
    auto fail = [&](const std::string& what) {
        std::string error = systemError(what);
        if (fd >= 0) {
            ::close(fd);
        }
        if (!unnamed_) {
            ::unlink(temporary_.c_str());
        }
        return error;
    };
    if (::fsync(fd) != 0) {
        return fail("cannot write " + target_.string());
    }
    // Named only now, while the descriptor still holds the file.
    if (unnamed_ && !linkBesideTarget()) {
        return fail("cannot write " + target_.string());
    }
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
