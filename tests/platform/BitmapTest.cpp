#include "platform/Bitmap.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace velo {
namespace {

TEST(Bitmap, ComputesRowAndPixelSizesWhenGivenZero) {
    Bitmap meshed(5, 3, 3, false, false, kDeviceRGBColorSpace);
    EXPECT_EQ(meshed.bitsPerPixel(), 24);
    EXPECT_EQ(meshed.bytesPerRow(), 15);
    EXPECT_EQ(meshed.numberOfPlanes(), 1);

    Bitmap planar(5, 3, 4, true, true, kDeviceRGBColorSpace);
    EXPECT_EQ(planar.bitsPerPixel(), 32);
    EXPECT_EQ(planar.bytesPerRow(), 5);
    EXPECT_EQ(planar.numberOfPlanes(), 4);
}

TEST(Bitmap, CopyOwnsItsPixels) {
    Bitmap original(2, 2, 2, true, true, kCalibratedWhiteColorSpace);
    original.plane(1)[3] = 9;
    original.setOpaque(true);
    auto copy = original.copy();
    original.plane(1)[3] = 1;
    EXPECT_EQ(copy->plane(1)[3], 9);
    EXPECT_TRUE(copy->isOpaque());
    EXPECT_EQ(copy->colorSpaceName(), kCalibratedWhiteColorSpace);
}

TEST(Bitmap, RefusesLayoutsItCannotHold) {
    EXPECT_THROW(Bitmap(2, 2, 5, true, false, kDeviceRGBColorSpace), std::invalid_argument);
    EXPECT_THROW(Bitmap(2, 2, 3, true, false, kDeviceRGBColorSpace), std::invalid_argument);
    EXPECT_THROW(Bitmap(2, 2, 2, false, false, kDeviceRGBColorSpace), std::invalid_argument);
    EXPECT_THROW(Bitmap(-1, 2, 3, false, false, kDeviceRGBColorSpace), std::invalid_argument);
    EXPECT_THROW(Bitmap(4, 2, 3, false, false, kDeviceRGBColorSpace, 11), std::invalid_argument);
    EXPECT_THROW(Bitmap(4, 2, 3, false, false, kDeviceRGBColorSpace, 0, 16), std::invalid_argument);
}

} // namespace
} // namespace velo
