// velo apply and velo new with pick maps: the row a stroke through the
// points would make, on each image's own pixels.
#include "adjust/ShadeFit.h"
#include "app/ColorSpecs.h"
#include "document/FileTypes.h"
#include "document/StrokeShades.h"
#include "imageio/ImageEncoder.h"
#include "platform/Files.h"
#include "support/VeloCommandTest.h"

#include <gtest/gtest.h>

#include <random>

namespace velo {
namespace {

namespace fs = std::filesystem;

// Every image below holds these points; their squares clip at the top and
// right edges, overlap, and leave rows out between them.
const std::vector<PixelIndex> kPoints{{32, 0}, {16, 14}, {17, 16}, {30, 28}};
const char* const kPick = "pick:32,0;16,14;17,16;30,28>#2060e0";

class PickMaps : public test::VeloCommandTest {
  protected:
    // A red object, lighter toward the bottom, over the right two thirds of a
    // noisy grey ground; with alpha, every fifth pixel of it is clear.
    fs::path writeObject(const std::string& name, int wide, int high, int samples,
                         ImageFileType type) {
        Bitmap bitmap(wide, high, samples, samples == 4, false, kDeviceRGBColorSpace);
        std::mt19937 random(static_cast<unsigned>(wide));
        for (int y = 0; y < high; ++y) {
            for (int x = 0; x < wide; ++x) {
                int n = static_cast<int>(random() % 16);
                bool object = x >= wide / 3, clear = samples == 4 && object && (x + y) % 5 == 0;
                int rgba[4] = {object ? 120 + y * 100 / high + n : 100 + n,
                               object ? 30 + n : 100 + n, object ? 40 + n : 100 + n, 255};
                for (int k = 0; k < samples; ++k) {
                    bitmap.plane(0)[y * bitmap.bytesPerRow() + x * samples + k] =
                        clear ? 0 : static_cast<std::uint8_t>(rgba[k]);
                }
            }
        }
        fs::path path = folder / name;
        EXPECT_FALSE(writeFileAtomically(path, *encodeImage(bitmap, type, 0.9f).data));
        return path;
    }

    // The row a stroke through the points makes on the image, as the window
    // makes it: oklab, every component, the fitted source and range.
    static std::shared_ptr<ColorAdjustment> strokeRow(const fs::path& image,
                                                      const std::vector<PixelIndex>& points,
                                                      int sampleSize, const std::string& target) {
        VeloDocument document(nullptr, 1);
        EXPECT_TRUE(document.readFromFile(image, "image").ok);
        ShadeFit fit = *fitShades(shadesAround(*document.sourceBitmap(), points, sampleSize));
        auto row = parseMap("oklab:#000000>" + target).adjustment;
        row->setSourceColor(
            Color::colorWithCalibratedRed(fit.source.r, fit.source.g, fit.source.b, fit.source.a));
        row->setReach(fit.reach);
        return row;
    }

    static PropertyValue::Data bytesOf(const fs::path& path) {
        return readFile(path).bytes.value_or(PropertyValue::Data{});
    }
};

TEST_F(PickMaps, ApplyWritesWhatADocumentWithTheFittedRowWrites) {
    const std::vector<fs::path> inputs{writeObject("wide.png", 61, 47, 3, ImageFileType::PNG),
                                       writeObject("tall.jpg", 40, 90, 3, ImageFileType::JPEG),
                                       writeObject("alpha.png", 33, 29, 4, ImageFileType::PNG)};
    // PNG outputs are written band by band, GIF ones from the whole image.
    for (std::string type : {"png", "gif"}) {
        for (int size : {5, 11}) {
            fs::path out = folder / (type + std::to_string(size));
            std::vector<std::string> batch{"apply", "--map", kPick, "--format", type};
            batch.insert(batch.end(),
                         {"--sample-size", std::to_string(size), "-o", out.string() + "/"});
            for (const fs::path& input : inputs) {
                batch.push_back(input.string());
            }
            ASSERT_EQ(run(batch), 0) << err.str();
            for (const fs::path& input : inputs) {
                VeloDocument document(nullptr, 1);
                ASSERT_TRUE(document.readFromFile(input, "image").ok);
                document.replaceAdjustments({strokeRow(input, kPoints, size, "#2060e0")}, {});
                fs::path reference = folder / "reference.velo";
                ASSERT_FALSE(document.writeToFile(reference, kVeloDocumentType));
                fs::path expected = folder / ("expected." + type);
                ASSERT_EQ(run({"apply", "--doc", reference.string(), "-o", expected.string(),
                               input.string()}),
                          0);
                EXPECT_TRUE(bytesOf(out / (input.stem().string() + "." + type)) ==
                            bytesOf(expected))
                    << input << " as " << type << ", sampled " << size;
            }
        }
    }
}

TEST_F(PickMaps, APointOutsideAnImageWritesNothingForItAndSaysWhy) {
    fs::path small = writeObject("small.png", 20, 10, 3, ImageFileType::PNG);
    fs::path large = writeObject("large.png", 61, 47, 3, ImageFileType::PNG);
    const std::string pick = "pick:5,5;30,9>#2060e0";
    const std::string why = pick + ": the point 30,9 is outside the image, which is 20 by 10";
    for (std::string type : {"png", "gif"}) { // band by band, whole
        fs::path out = folder / type;
        EXPECT_EQ(run({"apply", "--format", type, "--map", pick, "-o", out.string() + "/",
                       small.string(), large.string()}),
                  1);
        EXPECT_NE(err.str().find(small.string() + ": " + why), std::string::npos) << err.str();
        EXPECT_FALSE(fs::exists(out / ("small." + type)));
        EXPECT_TRUE(fs::exists(out / ("large." + type)));
    }
    fs::path document = folder / "small.velo";
    EXPECT_EQ(run({"new", document.string(), small.string(), "--map", pick}), 1);
    EXPECT_NE(err.str().find(why), std::string::npos) << err.str();
    EXPECT_FALSE(fs::exists(document));
}

// Equal dictionaries: the fitted source and range, and nothing of the points.
TEST_F(PickMaps, NewStoresTheFittedSourceAndRangeNeverThePoints) {
    fs::path image = writeObject("object.png", 61, 47, 3, ImageFileType::PNG);
    fs::path document = folder / "object.velo";
    ASSERT_EQ(run({"new", document.string(), image.string(), "--sample-size", "3", "--map",
                   "pick:40,10;50,30>#2060e0", "--map", "pick:45,20>#ff0000@L0.3,C0.08,H0.12"}),
              0)
        << err.str();
    VeloDocument reopened(nullptr, 1);
    ASSERT_TRUE(reopened.readFromFile(document, kVeloDocumentType).ok);
    const VeloDocument::Adjustments& rows = reopened.activeColorAdjustments();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0]->pList(), strokeRow(image, {{40, 10}, {50, 30}}, 3, "#2060e0")->pList());
    auto given = strokeRow(image, {{45, 20}}, 3, "#ff0000");
    given->setReach(Reach::range(0.3f, 0.08f, 0.12f));
    EXPECT_EQ(rows[1]->pList(), given->pList());

    ASSERT_EQ(run({"info", document.string()}), 0);
    EXPECT_NE(out.str().find("reach L0.3,C0.08,H0.12"), std::string::npos) << out.str();
}

} // namespace
} // namespace velo
