#include "imageio/ImageCodec.h"
#include "imageio/ImageMemoryLimit.h"
#include "imageio/RowCodec.h"
#include "imageio/TiffMemory.h"

#include "support/Corpus.h"
#include "support/TemporaryFolder.h"

#include "platform/Files.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace velo {
namespace {

std::vector<std::uint8_t> encode(const QImage& image, const char* format,
                                 QImageIOHandler::Transformations transform = {}) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setTransformation(transform);
    EXPECT_TRUE(writer.write(image)) << writer.errorString().toStdString();
    return {bytes.begin(), bytes.end()};
}

QImage gradient(int w, int h, QImage::Format format) {
    QImage image(w, h, format);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            image.setPixelColor(x, y, QColor(x * 20 % 256, y * 30 % 256, 90, 255 - x * 10));
        }
    }
    return image;
}

TEST(ImageCodec, DecodesPixelsIntoTheMatchingLayout) {
    QImage rgb = gradient(7, 5, QImage::Format_RGB32);
    DecodedImage decoded = decodeImage(encode(rgb, "png"));
    ASSERT_TRUE(decoded.image) << decoded.error;
    const Bitmap& bitmap = *decoded.image->representations.at(0).bitmap;
    EXPECT_EQ(bitmap.samplesPerPixel(), 3);
    EXPECT_FALSE(bitmap.hasAlpha());
    const std::uint8_t* pixel = bitmap.plane(0) + 2 * bitmap.bytesPerRow() + 3 * 3;
    QColor expected = rgb.pixelColor(3, 2);
    EXPECT_EQ(pixel[0], expected.red());
    EXPECT_EQ(pixel[1], expected.green());
    EXPECT_EQ(pixel[2], expected.blue());

    QImage rgba = gradient(7, 5, QImage::Format_ARGB32);
    decoded = decodeImage(encode(rgba, "png"));
    ASSERT_TRUE(decoded.image);
    const Bitmap& withAlpha = *decoded.image->representations.at(0).bitmap;
    EXPECT_EQ(withAlpha.samplesPerPixel(), 4);
    // Stored premultiplied: colour never exceeds alpha.
    const std::uint8_t* p = withAlpha.plane(0) + 6 * 4;
    EXPECT_LE(p[0], p[3]);
    EXPECT_EQ(p[3], 255 - 60);
}

TEST(ImageCodec, AppliesOrientationAndResolution) {
    QImage wide = gradient(8, 3, QImage::Format_RGB32);
    DecodedImage rotated =
        decodeImage(encode(wide, "jpeg", QImageIOHandler::TransformationRotate90));
    ASSERT_TRUE(rotated.image) << rotated.error;
    EXPECT_EQ(rotated.image->representations[0].pixelsWide, 3);
    EXPECT_EQ(rotated.image->representations[0].pixelsHigh, 8);

    QImage sharp = gradient(100, 50, QImage::Format_RGB32);
    sharp.setDotsPerMeterX(qRound(144 / 0.0254));
    sharp.setDotsPerMeterY(qRound(144 / 0.0254));
    DecodedImage retina = decodeImage(encode(sharp, "png"));
    ASSERT_TRUE(retina.image);
    EXPECT_DOUBLE_EQ(retina.image->size.width, 50);
    EXPECT_DOUBLE_EQ(retina.image->size.height, 25);

    // A file that states no resolution is one point a pixel, in a program
    // without a GUI as in the windows (Qt's defaults differ between them).
    std::vector<std::uint8_t> png = encode(sharp, "png");
    auto chunk = std::search(png.begin(), png.end(), std::begin("pHYs"), std::end("pHYs") - 1);
    ASSERT_NE(chunk, png.end());
    png.erase(chunk - 4, chunk + 4 + 9 + 4); // length, type, data, CRC
    DecodedImage plain = decodeImage(png);
    ASSERT_TRUE(plain.image) << plain.error;
    EXPECT_DOUBLE_EQ(plain.image->size.width, 100);
    EXPECT_DOUBLE_EQ(plain.image->size.height, 50);
}

