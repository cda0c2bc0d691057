#include "platform/Files.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace velo {
namespace {

namespace fs = std::filesystem;

PropertyValue::Data bytes(std::size_t size, std::uint8_t fill) {
    return PropertyValue::Data(size, fill);
}

std::size_t entriesIn(const fs::path& folder) {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder)) {
        ++count;
    }
    return count;
}

class AtomicWrite : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_FALSE(writeFileAtomically(target, bytes(1000, 'p'))); }
    void expectPreviousFileIntact() {
        EXPECT_EQ(*readFile(target).bytes, bytes(1000, 'p'));
        EXPECT_EQ(entriesIn(folder.path()), 1u) << "a temporary file was left behind";
    }

    test::TemporaryFolder folder;
    fs::path target = folder / "picture.png";
};

TEST_F(AtomicWrite, ReplacesTheFileWhole) {
    ASSERT_FALSE(writeFileAtomically(target, bytes(10, 'n')));
    EXPECT_EQ(*readFile(target).bytes, bytes(10, 'n'));
    EXPECT_EQ(entriesIn(folder.path()), 1u);
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::owner_read, fs::perms::owner_read);
}

TEST_F(AtomicWrite, AFullDiskKeepsThePreviousFile) {
    // A file size limit makes writes fail as a full disk does; in a child,
    // so that the limit does not reach the rest of the tests.
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        std::optional<std::string> error = writeFileAtomically(target, bytes(1 << 20, 'n'));
        _exit(error && !error->empty() ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the write should have failed with a message";
    expectPreviousFileIntact();
}

TEST_F(AtomicWrite, AFolderThatCannotTakeFilesKeepsEverything) {
    // Where a folder is expected a file stands: nothing can be created there.
    fs::path blocked = folder / "not-a-folder";
    ASSERT_FALSE(writeFileAtomically(blocked, bytes(3, 'x')));
    std::optional<std::string> error = writeFileAtomically(blocked / "out.png", bytes(3, 'x'));
    ASSERT_TRUE(error);
    EXPECT_NE(error->find("cannot write " + (blocked / "out.png").string() + ": "),
              std::string::npos)
        << *error;
    fs::remove(blocked);
    expectPreviousFileIntact();
}

TEST_F(AtomicWrite, ATargetThatDisappearsIsWrittenAfreshAndAVanishedFolderFails) {
    fs::remove(target);
    ASSERT_FALSE(writeFileAtomically(target, bytes(5, 'n')));
    EXPECT_EQ(*readFile(target).bytes, bytes(5, 'n'));

    fs::path gone = folder / "gone";
    fs::create_directory(gone);
    fs::remove(gone);
    EXPECT_TRUE(writeFileAtomically(gone / "out.png", bytes(5, 'n')));
    EXPECT_EQ(entriesIn(folder.path()), 1u);
}

// Killed at any moment, a writer leaves the old file or the whole new one.
// Until it is complete the new file has no name; replacing a file takes a
// hidden name and a rename, and a writer killed between the two leaves that
// name, which the next write of the file removes: nothing accumulates.
TEST_F(AtomicWrite, AWriterKilledAtAnyMomentLeavesNothingBehind) {
    std::string error;
    std::optional<AtomicFile> probe = AtomicFile::create(target, error);
    ASSERT_TRUE(probe) << error;
    if (probe->temporaryPath().string().rfind("/proc/", 0) != 0) {
        GTEST_SKIP() << "this file system has no unnamed files";
    }
    EXPECT_EQ(entriesIn(folder.path()), 1u);
    probe.reset();
    const std::size_t size = 4 << 20;
    for (int round = 0; round < 40; ++round) {
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (std::uint8_t fill = 'a';; fill = fill == 'z' ? 'a' : fill + 1) {
                writeFileAtomically(target, bytes(size, fill));
            }
        }
        usleep(static_cast<useconds_t>(1000 + round * 700));
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        PropertyValue::Data written = *readFile(target).bytes;
        bool whole = written == bytes(1000, 'p') ||
                     (written.size() == size && written == bytes(size, written[0]));
        ASSERT_TRUE(whole) << "round " << round;
        for (const auto& entry : fs::directory_iterator(folder.path())) {
            std::string name = entry.path().filename().string();
            ASSERT_TRUE(entry.path() == target || name.rfind(".picture.png.", 0) == 0)
                << name << " in round " << round;
        }
        ASSERT_LE(entriesIn(folder.path()), 2u) << "round " << round;
        if (entriesIn(folder.path()) == 2) {
            ASSERT_FALSE(writeFileAtomically(target, bytes(1000, 'p')));
            ASSERT_EQ(entriesIn(folder.path()), 1u) << "a stale name outlived the next write";
        }
    }
}

// A hidden temporary of the target whose writer is gone goes at the next
// write; one a live writer holds stays, and so does anything else.
TEST_F(AtomicWrite, TheNextWriteRemovesOnlyStaleTemporaries) {
    fs::path stale = folder / ".picture.png.Ab12Cd";
    fs::path live = folder / ".picture.png.Zz98Yx";
    fs::path other = folder / ".other.png.Ab12Cd";
    for (const fs::path& path : {stale, live, other}) {
        ASSERT_FALSE(writeFileAtomically(path, bytes(3, 't')));
    }
    int held = ::open(live.c_str(), O_RDONLY);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    ASSERT_FALSE(writeFileAtomically(target, bytes(5, 'n')));
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(live));
    EXPECT_TRUE(fs::exists(other));
    ::close(held);
}

TEST(ReadFile, RefusesFoldersAndMissingFiles) {
    test::TemporaryFolder folder;
    EXPECT_FALSE(readFile(folder.path()).bytes);
    FileBytes missing = readFile(folder / "missing");
    EXPECT_FALSE(missing.bytes);
    EXPECT_FALSE(missing.error.empty());
}

} // namespace
} // namespace velo
