#include "imageio/ImageMetadata.h"
#include "imageio/IccDescription.h"
#include "imageio/TiffCodec.h"
#include "support/Corpus.h"
#include "support/MetadataFixtures.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>

namespace velo {
namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> bytesOf(const QByteArray& array) {
    return {array.begin(), array.end()};
}

void put32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
    }
}

// Qt writes version 2 profiles: the same one as version 4, its description a
// multiLocalizedUnicodeType of a German and an English record.
std::vector<std::uint8_t> version4Profile(const std::u16string& german,
                                          const std::u16string& english) {
    std::vector<std::uint8_t> profile = bytesOf(QColorSpace(QColorSpace::DisplayP3).iccProfile());
    profile[8] = 4;
    profile[9] = 0x30;
    const std::pair<const char*, const std::u16string*> records[] = {{"deDE", &german},
                                                                     {"enUS", &english}};
    std::vector<std::uint8_t> tag(16 + 12 * std::size(records));
    std::copy_n("mluc", 4, tag.begin());
    put32(tag, 8, static_cast<std::uint32_t>(std::size(records)));
    put32(tag, 12, 12);
    for (std::size_t i = 0; i < std::size(records); ++i) {
        auto [language, text] = records[i];
        std::size_t record = 16 + 12 * i;
        std::copy_n(language, 4, tag.begin() + static_cast<long>(record));
        put32(tag, record + 4, static_cast<std::uint32_t>(text->size() * 2));
        put32(tag, record + 8, static_cast<std::uint32_t>(tag.size()));
        for (char16_t unit : *text) {
            tag.push_back(static_cast<std::uint8_t>(unit >> 8));
            tag.push_back(static_cast<std::uint8_t>(unit));
        }
    }
    std::uint32_t tags = static_cast<std::uint32_t>(profile[131]);
    for (std::uint32_t i = 0; i < tags; ++i) {
        std::size_t entry = 132 + 12 * i;
        if (std::equal(profile.begin() + entry, profile.begin() + entry + 4, "desc")) {
            put32(profile, entry + 4, static_cast<std::uint32_t>(profile.size()));
            put32(profile, entry + 8, static_cast<std::uint32_t>(tag.size()));
        }
    }
    profile.insert(profile.end(), tag.begin(), tag.end());
    put32(profile, 0, static_cast<std::uint32_t>(profile.size()));
    return profile;
}

TEST(IccProfileDescription, ReadsVersion2AndVersion4Descriptions) {
    QColorSpace p3(QColorSpace::DisplayP3);
    EXPECT_EQ(iccProfileDescription(bytesOf(p3.iccProfile())), p3.description().toStdString());
    // A wide character and one beyond the basic plane, past a German record.
    std::vector<std::uint8_t> v4 = version4Profile(u"Anzeige P3", u"Display P3 \u2013 \U0001F308");
    EXPECT_EQ(iccProfileDescription(v4), "Display P3 \u2013 \U0001F308");

    VELO_REQUIRE_CORPUS();
    std::vector<fs::path> samples = test::samplesWithProfiles(test::corpusDir());
    EXPECT_FALSE(samples.empty());
    for (const fs::path& sample : samples) {
        std::vector<std::uint8_t> profile = test::iccProfileOfFile(sample);
        QByteArray forQt(reinterpret_cast<const char*>(profile.data()),
                         static_cast<qsizetype>(profile.size()));
        // Qt keeps the NULs that pad a counted string.
        std::string byQt = QColorSpace::fromIccProfile(forQt).description().toStdString();
        EXPECT_EQ(iccProfileDescription(profile), std::string(byQt.c_str())) << sample;
    }
}

TEST(IccProfileDescription, TruncatedOrDamagedProfilesGiveNothingAndNeverCrash) {
    std::vector<std::uint8_t> v2 = bytesOf(QColorSpace(QColorSpace::SRgb).iccProfile());
    std::vector<std::uint8_t> v4 = version4Profile(u"A", u"B");
    for (const std::vector<std::uint8_t>* profile : {&v2, &v4}) {
        // Cut anywhere before the end, the description tag (the last one) is incomplete.
        for (std::size_t size = 0; size < profile->size(); ++size) {
            ASSERT_EQ(iccProfileDescription({profile->data(), size}), std::nullopt) << size;
        }
        std::mt19937 random(7);
        for (int trial = 0; trial < 2000; ++trial) {
            std::vector<std::uint8_t> damaged = *profile;
            for (int n = 0; n < 4; ++n) {
                damaged[128 + random() % (damaged.size() - 128)] =
                    static_cast<std::uint8_t>(random());
            }
            iccProfileDescription(damaged);
        }
    }
}

TEST(ColourProfile, TravelsWithCopiesAndThroughTiff) {
    auto profile = std::make_shared<const IccProfile>(
        bytesOf(QColorSpace(QColorSpace::AdobeRgb).iccProfile()));
    Bitmap bitmap(5, 3, 4, true, true, kDeviceRGBColorSpace);
    bitmap.setIccProfile(profile);
    EXPECT_EQ(bitmap.copy()->iccProfile(), profile);
    DecodedBitmap decoded = decodeTiff(*encodeTiff(bitmap).data);
    ASSERT_TRUE(decoded.bitmap) << decoded.error;
    ASSERT_TRUE(decoded.bitmap->iccProfile());
    EXPECT_EQ(*decoded.bitmap->iccProfile(), *profile);
}

TEST(ImageMetadataWriting, FilesAndBytesGetTheSameAndDamageLeavesTheImageAsItWas) {
    auto metadata = ImageMetadata::read(test::cameraPhoto(24, 16));
    ASSERT_TRUE(metadata && metadata->tags() && metadata->iccProfile());
    std::vector<std::uint8_t> output = test::jpegOf(test::gradientImage(16, 24));

    test::TemporaryFolder folder;
    fs::path file = folder / "out.jpg";
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(output.data()), static_cast<long>(output.size()));
    EXPECT_EQ(writeImageMetadata(file, *metadata, 16, 24), std::nullopt);
    std::vector<std::uint8_t> inMemory = output;
    EXPECT_EQ(writeImageMetadata(inMemory, *metadata, 16, 24), std::nullopt);
    std::ifstream written(file, std::ios::binary);
    EXPECT_EQ(inMemory, std::vector<std::uint8_t>(std::istreambuf_iterator<char>(written), {}));

    std::vector<std::uint8_t> cut(output.begin(), output.begin() + 40);
    std::vector<std::uint8_t> damaged = cut;
    EXPECT_NE(writeImageMetadata(damaged, *metadata, 16, 24), std::nullopt);
    EXPECT_EQ(damaged, cut);
}

} // namespace
} // namespace velo