TEST(ImageCodec, RefusesGarbageAndTruncatedData) {
    std::vector<std::uint8_t> garbage(300, 0x5a);
    DecodedImage none = decodeImage(garbage);
    EXPECT_FALSE(none.image);
    EXPECT_FALSE(none.error.empty());

    std::vector<std::uint8_t> png = encode(gradient(40, 40, QImage::Format_RGB32), "png");
    for (std::size_t length : {std::size_t{0}, std::size_t{8}, std::size_t{30}, png.size() / 2}) {
        std::vector<std::uint8_t> cut(png.begin(), png.begin() + length);
        DecodedImage result = decodeImage(cut);
        if (!result.image) {
            EXPECT_FALSE(result.error.empty());
        }
    }
}

// A JPEG cut short opens with its missing part named, in both readers; a
// whole one has nothing missing.
TEST(ImageCodec, JpegDataThatEndsEarlyIsReportedNotSilent) {
    std::vector<std::uint8_t> jpeg = encode(gradient(24, 256, QImage::Format_RGB32), "jpg");
    DecodedImage whole = decodeImage(jpeg);
    ASSERT_TRUE(whole.image);
    EXPECT_EQ(whole.damage, "");

    std::vector<std::uint8_t> cut(jpeg.begin(), jpeg.begin() + jpeg.size() / 2);
    DecodedImage partial = decodeImage(cut);
    ASSERT_TRUE(partial.image) << partial.error;
    EXPECT_NE(partial.damage.find("ends early"), std::string::npos) << partial.damage;
    EXPECT_NE(partial.damage.find(" of 256 lines could be read"), std::string::npos)
        << partial.damage;

    test::TemporaryFolder folder;
    ASSERT_FALSE(writeFileAtomically(folder / "cut.jpg", cut));
    std::unique_ptr<RowReader> reader = openRowReader(folder / "cut.jpg");
    ASSERT_TRUE(reader);
    std::shared_ptr<Bitmap> band = reader->newBand(reader->pixelsHigh());
    ASSERT_TRUE(reader->read(*band, reader->pixelsHigh())) << reader->error();
    EXPECT_EQ(reader->damage(), partial.damage);
}

std::uint32_t crc32(const std::uint8_t* data, std::size_t length) {
    std::uint32_t crc = 0xffffffffu;
    for (std::size_t i = 0; i < length; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k) {
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

void appendBigEndian(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(v >> shift));
    }
}

// A well-formed PNG claiming the given size, with no pixel data.
std::vector<std::uint8_t> pngHeader(std::uint32_t wide, std::uint32_t high) {
    std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    appendBigEndian(png, 13);
    std::size_t chunk = png.size();
    png.insert(png.end(), {'I', 'H', 'D', 'R'});
    appendBigEndian(png, wide);
    appendBigEndian(png, high);
    png.insert(png.end(), {8, 2, 0, 0, 0});
    appendBigEndian(png, crc32(&png[chunk], png.size() - chunk));
    for (const char* name : {"IDAT", "IEND"}) {
        appendBigEndian(png, 0);
        chunk = png.size();
        png.insert(png.end(), name, name + 4);
        appendBigEndian(png, crc32(&png[chunk], 4));
    }
    return png;
}

TEST(ImageCodec, RefusesAbsurdDimensionsBeforeAllocating) {
    DecodedImage decoded = decodeImage(pngHeader(100000, 100000));
    EXPECT_FALSE(decoded.image);
    EXPECT_NE(decoded.error.find("too large"), std::string::npos) << decoded.error;

    // The limit is configurable: a real 40 x 40 image against 4 KB.
    std::vector<std::uint8_t> png = encode(gradient(40, 40, QImage::Format_RGB32), "png");
    std::uint64_t limit = imageMemoryLimit();
    setImageMemoryLimit(4096);
    DecodedImage refused = decodeImage(png);
    setImageMemoryLimit(limit);
    EXPECT_FALSE(refused.image);
    EXPECT_TRUE(decodeImage(png).image);
}

