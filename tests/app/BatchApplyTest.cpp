// velo apply over many files, and band by band.
#include "app/ColorSpecs.h"
#include "app/StreamedApply.h"
#include "app/Velo.h"
#include "document/FileTypes.h"
#include "engine/AdjustmentEngine.h"
#include "platform/Files.h"
#include "platform/SettingsUserDefaults.h"
#include "support/Corpus.h"
#include "support/TemporaryFolder.h"
#include "support/VeloCommandTest.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>

namespace velo {
namespace {

namespace fs = std::filesystem;

class BatchApply : public test::VeloCommandTest {
  protected:
    fs::path writeImage(const std::string& name, int wide, int high, int samples, unsigned seed,
                        ImageFileType type) {
        Bitmap bitmap(wide, high, samples, samples == 4, false, kDeviceRGBColorSpace);
        std::mt19937 random(seed);
        for (std::size_t i = 0; i < bitmap.bytesPerPlane(); ++i) {
            bitmap.plane(0)[i] = static_cast<std::uint8_t>(random() % 64 * 4);
        }
        if (samples == 4) { // premultiplied: colour never above alpha
            for (std::size_t i = 0; i < bitmap.bytesPerPlane(); i += 4) {
                for (int k = 0; k < 3; ++k) {
                    bitmap.plane(0)[i + k] =
                        std::min(bitmap.plane(0)[i + k], bitmap.plane(0)[i + 3]);
                }
            }
        }
        fs::path path = folder / name;
        EXPECT_FALSE(writeFileAtomically(path, *encodeImage(bitmap, type, 0.9f).data));
        return path;
    }
    static PropertyValue::Data bytesOf(const fs::path& path) {
        return readFile(path).bytes.value_or(PropertyValue::Data{});
    }
};

TEST_F(BatchApply, FilesFromAListOverlapYetEachComesOutAsAlone) {
    std::vector<fs::path> inputs = {
        writeImage("a.png", 301, 97, 3, 1, ImageFileType::PNG),
        writeImage("b.jpg", 64, 700, 3, 2, ImageFileType::JPEG),
        writeImage("c.png", 90, 90, 4, 3, ImageFileType::PNG),
        writeImage("d.tiff", 33, 45, 3, 4, ImageFileType::TIFF),
    };
    std::string list;
    for (const fs::path& input : inputs) {
        list += input.string() + "\n\n";
    }
    fs::path listFile = folder / "list.txt";
    ASSERT_FALSE(writeFileAtomically(listFile, PropertyValue::Data(list.begin(), list.end())));
    std::vector<std::string> maps = {"--map", "#c08040>#2060e0", "--map", "hsb/hs:#40a040>#a0a000"};
    std::vector<std::string> batch = {
        "apply",        "--quiet",         "--format", "jpg",
        "--files-from", listFile.string(), "-o",       (folder / "out").string() + "/"};
    batch.insert(batch.begin() + 1, maps.begin(), maps.end());
    ASSERT_EQ(run(batch), 0) << err.str();
    for (const fs::path& input : inputs) {
        fs::path alone = folder / ("alone-" + input.stem().string() + ".jpg");
        std::vector<std::string> one = {"apply", "--quiet", "-o", alone.string(), input.string()};
        one.insert(one.begin() + 1, maps.begin(), maps.end());
        ASSERT_EQ(run(one), 0) << err.str();
        EXPECT_EQ(bytesOf(folder / "out" / (input.stem().string() + ".jpg")), bytesOf(alone))
            << input;
    }

    ASSERT_FALSE(writeFileAtomically(folder / "empty.txt", PropertyValue::Data{}));
    EXPECT_EQ(run({"apply", "--files-from", (folder / "empty.txt").string(), "-o", "x.png"}), 2);
    EXPECT_EQ(run({"apply", "--files-from", (folder / "none.txt").string(), "-o", "x.png"}), 2);
}

// The whole-image path: a document opened from the file, exported.
PropertyValue::Data wholeImageResult(const StreamedApply& job) {
    VeloDocument document(nullptr, 2);
    EXPECT_TRUE(document.readFromFile(job.input, "image").ok);
    VeloDocument::Adjustments active;
    for (const ColorAdjustment& adjustment : job.adjustments().list) {
        active.push_back(adjustment.copy());
    }
    document.replaceAdjustments(active, {});
    if (job.alpha && document.destinationBitmap()->hasAlpha() != *job.alpha) {
        document.toggleImageAlpha();
    }
    EncodedData data = document.dataRepresentationOfType(
        job.type == ImageFileType::JPEG ? "jpg" : extensionOf(job.type));
    return data.data.value_or(PropertyValue::Data{});
}

TEST_F(BatchApply, BandByBandWritesTheSameFilesAsTheWholeImage) {
    std::vector<fs::path> inputs = {
        writeImage("rgb.png", 257, 301, 3, 5, ImageFileType::PNG),
        writeImage("rgba.png", 97, 613, 4, 6, ImageFileType::PNG),
        writeImage("photo.jpg", 640, 480, 3, 7, ImageFileType::JPEG),
    };
    if (fs::is_directory(test::corpusDir())) {
        for (const auto& entry : fs::directory_iterator(test::corpusDir())) {
            inputs.push_back(entry.path());
        }
    }
    const std::vector<ColorAdjustment> adjustments{
        *parseMap("#c08040>#2060e0").adjustment, *parseMap("hsb/hsa:#40a040>#a0a00080").adjustment};
    int streamed = 0;
    for (const fs::path& input : inputs) {
        for (ImageFileType type :
             {ImageFileType::JPEG, ImageFileType::PNG, ImageFileType::TIFF, ImageFileType::BMP}) {
            for (std::optional<bool> alpha : {std::optional<bool>{}, std::optional<bool>{true}}) {
                StreamedApply job{input, folder / ("streamed." + extensionOf(type)),
                                  type,  [&] { return InputAdjustments{adjustments, {}}; },
                                  alpha, VeloDocument::jpegCompressionFactor(nullptr),
                                  true};
                StreamedResult result = applyStreamed(job);
                if (!result.streamed) {
                    continue;
                }
                ++streamed;
                ASSERT_EQ(result.error, "") << input;
                EXPECT_EQ(bytesOf(job.output), wholeImageResult(job))
                    << input << " as " << extensionOf(type) << (alpha ? " with alpha" : "");
            }
        }
    }
    EXPECT_GE(streamed, 3 * 4 * 2) << "every generated JPEG and PNG streams";
}

} // namespace
} // namespace velo
