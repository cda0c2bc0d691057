#include "CodecFixtures.h"
#include "support/Corpus.h"

#include "imageio/OwnDecoders.h"
#include "imageio/QtImageDecoder.h"
#include "platform/Files.h"

#include <QColor>

#include <gtest/gtest.h>

#include <optional>

namespace velo {
namespace {

// decodeImage through our own decoders gives what Qt's readers alone give.
void expectDecodedAsByQt(const std::vector<std::uint8_t>& bytes, std::optional<bool> ownDecoder,
                         const std::string& what) {
    SCOPED_TRACE(what);
    if (ownDecoder) {
        EXPECT_EQ(static_cast<bool>(openOwnDecoder(bytes)), *ownDecoder);
    }
    DecodedImage own = decodeImage(bytes);
    DecodedImage qt = decodeWithQtOnly(bytes);
    ASSERT_EQ(static_cast<bool>(own.image), static_cast<bool>(qt.image)) << own.error << qt.error;
    if (own.image) {
        test::expectSameImages(*own.image, *qt.image);
    }
}

QImage colourful(int wide, int high, QImage::Format format) {
    QImage image(wide, high, format);
    for (int y = 0; y < high; ++y) {
        for (int x = 0; x < wide; ++x) {
            image.setPixelColor(
                x, y, QColor(x * 13 % 256, y * 29 % 256, (x ^ y) % 256, (x * 5 + y * 11) % 256));
        }
    }
    return image;
}

// The JPEG with an EXIF block stating the orientation (1 to 8), as cameras write.
std::vector<std::uint8_t> withOrientation(std::vector<std::uint8_t> jpeg,
                                          std::uint8_t orientation) {
    std::vector<std::uint8_t> exif = {
        0xff, 0xe1, 0,    34,   'E', 'x', 'i', 'f', 0, 0, 'I',         'I', 42, 0, 8, 0, 0, 0,
        1,    0,    0x12, 0x01, 3,   0,   1,   0,   0, 0, orientation, 0,   0,  0, 0, 0, 0, 0};
    jpeg.insert(jpeg.begin() + 2, exif.begin(), exif.end());
    return jpeg;
}

TEST(OwnDecoders, DecodeEverySampleImageAsQtDoes) {
    VELO_REQUIRE_CORPUS();
    int own = 0;
    for (const auto& entry : std::filesystem::directory_iterator(test::corpusDir())) {
        if (entry.path().extension() == ".md") {
            continue;
        }
        FileBytes file = readFile(entry.path());
        ASSERT_TRUE(file.bytes);
        bool ours = static_cast<bool>(openOwnDecoder(*file.bytes));
        own += ours;
        expectDecodedAsByQt(*file.bytes, ours, entry.path().filename().string());
    }
    // The progressive JPEG and the 8-bit PNGs.
    EXPECT_EQ(own, 6);
}

TEST(OwnDecoders, DecodePngLayoutsAsQtDoes) {
    QImage rgb = colourful(37, 21, QImage::Format_RGB32);
    expectDecodedAsByQt(test::qtEncoded(rgb, "png"), true, "RGB");
    expectDecodedAsByQt(test::qtEncoded(colourful(37, 21, QImage::Format_ARGB32), "png"), true,
                        "RGBA, every alpha");
    expectDecodedAsByQt(test::qtEncoded(rgb.convertToFormat(QImage::Format_Grayscale8), "png"),
                        true, "grey");
    QImage palette = rgb.convertToFormat(QImage::Format_Indexed8);
    expectDecodedAsByQt(test::qtEncoded(palette, "png"), true, "opaque palette");
    palette.setColor(3, qRgba(10, 20, 30, 77));
    expectDecodedAsByQt(test::qtEncoded(palette, "png"), true, "palette with alpha");
    expectDecodedAsByQt(test::qtEncoded(rgb.convertToFormat(QImage::Format_Mono), "png"), false,
                        "one bit");
    expectDecodedAsByQt(test::qtEncoded(colourful(9, 5, QImage::Format_RGBA64), "png"), false,
                        "16 bits");

    QImage sharp = rgb;
    sharp.setDotsPerMeterX(5669); // 144 dpi
    sharp.setDotsPerMeterY(2835);
    expectDecodedAsByQt(test::qtEncoded(sharp, "png"), true, "resolution");
    std::vector<std::uint8_t> damaged =
        test::qtEncoded(colourful(300, 200, QImage::Format_RGB32), "png");
    damaged.resize(damaged.size() / 2);
    // Qt's reader refuses what was cut short; ours keeps what there is.
    EXPECT_FALSE(decodeWithQtOnly(damaged).image);
    EXPECT_NE(decodeImage(damaged).damage, "");
}

TEST(OwnDecoders, DecodeJpegsAsQtDoesAndLeaveTurnedOnesToQt) {
    QImage rgb = colourful(45, 30, QImage::Format_RGB32);
    expectDecodedAsByQt(test::qtEncoded(rgb, "jpeg"), true, "RGB");
    expectDecodedAsByQt(test::qtEncoded(rgb.convertToFormat(QImage::Format_Grayscale8), "jpeg"),
                        true, "grey");
    expectDecodedAsByQt(test::qtEncoded(rgb, "jpeg", {}, 30), true, "low quality");
    QImage dense = rgb;
    dense.setDotsPerMeterX(11811); // 300 dpi, written per centimetre
    dense.setDotsPerMeterY(5906);
    expectDecodedAsByQt(test::qtEncoded(dense, "jpeg"), true, "resolution");
    std::vector<std::uint8_t> upright = test::qtEncoded(dense, "jpeg");
    expectDecodedAsByQt(withOrientation(upright, 1), true, "orientation 1");
    for (std::uint8_t orientation = 2; orientation <= 8; ++orientation) {
        expectDecodedAsByQt(withOrientation(upright, orientation), false,
                            "orientation " + std::to_string(orientation));
    }
    std::vector<std::uint8_t> damaged =
        test::qtEncoded(colourful(300, 200, QImage::Format_RGB32), "jpeg");
    damaged.resize(damaged.size() / 2);
    expectDecodedAsByQt(damaged, true, "cut short");
}

} // namespace
} // namespace velo
