#include "platform/Files.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/random.h>
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

// The target's hidden name with six random letters, as mkstemp makes them.
std::string freshTemporaryName(const std::filesystem::path& target) {
    static constexpr char kLetters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::string name = temporaryPattern(target);
    unsigned char random[6] = {};
    if (::getrandom(random, sizeof random, 0) != static_cast<ssize_t>(sizeof random)) {
        auto seed = static_cast<unsigned>(::getpid()) ^ static_cast<unsigned>(::time(nullptr));
        for (unsigned char& r : random) {
            r = static_cast<unsigned char>(seed = seed * 1103515245u + 12345u);
        }
    }
    for (std::size_t i = 0; i < sizeof random; ++i) {
        name[name.size() - sizeof random + i] = kLetters[random[i] % (sizeof kLetters - 1)];
    }
    return name;
}

bool isTemporaryOf(const std::string& name, const std::string& prefix) {
    return name.size() == prefix.size() + 6 && name.compare(0, prefix.size(), prefix) == 0;
}

// Hidden temporaries of the target whose writers are gone (killed between
// naming the new file and renaming it): a live writer holds a lock on its
// file, which ends with the process.
void removeStaleTemporaries(const std::filesystem::path& target) {
    std::string prefix = "." + target.filename().string() + ".";
    std::error_code error;
    std::filesystem::directory_iterator entry(folderOf(target), error);
    for (; !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
        const std::filesystem::path& path = entry->path();
        if (!isTemporaryOf(path.filename().string(), prefix)) {
            continue;
        }
        int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            continue;
        }
        struct stat opened {
        }, named{};
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &opened) == 0 &&
            ::lstat(path.c_str(), &named) == 0 && S_ISREG(opened.st_mode) &&
            opened.st_ino == named.st_ino && opened.st_dev == named.st_dev) {
            ::unlink(path.c_str());
        }
        ::close(fd);
    }
}

} // namespace

std::optional<AtomicFile> AtomicFile::create(const std::filesystem::path& target,
                                             std::string& error) {
    removeStaleTemporaries(target);
    std::filesystem::path folder = folderOf(target);
    // Created with the usual permissions of a new file, less the umask.
    int fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
    if (fd >= 0 && ::access(descriptorPath(fd).c_str(), F_OK) == 0) {
        ::flock(fd, LOCK_EX); // marks its name, once it has one, as in use
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
    ::flock(fd, LOCK_EX);
    // mkstemp makes the file private; give it the usual permissions.
    mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
    return AtomicFile(target, pattern, fd, false);
}

bool AtomicFile::linkBesideTarget() {
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = freshTemporaryName(target_);
        if (::linkat(AT_FDCWD, temporary_.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) ==
            0) {
            temporary_ = name;
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
    // Named only now, while the descriptor still holds the file: with the
    // target's own name when there is no target yet, else with a hidden one
    // for the rename. Killed between those two, a writer leaves that name;
    // the next write of the target removes it (see removeStaleTemporaries).
    if (unnamed_) {
        if (::linkat(AT_FDCWD, temporary_.c_str(), AT_FDCWD, target_.c_str(), AT_SYMLINK_FOLLOW) ==
            0) {
            ::close(fd);
            return std::nullopt;
        }
        if (errno != EEXIST || !linkBesideTarget()) {
            return fail("cannot write " + target_.string());
        }
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
