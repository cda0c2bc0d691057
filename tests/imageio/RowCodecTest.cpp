#include "CodecFixtures.h"
#include "support/Corpus.h"
#include "support/TemporaryFolder.h"

#include "imageio/ImageCodec.h"
#include "imageio/RowCodec.h"
#include "imageio/TiffCodec.h"
#include "platform/Files.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace velo {
namespace {

// The bitmap written through a row writer in bands of the given height.
std::vector<std::uint8_t> writtenInBands(const Bitmap& bitmap, ImageFileType type, int bandRows,
                                         const std::filesystem::path& file) {
    std::unique_ptr<RowWriter> writer =
        openRowWriter(file, type, bitmap, bitmap.pixelsHigh(), bitmap.size(), 0.85f);
    EXPECT_TRUE(writer);
    if (!writer) {
        return {};
    }
    for (int y = 0; y < bitmap.pixelsHigh(); y += bandRows) {
        int rows = std::min(bandRows, bitmap.pixelsHigh() - y);
        Bitmap band(bitmap.pixelsWide(), rows + 2, bitmap.samplesPerPixel(), bitmap.hasAlpha(),
                    bitmap.isPlanar(), bitmap.colorSpaceName(), 0, bitmap.bitsPerPixel());
        for (int p = 0; p < bitmap.numberOfPlanes(); ++p) {
            std::copy_n(bitmap.plane(p) + static_cast<std::size_t>(y) * bitmap.bytesPerRow(),
                        static_cast<std::size_t>(rows) * bitmap.bytesPerRow(), band.plane(p));
        }
        EXPECT_TRUE(writer->write(band, rows)) << writer->error();
    }
    std::optional<std::string> error = writer->finish();
    EXPECT_FALSE(error) << *error;
    return *readFile(file).bytes;
}

std::vector<std::uint8_t> encoded(const Bitmap& bitmap, ImageFileType type) {
    EncodedData data = encodeImage(bitmap, type, 0.85f);
    EXPECT_TRUE(data.data) << data.error;
    return data.data ? *data.data : std::vector<std::uint8_t>{};
}

std::shared_ptr<Bitmap> decodedBitmap(const std::vector<std::uint8_t>& bytes) {
    DecodedImage decoded = decodeImage(bytes);
    EXPECT_TRUE(decoded.image) << decoded.error;
    return decoded.image ? decoded.image->representations.at(0).bitmap : nullptr;
}

struct Layout {
    int samples;
    bool planar;
    int bitsPerPixel;
};

const Layout kLayouts[] = {{1, false, 0}, {2, false, 0}, {3, false, 0}, {4, false, 0},
                           {3, true, 0},  {4, true, 0},  {3, false, 32}};

TEST(RowCodec, WritersGiveEncodeImagesBytesInAnyBands) {
    test::TemporaryFolder folder;
    for (ImageFileType type :
         {ImageFileType::JPEG, ImageFileType::PNG, ImageFileType::BMP, ImageFileType::TIFF}) {
        for (const Layout& layout : kLayouts) {
            if (type == ImageFileType::TIFF && layout.planar) {
                EXPECT_FALSE(openRowWriter(folder / "x", type,
                                           *test::sampleBitmap(4, 4, layout.samples, true), 4,
                                           {4, 4}, 1));
                continue;
            }
            SCOPED_TRACE("type " + std::to_string(static_cast<int>(type)) + ", " +
                         std::to_string(layout.samples) + " samples");
            auto bitmap =
                test::sampleBitmap(301, 2600, layout.samples, layout.planar, layout.bitsPerPixel);
            bitmap->setSize({150.5, 1300});
            std::vector<std::uint8_t> whole = encoded(*bitmap, type);
            for (int rows : {1, 7, 300}) {
                EXPECT_TRUE(writtenInBands(*bitmap, type, rows, folder / "out") == whole)
                    << "in bands of " << rows;
            }
        }
    }
}

TEST(RowCodec, JpegAndBmpAreTheBytesQtWrote) {
    for (const Layout& layout : kLayouts) {
        SCOPED_TRACE(std::to_string(layout.samples) + " samples");
        auto bitmap =
            test::sampleBitmap(64, 37, layout.samples, layout.planar, layout.bitsPerPixel);
        bitmap->setSize({64 * 72 / 300.0, 37 * 72 / 300.0});
        QImage image = test::qtImageOf(*bitmap);
        EXPECT_TRUE(encoded(*bitmap, ImageFileType::JPEG) ==
                    test::qtEncoded(image, "jpeg", {}, 85));
        EXPECT_TRUE(encoded(*bitmap, ImageFileType::BMP) == test::qtEncoded(image, "bmp"));
    }
}

TEST(RowCodec, TiffIsTheDocumentsTiff) {
    for (const Layout& layout : kLayouts) {
        if (!layout.planar) {
            auto bitmap = test::sampleBitmap(300, 200, layout.samples, false, layout.bitsPerPixel);
            EXPECT_TRUE(encoded(*bitmap, ImageFileType::TIFF) == *encodeTiff(*bitmap).data);
        }
    }
}

// PNGs keep the layout Qt wrote (grey, RGB, RGBA) and its pixels, exactly.
TEST(RowCodec, PngKeepsPixelsLayoutAndResolution) {
    for (const Layout& layout : kLayouts) {
        SCOPED_TRACE(std::to_string(layout.samples) + " samples");
        auto bitmap =
            test::sampleBitmap(1500, 900, layout.samples, layout.planar, layout.bitsPerPixel);
        bitmap->setSize({1200 * 72 / 144.0, 900 * 72 / 144.0});
        std::vector<std::uint8_t> png = encoded(*bitmap, ImageFileType::PNG);
        std::vector<std::uint8_t> byQt = test::qtEncoded(test::qtImageOf(*bitmap), "png");
        ASSERT_GT(png.size(), 26u);
        EXPECT_EQ(png[25], byQt[25]) << "colour type";
        auto decoded = decodedBitmap(png);
        auto decodedFromQt = decodedBitmap(byQt);
        ASSERT_TRUE(decoded && decodedFromQt);
        test::expectSameBitmaps(*decoded, *decodedFromQt);
        if (layout.samples != 2) {
            EXPECT_TRUE(test::samplesOf(*decoded) == test::samplesOf(*bitmap));
        }
        EXPECT_DOUBLE_EQ(decoded->size().width, 600);
    }
}

// Bands read in any heights are decodeImage's bitmap, cut.
void expectReadInBands(const std::filesystem::path& file) {
    SCOPED_TRACE(file.filename().string());
    std::shared_ptr<Bitmap> whole = decodedBitmap(*readFile(file).bytes);
    for (int bandRows : {1, 7, 300}) {
        std::unique_ptr<RowReader> reader = openRowReader(file);
        ASSERT_TRUE(reader && whole);
        EXPECT_EQ(reader->pixelsWide(), whole->pixelsWide());
        ASSERT_EQ(reader->pixelsHigh(), whole->pixelsHigh());
        EXPECT_DOUBLE_EQ(reader->size().width, whole->size().width);
        EXPECT_DOUBLE_EQ(reader->size().height, whole->size().height);
        std::vector<std::uint8_t> samples;
        for (int y = 0; y < reader->pixelsHigh(); y += bandRows) {
            int rows = std::min(bandRows, reader->pixelsHigh() - y);
            std::shared_ptr<Bitmap> band = reader->newBand(rows);
            ASSERT_TRUE(reader->read(*band, rows)) << reader->error();
            std::vector<std::uint8_t> more = test::samplesOf(*band);
            samples.insert(samples.end(), more.begin(), more.end());
        }
        EXPECT_TRUE(samples == test::samplesOf(*whole)) << "in bands of " << bandRows;
        EXPECT_FALSE(reader->read(*reader->newBand(1), 1));
    }
}

TEST(RowCodec, ReadersGiveDecodeImagesBitmapBandByBand) {
    test::TemporaryFolder folder;
    for (int samples : {1, 2, 3, 4}) {
        auto bitmap = test::sampleBitmap(333, 517, samples);
        for (ImageFileType type : {ImageFileType::PNG, ImageFileType::JPEG}) {
            auto file = folder / ("image" + std::to_string(samples) +
                                  (type == ImageFileType::PNG ? ".png" : ".jpg"));
            ASSERT_FALSE(writeFileAtomically(file, encoded(*bitmap, type)));
            expectReadInBands(file);
        }
        auto tiff = folder / "image.tif";
        ASSERT_FALSE(writeFileAtomically(tiff, encoded(*bitmap, ImageFileType::TIFF)));
        EXPECT_FALSE(openRowReader(tiff)) << "TIFFs are read whole";
    }
    EXPECT_FALSE(openRowReader(folder / "missing.png"));
}

TEST(RowCodec, ReadersReadTheSampleImagesTheyTake) {
    VELO_REQUIRE_CORPUS();
    int streamed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(test::corpusDir())) {
        if (openRowReader(entry.path())) {
            expectReadInBands(entry.path());
            ++streamed;
        }
    }
    EXPECT_EQ(streamed, 6);
}