// A 16-bit RGB TIFF of a fixed pattern, the samples meshed or in planes.
std::vector<std::uint8_t> deepTiff(bool planar, int wide, int high) {
    MemoryFile file;
    file.writing = true;
    TiffHandle tiff(openMemory(file, "w"));
    TIFFSetField(tiff.get(), TIFFTAG_IMAGEWIDTH, wide);
    TIFFSetField(tiff.get(), TIFFTAG_IMAGELENGTH, high);
    TIFFSetField(tiff.get(), TIFFTAG_BITSPERSAMPLE, 16);
    TIFFSetField(tiff.get(), TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(tiff.get(), TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(tiff.get(), TIFFTAG_PLANARCONFIG,
                 planar ? PLANARCONFIG_SEPARATE : PLANARCONFIG_CONTIG);
    TIFFSetField(tiff.get(), TIFFTAG_COMPRESSION, COMPRESSION_ADOBE_DEFLATE);
    TIFFSetField(tiff.get(), TIFFTAG_ROWSPERSTRIP, 8);
    auto sample = [](int x, int y, int s) {
        return static_cast<std::uint16_t>((x * 1031 + y * 977 + s * 20011) % 65536);
    };
    std::vector<std::uint16_t> row(static_cast<std::size_t>(wide) * 3);
    for (int s = 0; s < (planar ? 3 : 1); ++s) {
        for (int y = 0; y < high; ++y) {
            for (int x = 0; x < wide; ++x) {
                for (int k = 0; k < 3; ++k) {
                    row[planar ? x : 3 * x + k] = sample(x, y, planar ? s : k);
                }
            }
            EXPECT_GE(TIFFWriteScanline(tiff.get(), row.data(), y, s), 0);
        }
    }
    tiff.reset();
    return {file.bytes.begin(), file.bytes.end()};
}

// The 16-bit bitmap a deep file decodes to, as bytes.
std::vector<std::uint8_t> deepPixels(const std::vector<std::uint8_t>& bytes) {
    DecodedImage decoded = decodeImage(bytes);
    const std::shared_ptr<Bitmap>* bitmap =
        decoded.image ? &decoded.image->representations.front().bitmap : nullptr;
    EXPECT_TRUE(bitmap && *bitmap && (*bitmap)->isDeep()) << decoded.error;
    if (!bitmap || !*bitmap) {
        return {};
    }
    const std::uint8_t* pixels = (*bitmap)->plane(0);
    return {pixels, pixels + (*bitmap)->bytesPerPlane()};
}

// Qt reads only the first plane of a deep planar TIFF and leaves whatever
// its buffer held before in the rest: the result must be the file's pixels,
// not memory that earlier images left behind.
TEST(ImageCodec, ReadsDeepTiffInSeparatePlanesAsItsMeshedTwin) {
    std::vector<std::uint8_t> meshed = deepPixels(deepTiff(false, 61, 37));
    std::vector<std::uint8_t> planes = deepPixels(deepTiff(true, 61, 37));
    ASSERT_FALSE(meshed.empty());
    EXPECT_TRUE(planes == meshed);

    VELO_REQUIRE_CORPUS();
    FileBytes photo =
        readFile(test::corpusDir() / "tiff_rgb16_planar_separate_deflate_IMG_20200608_111614.tif");
    FileBytes other = readFile(test::corpusDir() / "bmp_24bit_oddwidth_mate_GreenMeadow.bmp");
    ASSERT_TRUE(photo.bytes && other.bytes);
    std::vector<std::uint8_t> first = deepPixels(*photo.bytes);
    EXPECT_TRUE(decodeImage(*other.bytes).image);
    EXPECT_TRUE(deepPixels(*photo.bytes) == first);
}

} // namespace
} // namespace velo
