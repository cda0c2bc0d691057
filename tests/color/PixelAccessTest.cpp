#include "color/PixelAccess.h"
#include "platform/SampleDepth.h"
#include "support/Bits.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace velo {
namespace {

Bitmap meshed(int wide, int high, int samples) {
    return Bitmap(wide, high, samples, samples == 2 || samples == 4, false, kDeviceRGBColorSpace);
}

std::vector<int> pixelBytes(const Bitmap& b, int column, int row) {
    std::vector<int> out;
    for (int k = 0; k < b.samplesPerPixel(); ++k) {
        out.push_back(b.plane(0)[row * b.bytesPerRow() + column * b.samplesPerPixel() + k]);
    }
    return out;
}

void setBytes(Bitmap& b, int column, int row, std::vector<std::uint8_t> bytes) {
    for (std::size_t k = 0; k < bytes.size(); ++k) {
        b.plane(0)[row * b.bytesPerRow() + column * b.samplesPerPixel() + k] = bytes[k];
    }
}

TEST(PixelAccess, ReadsRgbAndGreyBytesAsExactFractions) {
    Bitmap rgb = meshed(1, 1, 3);
    setBytes(rgb, 0, 0, {255, 128, 0});
    EXPECT_SAME_RGBA(RGBAAtPoint(rgb, {0, 0}), 1, 0.501960813999176, 0, 1);

    Bitmap greyAlpha = meshed(1, 1, 2);
    setBytes(greyAlpha, 0, 0, {64, 128});
    RGBA c = RGBAAtPoint(greyAlpha, {0, 0});
    float grey = 0.250980406999588f / 0.501960813999176f;
    EXPECT_SAME_RGBA(c, grey, grey, grey, 0.501960813999176);
    EXPECT_SAME_FLOAT(c.r, 0.5f);
}

TEST(PixelAccess, EveryByteSurvivesAReadAndWriteUnchanged) {
    Bitmap rgb = meshed(256, 1, 3);
    for (int k = 0; k < 256; ++k) {
        setBytes(rgb, k, 0, {std::uint8_t(k), std::uint8_t(255 - k), std::uint8_t(k)});
    }
    Bitmap copy = meshed(256, 1, 3);
    for (int k = 0; k < 256; ++k) {
        setRGBA(copy, RGBAAtPoint(rgb, {float(k), 0}), {float(k), 0});
    }
    for (int k = 0; k < 256; ++k) {
        EXPECT_EQ(pixelBytes(copy, k, 0), pixelBytes(rgb, k, 0));
    }
}

// Every 16-bit sample comes back as itself from a read and a write, and
// narrows to the byte nearest to its value.
TEST(PixelAccess, Every16BitSampleSurvivesAndNarrowsToTheNearestByte) {
    Bitmap grey(65536, 1, 1, false, false, kCalibratedWhiteColorSpace, 0, 0, 16);
    Bitmap copy(65536, 1, 1, false, false, kCalibratedWhiteColorSpace, 0, 0, 16);
    for (int k = 0; k < 65536; ++k) {
        grey.samples16(0, 0)[k] = static_cast<std::uint16_t>(k);
    }
    for (int k = 0; k < 65536; ++k) {
        setRGBA(copy, RGBAAtPoint(grey, {float(k), 0}), {float(k), 0});
        ASSERT_EQ(copy.samples16(0, 0)[k], k);
        ASSERT_EQ(RGBAAtPoint(grey, {float(k), 0}).r, static_cast<float>(k / 65535.0L));
        ASSERT_EQ(narrowSample(static_cast<std::uint16_t>(k)), std::lround(k * 255.0 / 65535.0));
    }
    Bitmap rgba(1, 1, 4, true, false, kDeviceRGBColorSpace, 0, 0, 16);
    setRGBA(rgba, {1, 0.5f, 0, 0.5f}, {0, 0});
    const std::uint16_t* p = rgba.samples16(0, 0);
    EXPECT_EQ((std::vector<int>{p[0], p[1], p[2], p[3]}),
              (std::vector<int>{32767, 16383, 0, 32767}));
}

TEST(PixelAccess, PremultipliedRgbaRoundTrips) {
    Bitmap rgba = meshed(1, 1, 4);
    setBytes(rgba, 0, 0, {100, 50, 0, 128});
    RGBA c = RGBAAtPoint(rgba, {0, 0});
    EXPECT_SAME_RGBA(c, 0.7812499403953552, 0.3906249701976776, 0, 0.501960813999176);
    setRGBA(rgba, c, {0, 0});
    EXPECT_EQ(pixelBytes(rgba, 0, 0), (std::vector<int>{100, 50, 0, 128}));
}

TEST(PixelAccess, WritesTruncateAndPremultiply) {
    Bitmap rgb = meshed(1, 1, 3);
    setRGBA(rgb, {0.5f, 0.5f, 0.5f, 1}, {0, 0});
    EXPECT_EQ(pixelBytes(rgb, 0, 0), (std::vector<int>{127, 127, 127}));

    Bitmap rgba = meshed(1, 1, 4);
    setRGBA(rgba, {1, 1, 1, 0.5f}, {0, 0});
    EXPECT_EQ(pixelBytes(rgba, 0, 0), (std::vector<int>{127, 127, 127, 127}));
    setRGBA(rgba, {0.9f, 0.3f, 1, 9e-8f}, {0, 0});
    EXPECT_EQ(pixelBytes(rgba, 0, 0), (std::vector<int>{0, 0, 0, 0}));

    Bitmap grey = meshed(1, 1, 1);
    setRGBA(grey, {0.2f, 0.9f, 0.9f, 1}, {0, 0});
    EXPECT_EQ(pixelBytes(grey, 0, 0), (std::vector<int>{51}));

    Bitmap greyAlpha = meshed(1, 1, 2);
    setRGBA(greyAlpha, {1, 0, 0, 0.5f}, {0, 0});
    EXPECT_EQ(pixelBytes(greyAlpha, 0, 0), (std::vector<int>{127, 127}));
}

TEST(PixelAccess, PointYCountsRowsFromTheBottom) {
    Bitmap b = meshed(5, 10, 3);
    setRGBA(b, {1, 1, 1, 1}, {3, 0});
    EXPECT_EQ(pixelBytes(b, 3, 9), (std::vector<int>{255, 255, 255}));
    setRGBA(b, {1, 0, 0, 1}, {3, 9});
    EXPECT_EQ(pixelBytes(b, 3, 0), (std::vector<int>{255, 0, 0}));
    EXPECT_SAME_RGBA(RGBAAtPoint(b, {3, 9}), 1, 0, 0, 1);
}

TEST(PixelAccess, EdgesTruncateTowardZeroAndOutsideIsIgnored) {
    Bitmap b = meshed(4, 2, 3);
    std::vector<std::uint8_t> before(b.plane(0), b.plane(0) + b.bytesPerPlane());
    setRGBA(b, {1, 1, 1, 1}, {4 - 0.5f, 0});
    setRGBA(b, {1, 1, 1, 1}, {0, 2.6f});
    setRGBA(b, {1, 1, 1, 1}, {1e30f, -1e30f});
    EXPECT_EQ(std::vector<std::uint8_t>(b.plane(0), b.plane(0) + b.bytesPerPlane()), before);

    setRGBA(b, {1, 1, 1, 1}, {-1, 0});
    EXPECT_EQ(pixelBytes(b, 0, 1), (std::vector<int>{255, 255, 255}));
    EXPECT_SAME_RGBA(RGBAAtPoint(b, {-1.4f, 0}), 1, 1, 1, 1);
    EXPECT_SAME_RGBA(RGBAAtPoint(b, {-1.6f, 0}), 0, 0, 0, 0);
    EXPECT_SAME_RGBA(RGBAAtPoint(b, {4, 0}), 0, 0, 0, 0);
}

TEST(PixelAccess, PlanarBitmapsKeepOneSamplePerPlane) {
    for (int samples = 1; samples <= 4; ++samples) {
        Bitmap planar(3, 2, samples, samples == 2 || samples == 4, true, kDeviceRGBColorSpace);
        Bitmap reference = meshed(3, 2, samples);
        RGBA colour{0.8f, 0.4f, 0.2f, samples == 2 || samples == 4 ? 0.6f : 1.0f};
        setRGBA(planar, colour, {2, 1});
        setRGBA(reference, colour, {2, 1});
        std::vector<int> expected = pixelBytes(reference, 2, 0);
        for (int k = 0; k < samples; ++k) {
            EXPECT_EQ(planar.plane(k)[2], expected[k]) << samples << " samples, plane " << k;
        }
        RGBA a = RGBAAtPoint(planar, {2, 1});
        RGBA b = RGBAAtPoint(reference, {2, 1});
        EXPECT_SAME_RGBA(a, b.r, b.g, b.b, b.a);
    }
}

TEST(PixelAccess, RowPaddingAndPixelPaddingAreHonoured) {
    // 4 bytes per RGB pixel (one unused) and padded rows.
    Bitmap padded(3, 2, 3, false, false, kDeviceRGBColorSpace, 16, 32);
    setRGBA(padded, {1, 0.5f, 0, 1}, {2, 1});
    EXPECT_EQ(padded.plane(0)[8], 255);
    EXPECT_EQ(padded.plane(0)[9], 127);
    EXPECT_EQ(padded.plane(0)[10], 0);
    EXPECT_SAME_RGBA(RGBAAtPoint(padded, {2, 1}), 1, 127 / 255.0, 0, 1);
}

} // namespace
} // namespace velo