TEST(RowCodec, WritersRefuseWrongBandsAndMissingRows) {
    test::TemporaryFolder folder;
    auto bitmap = test::sampleBitmap(20, 10, 3);
    for (ImageFileType type :
         {ImageFileType::JPEG, ImageFileType::PNG, ImageFileType::BMP, ImageFileType::TIFF}) {
        auto writer = openRowWriter(folder / "a", type, *bitmap, 10, {20, 10}, 1);
        ASSERT_TRUE(writer);
        EXPECT_FALSE(writer->write(*test::sampleBitmap(21, 10, 3), 1));
        EXPECT_FALSE(writer->error().empty());
        writer = openRowWriter(folder / "b", type, *bitmap, 10, {20, 10}, 1);
        EXPECT_TRUE(writer->write(*bitmap, 9));
        EXPECT_FALSE(writer->write(*bitmap, 2)) << "more rows than the image";
        EXPECT_TRUE(writer->finish()) << "a row is missing";
    }
    EXPECT_FALSE(openRowWriter(folder / "c", ImageFileType::GIF, *bitmap, 10, {20, 10}, 1));
    EXPECT_FALSE(
        openRowWriter(folder / "none" / "d", ImageFileType::PNG, *bitmap, 10, {20, 10}, 1));
}

} // namespace
} // namespace velo
