#include "document/DocumentController.h"
#include "document/FileTypes.h"
#include "support/Corpus.h"
#include "support/MetadataFixtures.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

namespace velo {
namespace {

namespace fs = std::filesystem;

TEST(DocumentMetadata, SampleProfilesSurviveSavingReopeningAndExporting) {
    VELO_REQUIRE_CORPUS();
    test::TemporaryFolder folder;
    std::vector<fs::path> samples = test::samplesWithProfiles(test::corpusDir());
    ASSERT_FALSE(samples.empty());
    for (const fs::path& sample : samples) {
        VeloDocument fromImage(nullptr, 2);
        ASSERT_TRUE(fromImage.readFromFile(sample, DocumentController::typeForFile(sample)).ok);
        fs::path saved = folder / "saved.velo";
        ASSERT_EQ(fromImage.writeToFile(saved, kVeloDocumentType), std::nullopt);
        VeloDocument reopened(nullptr, 2);
        ASSERT_TRUE(reopened.readFromFile(saved, kVeloDocumentType).ok);
        // A result with its alpha changed is a bitmap made afresh.
        reopened.toggleImageAlpha();
        for (const char* type : {"jpg", "png", "tiff"}) {
            fs::path exported = folder / (std::string("out.") + type);
            ASSERT_EQ(reopened.writeToFile(exported, type), std::nullopt);
            EXPECT_EQ(test::iccProfileOfFile(exported), test::iccProfileOfFile(sample))
                << sample << " as " << type;
        }
    }
}

} // namespace
} // namespace velo
