// Replays every input the fuzzers start from or once failed on, through the
// same target functions, so the sanitizer build checks them on every run.
#include "fuzz/FuzzTargets.h"
#include "platform/Files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace velo {
namespace {

using Target = int (*)(const std::uint8_t*, std::size_t);

const std::map<std::string, Target>& targets() {
    static const std::map<std::string, Target> all = {
        {"archiver", fuzz::archiver},
        {"document", fuzz::document},
        {"adjustmentDictionary", fuzz::adjustmentDictionary},
        {"mapParser", fuzz::mapParser},
        {"image", fuzz::image},
    };
    return all;
}

class FuzzReplay : public ::testing::TestWithParam<std::string> {};

TEST_P(FuzzReplay, EveryKeptInputRunsCleanly) {
    std::filesystem::path folder = std::filesystem::path(VELO_FUZZ_INPUTS) / GetParam();
    ASSERT_TRUE(std::filesystem::is_directory(folder)) << folder;
    Target target = targets().at(GetParam());
    int inputs = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        FileBytes file = readFile(entry.path());
        ASSERT_TRUE(file.bytes) << entry.path() << ": " << file.error;
        SCOPED_TRACE(entry.path().filename().string());
        EXPECT_EQ(target(file.bytes->data(), file.bytes->size()), 0);
        ++inputs;
    }
    EXPECT_GT(inputs, 0);
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzReplay,
                         ::testing::Values("archiver", "document", "adjustmentDictionary",
                                           "mapParser", "image"));

} // namespace
} // namespace velo
