#include "document/RecoveryFolder.h"
#include "document/DocumentSupport.h"
#include "document/FileTypes.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace velo {
namespace {

namespace fs = std::filesystem;

// A document with edits that only an exact copy keeps.
std::unique_ptr<VeloDocument> editedDocument() {
    auto document = std::make_unique<VeloDocument>(nullptr, 1);
    document->setSourceImage(test::randomImage(19, 11, 4, 5));
    document->colorAdjustments()[1]->setTargetColor(
        Color::colorWithCalibratedRed(0.1234567f, 1e-7f, 0.987654f, 0.25f));
    document->colorAdjustments()[3]->setUsesHSB(false);
    return document;
}

std::vector<PropertyValue> pListsOf(const VeloDocument& document) {
    std::vector<PropertyValue> out;
    for (const auto& a : document.colorAdjustments()) {
        out.push_back(a->pList());
    }
    return out;
}

std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().extension().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// A child process keeps an edited document in the folder and waits to be
// killed; what it kept must come back exactly, and only once it is gone.
TEST(RecoveryFolder, WorkOfAKilledProcessComesBackExactlyAndOnlyThen) {
    test::TemporaryFolder temporary;
    fs::path folder = temporary / "recovery";
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        auto recovery = RecoveryFolder::open(folder);
        auto document = editedDocument();
        bool kept = recovery && !recovery->write(recovery->newSlot(), document->archiveSnapshot(),
                                                 "/photos/a.velo");
        char answer = kept ? 'y' : 'n';
        (void)!::write(ready[1], &answer, 1);
        ::pause();
        ::_exit(0);
    }
    char answer = 0;
    ASSERT_EQ(::read(ready[0], &answer, 1), 1);
    ::close(ready[0]);
    ::close(ready[1]);
    ASSERT_EQ(answer, 'y');

    auto recovery = RecoveryFolder::open(folder);
    ASSERT_TRUE(recovery);
    EXPECT_TRUE(recovery->claimOrphans().empty()) << "the child is still running";
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);

    std::vector<RecoveryFolder::Orphan> orphans = recovery->claimOrphans();
    ASSERT_EQ(orphans.size(), 1u);
    EXPECT_EQ(orphans[0].originalPath, "/photos/a.velo");
    // Another Velo starting meanwhile leaves them to the one that claimed them.
    EXPECT_TRUE(RecoveryFolder::open(folder)->claimOrphans().empty());

    VeloDocument recovered(nullptr, 1);
    VeloDocument::LoadResult loaded =
        recovered.readFromFile(orphans[0].document, kVeloDocumentType);
    ASSERT_TRUE(loaded.ok) << loaded.error;
    auto expected = editedDocument();
    EXPECT_EQ(pListsOf(recovered), pListsOf(*expected));
    const Bitmap& pixels = *recovered.sourceBitmap();
    EXPECT_TRUE(std::equal(pixels.plane(0), pixels.plane(0) + pixels.bytesPerPlane(),
                           expected->sourceBitmap()->plane(0)));

    recovery->discard(orphans[0]);
    recovery->releaseClaims();
    EXPECT_EQ(namesIn(folder), std::vector<std::string>{".lock"}) << "only this process's lock";
    recovery.reset();
    EXPECT_TRUE(namesIn(folder).empty());
}

TEST(RecoveryFolder, EntriesOfRunningProcessesAndRemovedOnesAreNotOffered) {
    test::TemporaryFolder temporary;
    auto running = RecoveryFolder::open(temporary.path());
    auto document = editedDocument();
    RecoveryFolder::Slot kept = running->newSlot();
    RecoveryFolder::Slot removed = running->newSlot();
    ASSERT_FALSE(running->write(kept, document->archiveSnapshot(), ""));
    ASSERT_FALSE(running->write(removed, document->archiveSnapshot(), ""));
    running->remove(removed);
    EXPECT_TRUE(running->claimOrphans().empty()) << "its own entries";
    auto other = RecoveryFolder::open(temporary.path());
    EXPECT_TRUE(other->claimOrphans().empty()) << "a running process's entries";

    // A process that ended with its entry still there (its lock file gone).
    running.reset();
    std::vector<RecoveryFolder::Orphan> orphans = other->claimOrphans();
    ASSERT_EQ(orphans.size(), 1u);
    EXPECT_EQ(orphans[0].originalPath, "");
}

TEST(RecoveryFolder, AFolderThatCannotBeMadeGivesNone) {
    test::TemporaryFolder temporary;
    std::vector<std::uint8_t> bytes{1};
    ASSERT_FALSE(writeFileAtomically(temporary / "file", bytes));
    EXPECT_EQ(RecoveryFolder::open(temporary / "file" / "recovery"), nullptr);
}

} // namespace
} // namespace velo
