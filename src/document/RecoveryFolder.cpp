#include "document/RecoveryFolder.h"

#include "platform/Files.h"

#include <algorithm>
#include <chrono>
#include <random>
#include <unistd.h>

namespace velo {

namespace fs = std::filesystem;

namespace {

constexpr const char* kLockExtension = ".lock";
constexpr const char* kDocumentExtension = ".velo";
constexpr const char* kOriginExtension = ".origin";

// Unique across processes and restarts, so that a new process never takes
// a dead one's name.
std::string newOwnerName() {
    std::random_device random;
    auto now = std::chrono::system_clock::now().time_since_epoch().count();
    return std::to_string(::getpid()) + "-" + std::to_string(now) + "-" +
           std::to_string(random() & 0xffff);
}

// "OWNER.SLOT.velo" → "OWNER"
std::string ownerOf(const fs::path& entry) {
    std::string name = entry.filename().string();
    return name.substr(0, name.find('.'));
}

std::string readOrigin(const fs::path& document) {
    fs::path origin = document;
    origin.replace_extension(kOriginExtension);
    FileBytes bytes = readFile(origin);
    return bytes.bytes ? std::string(bytes.bytes->begin(), bytes.bytes->end()) : std::string();
}

} // namespace

std::unique_ptr<RecoveryFolder> RecoveryFolder::open(const fs::path& folder) {
    std::error_code error;
    fs::create_directories(folder, error);
    std::string owner = newOwnerName();
    std::optional<FileLock> lock = FileLock::tryLock(folder / (owner + kLockExtension));
    if (!lock) {
        return nullptr;
    }
    return std::unique_ptr<RecoveryFolder>(
        new RecoveryFolder(folder, std::move(owner), std::move(*lock)));
}

RecoveryFolder::RecoveryFolder(fs::path folder, std::string owner, FileLock lock)
    : folder_(std::move(folder)), owner_(std::move(owner)), lock_(std::move(lock)) {}

RecoveryFolder::~RecoveryFolder() {
    releaseClaims();
    std::error_code error;
    fs::remove(folder_ / (owner_ + kLockExtension), error);
}

fs::path RecoveryFolder::entryPath(Slot slot, const char* extension) const {
    return folder_ / (owner_ + "." + std::to_string(slot) + extension);
}

std::optional<std::string> RecoveryFolder::write(Slot slot,
                                                 const std::function<EncodedData()>& archive,
                                                 const std::string& originalPath) const {
    // The origin first: a document entry is never without its name.
    PropertyValue::Data origin(originalPath.begin(), originalPath.end());
    if (auto error = writeFileAtomically(entryPath(slot, kOriginExtension), origin)) {
        return error;
    }
    EncodedData data = archive();
    if (!data.data) {
        return data.error;
    }
    return writeFileAtomically(entryPath(slot, kDocumentExtension), *data.data);
}

void RecoveryFolder::remove(Slot slot) const {
    std::error_code error;
    fs::remove(entryPath(slot, kDocumentExtension), error);
    fs::remove(entryPath(slot, kOriginExtension), error);
}

bool RecoveryFolder::isClaimable(const std::string& owner) {
    if (owner == owner_) {
        return false;
    }
    auto claimed = std::find_if(claims_.begin(), claims_.end(),
                                [&](const Claim& claim) { return claim.owner == owner; });
    if (claimed != claims_.end()) {
        return true;
    }
    fs::path lockPath = folder_ / (owner + kLockExtension);
    if (!fs::exists(lockPath)) {
        claims_.push_back({owner, std::nullopt});
        return true;
    }
    std::optional<FileLock> lock = FileLock::tryLock(lockPath);
    if (!lock) {
        return false; // that Velo is still running
    }
    claims_.push_back({owner, std::move(lock)});
    return true;
}

std::vector<RecoveryFolder::Orphan> RecoveryFolder::claimOrphans() {
    std::vector<Orphan> orphans;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder_, error)) {
        const fs::path& path = entry.path();
        if (path.extension() == kDocumentExtension && isClaimable(ownerOf(path))) {
            orphans.push_back({path, readOrigin(path)});
        }
    }
    std::sort(orphans.begin(), orphans.end(),
              [](const Orphan& a, const Orphan& b) { return a.document < b.document; });
    return orphans;
}

void RecoveryFolder::discard(const Orphan& orphan) {
    std::error_code error;
    fs::path origin = orphan.document;
    origin.replace_extension(kOriginExtension);
    fs::remove(orphan.document, error);
    fs::remove(origin, error);
}

void RecoveryFolder::releaseClaims() {
    std::error_code error;
    for (const Claim& claim : claims_) {
        bool emptied = true;
        for (const fs::directory_entry& entry : fs::directory_iterator(folder_, error)) {
            if (entry.path().extension() == kDocumentExtension &&
                ownerOf(entry.path()) == claim.owner) {
                emptied = false;
            }
        }
        if (emptied) {
            fs::remove(folder_ / (claim.owner + kLockExtension), error);
        }
    }
    claims_.clear();
}

} // namespace velo
