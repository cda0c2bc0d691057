#include "document/VeloDocument.h"
#include "imageio/ImageCodec.h"
#include "imageio/ImageEncoder.h"
#include "platform/Files.h"
#include "support/Corpus.h"
#include "support/VeloCommandTest.h"

#include <QImage>

#include <gtest/gtest.h>

#include <set>

namespace velo {
namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

class DeepColour : public test::VeloCommandTest {
  protected:
    // A smooth 16-bit ramp, written by Qt rather than by our own encoders.
    fs::path writeRamp(const std::string& name, const char* format) {
        QImage ramp(4096, 3, QImage::Format_RGBX64);
        for (int y = 0; y < ramp.height(); ++y) {
            auto* line = reinterpret_cast<QRgba64*>(ramp.scanLine(y));
            for (int x = 0; x < ramp.width(); ++x) {
                line[x] = QRgba64::fromRgba64(
                    static_cast<quint16>(16 * x + y), static_cast<quint16>(65535 - 16 * x),
                    static_cast<quint16>((x * 37 + y * 911) % 65536), 65535);
            }
        }
        fs::path path = folder / name;
        EXPECT_TRUE(ramp.save(QString::fromStdString(path.string()), format));
        return path;
    }
    static std::shared_ptr<Bitmap> decoded(const fs::path& path) {
        DecodedImage image = readImageFile(path);
        EXPECT_TRUE(image.image) << path << ": " << image.error;
        return image.image ? image.image->representations.front().bitmap : nullptr;
    }
    static std::vector<std::uint8_t> bytesOf(const Bitmap& b) {
        return {b.plane(0), b.plane(0) + b.bytesPerPlane()};
    }
    // The nearest byte to each 16-bit sample, by the rule written down in docs.
    static Bitmap narrowedByHand(const Bitmap& deep) {
        Bitmap narrow(deep.pixelsWide(), deep.pixelsHigh(), deep.samplesPerPixel(), deep.hasAlpha(),
                      false, deep.colorSpaceName());
        narrow.setSize(deep.size());
        for (int y = 0; y < deep.pixelsHigh(); ++y) {
            for (int i = 0; i < deep.pixelsWide() * deep.samplesPerPixel(); ++i) {
                std::uint32_t k = deep.samples16(0, y)[i];
                narrow.plane(0)[static_cast<std::size_t>(y) * narrow.bytesPerRow() + i] =
                    static_cast<std::uint8_t>((k * 255 + 32767) / 65535);
            }
        }
        return narrow;
    }
};

TEST_F(DeepColour, AnIdentityApplyWritesEvery16BitSampleUnchanged) {
    std::vector<fs::path> inputs = {writeRamp("ramp.png", "PNG"), writeRamp("ramp.tif", "TIFF")};
    if (std::filesystem::is_directory(test::corpusDir())) {
        inputs.push_back(test::corpusDir() / "png_16bit_rgb_imagemagick_ImageMagick.png");
        inputs.push_back(test::corpusDir() /
                         "tiff_rgb16_planar_separate_deflate_IMG_20200608_111614.tif");
    }
    for (const fs::path& input : inputs) {
        SCOPED_TRACE(input.filename().string());
        fs::path output = folder / ("out" + input.extension().string());
        ASSERT_EQ(run({"apply", "--quiet", "-o", output.string(), input.string()}), 0) << err.str();
        auto before = decoded(input), after = decoded(output);
        ASSERT_TRUE(before && after);
        EXPECT_EQ(before->bitsPerSample(), 16);
        EXPECT_EQ(after->bitsPerSample(), 16);
        EXPECT_EQ(bytesOf(*after), bytesOf(*before));
    }
}

TEST_F(DeepColour, ARecolouredRampKeepsItsLevelsAndNarrowsToTheNearestByte) {
    fs::path ramp = writeRamp("ramp.png", "PNG");
    fs::path deep = folder / "deep.png", narrow = folder / "narrow.png", photo = folder / "x.jpg";
    for (const fs::path& output : {deep, narrow, photo}) {
        Strings args = {"apply", "--quiet",       "--map",      "#808080>#a09070",
                        "-o",    output.string(), ramp.string()};
        if (output == narrow) {
            args.insert(args.begin() + 1, {"--depth", "8"});
        }
        ASSERT_EQ(run(args), 0) << err.str();
    }
    auto result = decoded(deep);
    ASSERT_TRUE(result && result->isDeep());
    std::set<std::uint16_t> reds;
    for (int x = 0; x < result->pixelsWide(); ++x) {
        reds.insert(result->samples16(0, 0)[3 * x]);
    }
    EXPECT_GT(reds.size(), 3000u); // 8 bits would leave 256 at most

    Bitmap byHand = narrowedByHand(*result);
    auto eight = decoded(narrow);
    ASSERT_TRUE(eight);
    EXPECT_EQ(eight->bitsPerSample(), 8);
    EXPECT_EQ(bytesOf(*eight), bytesOf(byHand));
    // A JPEG of the 16-bit result is the JPEG of its nearest bytes.
    EncodedData expected =
        encodeImage(byHand, ImageFileType::JPEG, VeloDocument::jpegCompressionFactor(nullptr));
    ASSERT_TRUE(expected.data);
    EXPECT_TRUE(readFile(photo).bytes == expected.data);
}

} // namespace
} // namespace velo
