#include "document/DocumentSupport.h"
#include "document/FileTypes.h"
#include "document/RecordingObserver.h"
#include "engine/InfluenceMap.h"
#include "imageio/ImageCodec.h"
#include "platform/Files.h"
#include "platform/SettingsUserDefaults.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

namespace velo {
namespace {

// A document whose result has few colours (so that a GIF palette holds them
// all), with alpha when asked, computed and ready.
std::unique_ptr<VeloDocument> documentWithResult(bool alpha,
                                                 const UserDefaults* defaults = nullptr) {
    auto document = std::make_unique<VeloDocument>(defaults, 2);
    auto bitmap =
        std::make_shared<Bitmap>(16, 12, alpha ? 4 : 3, alpha, false, kDeviceRGBColorSpace);
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 16; ++x) {
            std::uint8_t* p = bitmap->plane(0) + y * bitmap->bytesPerRow() + x * (alpha ? 4 : 3);
            p[0] = static_cast<std::uint8_t>(x * 16);
            p[1] = static_cast<std::uint8_t>(y * 20);
            p[2] = 200;
            if (alpha) {
                p[3] = x < 4 ? 0 : 255;
                if (x < 4) {
                    p[0] = p[1] = p[2] = 0;
                }
            }
        }
    }
    auto image = std::make_shared<Image>();
    image->representations.push_back(ImageRep::fromBitmap(bitmap));
    image->size = {16, 12};
    document->setSourceImage(image);
    document->colorAdjustments()[2]->setTargetColor(Color::colorWithCalibratedRed(1, 1, 0, 1));
    document->finishSetUp();
    return document;
}

std::shared_ptr<Bitmap> decodeAgain(const PropertyValue::Data& bytes) {
    DecodedImage decoded = decodeImage(bytes);
    EXPECT_TRUE(decoded.image) << decoded.error;
    return decoded.image ? decoded.image->representations.at(0).bitmap : nullptr;
}

// The largest difference of any sample between two bitmaps of one layout.
int largestDifference(const Bitmap& a, const Bitmap& b) {
    EXPECT_EQ(a.samplesPerPixel(), b.samplesPerPixel());
    int worst = 0;
    for (std::size_t i = 0; i < std::min(a.bytesPerPlane(), b.bytesPerPlane()); ++i) {
        worst = std::max(worst, std::abs(a.plane(0)[i] - b.plane(0)[i]));
    }
    return worst;
}

TEST(DocumentExport, EveryTypeDecodesToTheAdjustedPixels) {
    for (bool alpha : {false, true}) {
        auto document = documentWithResult(alpha);
        const Bitmap& result = *document->destinationBitmap();
        struct Case {
            const char* type;
            int tolerance;
        };
        // GIF: the image has fewer than 256 colours, so the palette holds them exactly.
        // JPEG at quality 96 with chroma subsampling: within 24 steps on sharp edges.
        for (Case c : {Case{"png", 0}, Case{"tiff", 0}, Case{"gif", 0}, Case{"jpg", 24}}) {
            SCOPED_TRACE(std::string(c.type) + (alpha ? " with alpha" : ""));
            EncodedData data = document->dataRepresentationOfType(c.type);
            ASSERT_TRUE(data.data) << data.error;
            auto decoded = decodeAgain(*data.data);
            ASSERT_TRUE(decoded);
            if (alpha && std::string(c.type) == "jpg") {
                continue; // JPEG has no alpha
            }
            EXPECT_LE(largestDifference(*decoded, result), c.tolerance);
        }
        EncodedData bmp = document->dataRepresentationOfType("bmp");
        ASSERT_TRUE(bmp.data);
        if (!alpha) {
            EXPECT_EQ(largestDifference(*decodeAgain(*bmp.data), result), 0);
        }
    }
    auto document = documentWithResult(false);
    EXPECT_EQ(document->dataRepresentationOfType("jpg").data,
              document->dataRepresentationOfType("jpg 72 dpi").data);
}

TEST(DocumentExport, UnknownTypesProduceNothing) {
    auto document = documentWithResult(false);
    for (const char* type : {"PNG", "TIFF", "jpeg", "webp", ""}) {
        EXPECT_FALSE(document->dataRepresentationOfType(type).data) << type;
    }
}

TEST(DocumentExport, JpegQualityComesFromTheDefaultsWithinRange) {
    test::TemporaryFolder folder;
    SettingsUserDefaults defaults(folder.path());
    auto jpegWith = [&](std::optional<PropertyValue> factor) {
        if (factor) {
            defaults.setObject("jpegCompressionFactor", *factor);
        } else {
            defaults.removeObjectForKey("jpegCompressionFactor");
        }
        return documentWithResult(false, &defaults)->dataRepresentationOfType("jpg").data;
    };
    auto standard = jpegWith(std::nullopt);
    EXPECT_EQ(jpegWith(0.96), standard);
    EXPECT_EQ(jpegWith(1.5), standard);
    EXPECT_EQ(jpegWith(-0.1), standard);
    EXPECT_EQ(jpegWith("0.5"), jpegWith(0.5));
    EXPECT_NE(jpegWith(0.0), standard);
    EXPECT_NE(jpegWith(1.0), standard);
}

TEST(DocumentExport, NothingToExportFailsWithAReason) {
    VeloDocument empty(nullptr, 1);
    EncodedData data = empty.dataRepresentationOfType("png");
    EXPECT_FALSE(data.data);
    EXPECT_FALSE(data.error.empty());
}

TEST(DocumentExport, AFailedWriteKeepsThePreviousFile) {
    test::TemporaryFolder folder;
    auto document = documentWithResult(false);
    std::filesystem::path target = folder / "out.png";
    {
        std::ofstream previous(target);
        previous << "previous";
    }
    // A folder where the file should be: the rename fails.
    std::filesystem::create_directory(folder / "taken.png");
    EXPECT_TRUE(document->writeToFile(folder / "taken.png", "png"));
    EXPECT_TRUE(document->writeToFile(folder / "missing" / "out.png", "png"));
    EXPECT_TRUE(document->writeToFile(target, "webp"));
    std::ifstream kept(target);
    std::string content((std::istreambuf_iterator<char>(kept)), std::istreambuf_iterator<char>());
    EXPECT_EQ(content, "previous");
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.path())) {
        ++entries;
    }
    EXPECT_EQ(entries, 2); // out.png and taken.png: no temporary file left

    EXPECT_FALSE(document->writeToFile(target, "png"));
    EXPECT_TRUE(decodeImage(*readFile(target).bytes).image);
}

// The map is computed for the export even when no window shows it.
TEST(DocumentExport, TheInfluenceMapExportsAsPngOrNotAtAll) {
    test::TemporaryFolder folder;
    auto document = documentWithResult(true);
    ASSERT_FALSE(document->writeInfluenceTo(folder / "map.png"));
    std::shared_ptr<Bitmap> written = decodeAgain(*readFile(folder / "map.png").bytes);
    ASSERT_TRUE(written);
    const Bitmap& source = *document->sourceBitmap();
    std::shared_ptr<Bitmap> expected = influenceBitmap(source);
    calcInfluenceRange({0, 12}, &source, expected.get(), *document->activeAdjustmentCopies(), {});
    EXPECT_EQ(largestDifference(*written, *expected), 0);

    EXPECT_TRUE(document->writeInfluenceTo(folder / "missing" / "map.png"));
    VeloDocument empty(nullptr, 1);
    EXPECT_TRUE(empty.writeInfluenceTo(folder / "empty.png"));
    EXPECT_FALSE(std::filesystem::exists(folder / "empty.png"));
}

} // namespace
} // namespace velo
