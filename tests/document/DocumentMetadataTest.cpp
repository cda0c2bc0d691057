#include "document/DocumentController.h"
#include "document/FileTypes.h"
#include "imageio/ImageCodec.h"
#include "support/Corpus.h"
#include "support/MetadataFixtures.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

namespace velo {
namespace {

namespace fs = std::filesystem;

TEST(DocumentMetadata, SampleProfilesSurviveSavingReopeningDroppingAndExporting) {
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
        // An image dropped on the window comes through the same file reading.
        DecodedImage dropped = readImageFile(sample);
        ASSERT_TRUE(dropped.image) << dropped.error;
        VeloDocument droppedOn(nullptr, 2);
        droppedOn.imageWasDroppedOnBitmapview(std::make_shared<const Image>(*dropped.image));
        fs::path exported = folder / "dropped.png";
        ASSERT_EQ(droppedOn.writeToFile(exported, "png"), std::nullopt);
        EXPECT_EQ(test::iccProfileOfFile(exported), test::iccProfileOfFile(sample)) << sample;
    }
}

} // namespace
} // namespace velo
