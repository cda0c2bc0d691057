#include "imageio/ImageCodec.h"
#include "imageio/RowCodec.h"

#include "support/DamagedFiles.h"
#include "support/TemporaryFolder.h"

#include "platform/Files.h"

#include <QBuffer>
#include <QImage>

#include <gtest/gtest.h>

#include <cstring>
#include <regex>

namespace velo {
namespace {

const Bitmap& onlyBitmap(const DecodedImage& decoded) {
    return *decoded.image->representations.front().bitmap;
}

bool sameRow(const Bitmap& a, const Bitmap& b, int y) {
    std::size_t bytes = static_cast<std::size_t>(a.pixelsWide()) * a.samplesPerPixel();
    return std::memcmp(a.plane(0) + std::size_t(y) * a.bytesPerRow(),
                       b.plane(0) + std::size_t(y) * b.bytesPerRow(), bytes) == 0;
}

// Cut in half, every format opens with the lines before the cut as the whole
// file has them, the rest grey, and says how many lines it could read.
TEST(DamagedImages, FilesCutShortOpenWithTheLinesTheyHoldAndSaySo) {
    constexpr int kWide = 64, kHigh = 96;
    for (const char* type : {"png", "tif", "webp", "gif"}) {
        SCOPED_TRACE(type);
        std::vector<std::uint8_t> bytes = test::wholeFile(type, kWide, kHigh);
        DecodedImage whole = decodeImage(bytes);
        ASSERT_TRUE(whole.image) << whole.error;
        EXPECT_EQ(whole.damage, "");

        DecodedImage cut = decodeImage(test::firstHalf(bytes));
        ASSERT_TRUE(cut.image) << cut.error;
        std::smatch lines;
        ASSERT_TRUE(std::regex_search(cut.damage, lines,
                                      std::regex("data ends early: ([0-9]+) of 96 lines could")))
            << cut.damage;
        int read = std::stoi(lines[1]);
        EXPECT_GT(read, 10);
        EXPECT_LT(read, kHigh - 10);
        if (std::string(type) == "gif") {
            continue; // Qt's reader keeps the picture; the lines are only counted
        }
        const Bitmap& partial = onlyBitmap(cut);
        ASSERT_EQ(partial.samplesPerPixel(), onlyBitmap(whole).samplesPerPixel());
        for (int y = 0; y < read; ++y) {
            ASSERT_TRUE(sameRow(partial, onlyBitmap(whole), y)) << "line " << y;
        }
        const std::uint8_t* last =
            partial.plane(0) + std::size_t(kHigh - 1) * partial.bytesPerRow();
        EXPECT_EQ(last[0], 128);
        EXPECT_EQ(last[3 * kWide - 1], 128);
    }
}

// Corruption inside the data is named as damage, not as an early end.
TEST(DamagedImages, CorruptPngDataIsReportedAsDamaged) {
    std::vector<std::uint8_t> png = test::wholeFile("png", 64, 96);
    auto idat = std::search(png.begin(), png.end(), std::begin("IDAT"), std::end("IDAT") - 1);
    ASSERT_NE(idat, png.end());
    std::size_t middle = static_cast<std::size_t>(idat - png.begin()) + 4 + 2000;
    ASSERT_LT(middle + 64, png.size());
    std::memset(&png[middle], 0xff, 64);
    DecodedImage decoded = decodeImage(png);
    ASSERT_TRUE(decoded.image) << decoded.error;
    EXPECT_NE(decoded.damage.find("the PNG data is damaged ("), std::string::npos)
        << decoded.damage;
}

// A TIFF cut before its directory cannot be read at all and says why; one
// cut between pages opens with the pages it holds.
TEST(DamagedImages, TiffDirectoriesBeyondTheEndAreNamed) {
    std::vector<std::uint8_t> tiff = test::directoryFirstTiff(*test::detailedPicture(8, 8));
    std::vector<std::uint8_t> noDirectory(tiff.begin(), tiff.end());
    noDirectory[4] = static_cast<std::uint8_t>(tiff.size() + 10); // directory "at the end"
    noDirectory[5] = static_cast<std::uint8_t>((tiff.size() + 10) >> 8);
    DecodedImage missing = decodeImage(noDirectory);
    EXPECT_FALSE(missing.image);
    EXPECT_EQ(missing.error,
              "the TIFF data ends early, before the directory that describes its image");

    std::vector<std::uint8_t> twoPages = tiff;
    std::size_t nextDirectory = 8 + 2 + 12 * 9;
    std::uint32_t beyond = static_cast<std::uint32_t>(tiff.size() + 100);
    std::memcpy(&twoPages[nextDirectory], &beyond, 4);
    DecodedImage firstPage = decodeImage(twoPages);
    ASSERT_TRUE(firstPage.image) << firstPage.error;
    EXPECT_EQ(firstPage.damage, "the TIFF data ends early: only the first page could be read");
}

// The band-by-band reader reports a cut PNG too (one of several data chunks,
// as libpng writes them: it cannot start on one chunk cut short, and the
// caller then decodes the whole image). It stops at the chunk cut short; the
// whole-image decoder reads into it, so it may keep more lines.
TEST(DamagedImages, RowReaderReportsACutPngLikeTheDecoder) {
    std::shared_ptr<Bitmap> picture = test::detailedPicture(128, 192);
    QImage image(picture->plane(0), 128, 192, picture->bytesPerRow(), QImage::Format_RGB888);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(image.save(&buffer, "PNG"));
    test::TemporaryFolder folder;
    ASSERT_FALSE(
        writeFileAtomically(folder / "cut.png", {png.begin(), png.begin() + png.size() * 3 / 4}));
    std::unique_ptr<RowReader> reader = openRowReader(folder / "cut.png");
    ASSERT_TRUE(reader);
    std::shared_ptr<Bitmap> band = reader->newBand(64);
    for (int rows = 0; rows < reader->pixelsHigh(); rows += 64) {
        ASSERT_TRUE(reader->read(*band, 64)) << reader->error();
    }
    EXPECT_NE(reader->damage().find("the PNG data ends early: "), std::string::npos)
        << reader->damage();
    EXPECT_NE(decodeImage(*readFile(folder / "cut.png").bytes).damage, "");
}

} // namespace
} // namespace velo
