#include "app/Velo.h"
#include "imageio/ImageCodec.h"
#include "platform/Files.h"
#include "platform/SettingsUserDefaults.h"
#include "support/Corpus.h"
#include "support/MetadataFixtures.h"
#include "support/TemporaryFolder.h"
#include "support/VeloCommandTest.h"

#include <gtest/gtest.h>

#include <sstream>

namespace velo {
namespace {

namespace fs = std::filesystem;

class MetadataCommand : public test::VeloCommandTest {
  protected:
    // velo apply with a map, into out.TYPE.
    fs::path apply(const fs::path& input, const std::string& type, bool strip = false) {
        fs::path output = folder / ("out." + type);
        std::vector<std::string> args = {"apply", "--map",         "#ff8000>#0000ff",
                                         "-o",    output.string(), input.string()};
        if (strip) {
            args.push_back("--strip");
        }
        EXPECT_EQ(run(args), 0) << err.str();
        return output;
    }
    fs::path writePhoto() {
        fs::path path = folder / "photo.jpg";
        EXPECT_FALSE(writeFileAtomically(path, test::cameraPhoto(48, 32)));
        return path;
    }
};

TEST_F(MetadataCommand, EverySampleProfileSurvivesApplyUnchanged) {
    VELO_REQUIRE_CORPUS();
    std::vector<fs::path> samples = test::samplesWithProfiles(test::corpusDir());
    ASSERT_FALSE(samples.empty());
    for (const fs::path& sample : samples) {
        for (const char* type : {"jpg", "png", "tiff"}) {
            EXPECT_EQ(test::iccProfileOfFile(apply(sample, type)), test::iccProfileOfFile(sample))
                << sample << " as " << type;
        }
    }
}

TEST_F(MetadataCommand, APhotoKeepsItsFieldsUprightResizedAndWithoutThumbnail) {
    fs::path photo = writePhoto();
    for (const char* type : {"jpg", "png", "tiff"}) {
        fs::path output = apply(photo, type);
        SCOPED_TRACE(type);
        DecodedImage decoded = readImageFile(output);
        ASSERT_TRUE(decoded.image) << decoded.error;
        EXPECT_EQ(decoded.image->representations[0].pixelsWide, 32);
        EXPECT_EQ(decoded.image->representations[0].pixelsHigh, 48);

        auto written = test::metadataOfFile(output);
        EXPECT_EQ(test::exifText(*written, "Exif.Image.Make"), test::kCameraMake);
        EXPECT_EQ(test::exifText(*written, "Exif.Image.Model"), test::kCameraModel);
        EXPECT_EQ(test::exifText(*written, "Exif.Photo.DateTimeOriginal"), test::kTakenAt);
        EXPECT_EQ(test::exifText(*written, "Exif.GPSInfo.GPSLongitudeRef"), "W");
        EXPECT_EQ(test::exifText(*written, "Exif.Image.Orientation"), "1");
        EXPECT_EQ(test::exifText(*written, "Exif.Photo.PixelXDimension"), "32");
        EXPECT_EQ(test::exifText(*written, "Exif.Photo.PixelYDimension"), "48");
        EXPECT_EQ(Exiv2::ExifThumbC(written->exifData()).copy().size_, 0);
        EXPECT_EQ(written->xmpData()["Xmp.tiff.Orientation"].toString(), "1");
        EXPECT_EQ(written->iptcData()["Iptc.Application2.City"].toString(), test::kCity);
        EXPECT_EQ(test::iccProfileOfFile(output), test::iccProfileOfFile(photo));
    }
}

TEST_F(MetadataCommand, StripWritesNoProfileNorTags) {
    fs::path photo = writePhoto();
    for (const char* type : {"jpg", "png", "tiff"}) {
        auto written = test::metadataOfFile(apply(photo, type, true));
        EXPECT_FALSE(written->iccProfileDefined()) << type;
        EXPECT_EQ(test::exifText(*written, "Exif.Image.Make"), "(none)") << type;
        EXPECT_TRUE(written->xmpData().empty()) << type;
        EXPECT_TRUE(written->iptcData().empty()) << type;
    }
}

TEST_F(MetadataCommand, InfoShowsTheProfileAndTheCameraFields) {
    fs::path photo = writePhoto();
    ASSERT_EQ(run({"info", photo.string()}), 0) << err.str();
    std::string description = QColorSpace(QColorSpace::DisplayP3).description().toStdString();
    EXPECT_NE(out.str().find("colour profile: " + description), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("Make: " + test::kCameraMake), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("DateTimeOriginal: " + test::kTakenAt), std::string::npos);
    // 52° 30' N, 13° 24' 36" W
    EXPECT_NE(out.str().find("GPSPosition: 52.500000, -13.410000"), std::string::npos);
    EXPECT_EQ(out.str().find("FNumber"), std::string::npos) << "only the fields present";

    // A document keeps the profile alone.
    fs::path document = folder / "photo.velo";
    ASSERT_EQ(run({"new", document.string(), photo.string()}), 0) << err.str();
    ASSERT_EQ(run({"info", "--json", document.string()}), 0) << err.str();
    EXPECT_NE(out.str().find("\"description\": \"" + description + "\""), std::string::npos)
        << out.str();
    EXPECT_EQ(out.str().find("exif"), std::string::npos);
}

} // namespace
} // namespace velo
