// The view's display copies: each pixel the average of its block, in the
// premultiplied format the painter draws fastest.
#include "display/BitmapDisplay.h"
#include "display/PreviewSourceAhead.h"

#include <gtest/gtest.h>

namespace velo {
namespace {

void setSamples(Bitmap& bitmap, int x, int y, std::initializer_list<int> samples) {
    int k = 0;
    for (int v : samples) {
        auto byte = static_cast<std::uint8_t>(v);
        if (bitmap.isPlanar()) {
            bitmap.plane(k)[y * bitmap.bytesPerRow() + x] = byte;
        } else {
            bitmap.plane(0)[y * bitmap.bytesPerRow() + x * bitmap.bitsPerPixel() / 8 + k] = byte;
        }
        ++k;
    }
}

TEST(BitmapDisplay, blocksAreAveragedAndEveryRowBelongsToOneBlock) {
    Bitmap rgb(4, 2, 3, false, false, kDeviceRGBColorSpace);
    for (int y = 0; y < 2; ++y) {
        setSamples(rgb, 0, y, {0, 0, 0});
        setSamples(rgb, 1, y, {100, 50, 10});
        setSamples(rgb, 2, y, {255, 255, 255});
        setSamples(rgb, 3, y, {255, 0, 255});
    }
    QImage display = newDisplayImage({2, 1});
    drawRowsInto(display, rgb, 0, 1);
    EXPECT_EQ(display.pixel(0, 0), qRgba(50, 25, 5, 255));
    EXPECT_EQ(display.pixel(1, 0), qRgba(255, 128, 255, 255));

    std::vector<int> owner(37, -1);
    for (int row = 0; row < 10; ++row) {
        RowBlock block = bitmapRowsOf(row, 10, 37);
        for (int y = block.first; y < block.last; ++y) {
            EXPECT_EQ(owner[y], -1);
            owner[y] = row;
        }
    }
    EXPECT_EQ(std::count(owner.begin(), owner.end(), -1), 0);
}

TEST(BitmapDisplay, greyAlphaAndPlanarPixelsBecomePremultipliedColour) {
    Bitmap grey(2, 1, 2, true, false, kDeviceWhiteColorSpace);
    setSamples(grey, 0, 0, {60, 128});
    setSamples(grey, 1, 0, {200, 100}); // colour above its alpha, as a file may hold
    QImage display = newDisplayImage({2, 1});
    drawRowsInto(display, grey, 0, 1);
    EXPECT_EQ(display.pixel(0, 0), qRgba(60, 60, 60, 128));
    EXPECT_EQ(qAlpha(display.pixel(1, 0)), 100);
    EXPECT_EQ(qRed(display.pixel(1, 0)), 100);

    Bitmap meshed(3, 3, 4, true, false, kDeviceRGBColorSpace);
    Bitmap planar(3, 3, 4, true, true, kDeviceRGBColorSpace);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 3; ++x) {
            int a = 40 * (x + y) + 15;
            setSamples(meshed, x, y, {a / 2, a / 3, a, a});
            setSamples(planar, x, y, {a / 2, a / 3, a, a});
        }
    }
    QImage fromMeshed = newDisplayImage({2, 2}), fromPlanar = newDisplayImage({2, 2});
    drawRowsInto(fromMeshed, meshed, 0, 2);
    drawRowsInto(fromPlanar, planar, 0, 2);
    EXPECT_EQ(fromMeshed, fromPlanar);

    std::shared_ptr<Bitmap> reduced = reducedCopy(planar, {2, 2});
    EXPECT_FALSE(reduced->isPlanar());
    QImage fromReduced = newDisplayImage({2, 2});
    drawRowsInto(fromReduced, *reduced, 0, 2);
    EXPECT_EQ(fromReduced, fromMeshed);
}

// 16-bit samples are averaged at 16 bits, and only the average is narrowed.
TEST(BitmapDisplay, SixteenBitBlocksAverageBeforeTheyNarrow) {
    Bitmap grey(2, 1, 1, false, false, kCalibratedWhiteColorSpace, 0, 0, 16);
    grey.samples16(0, 0)[0] = 1000;
    grey.samples16(0, 0)[1] = 65535;
    QImage display = newDisplayImage({1, 1});
    drawRowsInto(display, grey, 0, 1);
    // (1000 + 65535) / 2 = 33267.5, rounded up, is 129.4 bytes: 129.
    EXPECT_EQ(display.pixel(0, 0), qRgba(129, 129, 129, 255));
    auto reduced = reducedCopy(grey, {1, 1});
    EXPECT_EQ(reduced->bitsPerSample(), 8);
    EXPECT_EQ(reduced->plane(0)[0], 129);
}

// The preview's source made ahead is the reduced copy asked for, and only it.
TEST(BitmapDisplay, APreviewSourceMadeAheadIsTheReducedCopyAskedFor) {
    auto source = std::make_shared<Bitmap>(40, 30, 3, false, false, kDeviceRGBColorSpace);
    for (std::size_t i = 0; i < source->bytesPerPlane(); ++i) {
        source->plane(0)[i] = static_cast<std::uint8_t>(i * 7);
    }
    auto other = source->copy();
    PreviewSourceAhead ahead;
    ahead.request(source, {8, 6});
    EXPECT_FALSE(ahead.take(*source, {9, 6}));
    EXPECT_FALSE(ahead.take(*other, {8, 6}));
    std::shared_ptr<const Bitmap> made = ahead.take(*source, {8, 6});
    ASSERT_TRUE(made);
    auto expected = reducedCopy(*source, {8, 6});
    EXPECT_TRUE(
        std::equal(made->plane(0), made->plane(0) + made->bytesPerPlane(), expected->plane(0)));
}

} // namespace
} // namespace velo
