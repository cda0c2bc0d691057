#pragma once

#include "document/VeloDocument.h"
#include "platform/FileLock.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace velo {

// Unsaved documents kept on disk while they are edited, so that a crash or a
// power cut loses seconds of work rather than the document. Every running
// Velo holds a lock file of its own in the folder and names its entries
// after it; entries whose lock is free or gone were left by a process that
// ended without cleaning up.
class RecoveryFolder {
  public:
    // Makes the folder when needed and claims a lock in it; nothing when
    // either fails.
    static std::unique_ptr<RecoveryFolder> open(const std::filesystem::path& folder);
    ~RecoveryFolder();
    RecoveryFolder(const RecoveryFolder&) = delete;
    RecoveryFolder& operator=(const RecoveryFolder&) = delete;

    // One document's entry, kept by its window: it writes the document's
    // archive (atomically) with the path of the file the document came from
    // ("" for none), and removes both once the work is saved or given up.
    // Writing and removing may run on any thread, one at a time per slot.
    using Slot = int;
    Slot newSlot() { return nextSlot_++; }
    std::optional<std::string> write(Slot slot, const std::function<EncodedData()>& archive,
                                     const std::string& originalPath) const;
    void remove(Slot slot) const;

    // What a process that is gone left behind; claimed by this one (no other
    // Velo offers them meanwhile) until discarded.
    struct Orphan {
        std::filesystem::path document;
        std::string originalPath;
    };
    std::vector<Orphan> claimOrphans();
    void discard(const Orphan& orphan);
    // Lets go of the claimed processes' locks once their orphans are dealt with.
    void releaseClaims();

    const std::filesystem::path& folder() const { return folder_; }

  private:
    RecoveryFolder(std::filesystem::path folder, std::string owner, FileLock lock);
    std::filesystem::path entryPath(Slot slot, const char* extension) const;
    bool isClaimable(const std::string& owner);

    std::filesystem::path folder_;
    std::string owner_;
    FileLock lock_;
    Slot nextSlot_ = 1;
    struct Claim {
        std::string owner;
        std::optional<FileLock> lock; // none when the lock file was gone
    };
    std::vector<Claim> claims_;
};

} // namespace velo
