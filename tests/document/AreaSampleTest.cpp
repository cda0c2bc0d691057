#include "document/AreaSample.h"
#include "color/PixelAccess.h"
#include "document/DocumentSupport.h"
#include "document/RecordingObserver.h"
#include "support/Bits.h"

#include <gtest/gtest.h>

#include <cstring>

namespace velo {
namespace {

// Checkerboards of an opaque colour and a translucent or a clear one.
TEST(AreaSample, AveragesStraightColoursClippedAtTheEdges) {
    for (float otherAlpha : {0.5f, 0.0f}) {
        Bitmap board(7, 5, 4, true, false, kDeviceRGBColorSpace);
        for (int y = 0; y < 5; ++y) {
            for (int x = 0; x < 7; ++x) {
                RGBA c =
                    (x + y) % 2 ? RGBA{0.1f, 0.6f, 0.3f, otherAlpha} : RGBA{0.8f, 0.2f, 0.4f, 1};
                setRGBA(board, c, {float(x), float(y)});
            }
        }
        RGBA even = RGBAAtPoint(board, {0, 0}), odd = RGBAAtPoint(board, {1, 0});
        auto expectMean = [&](Point p, int evens, int odds) {
            RGBA m = meanRGBAAroundPoint(board, p, 3);
            float colourOdds = otherAlpha > 0 ? float(odds) : 0.0f;
            auto mean = [&](float e, float o, float n) {
                return (evens * e + n * o) / (evens + n);
            };
            EXPECT_NEAR(m.r, mean(even.r, odd.r, colourOdds), 1e-6);
            EXPECT_NEAR(m.g, mean(even.g, odd.g, colourOdds), 1e-6);
            EXPECT_NEAR(m.b, mean(even.b, odd.b, colourOdds), 1e-6);
            EXPECT_NEAR(m.a, mean(even.a, odd.a, float(odds)), 1e-6);
        };
        expectMean({2, 2}, 5, 4);     // inside
        expectMean({-0.4f, 0}, 2, 2); // a corner, the point just off the image
        expectMean({6.2f, 2}, 3, 3);  // an edge
    }
}

TEST(AreaSample, EvenAreasRoundBackToTheirByte) {
    Bitmap area(11, 11, 3, false, false, kDeviceRGBColorSpace);
    for (int k = 0; k < 256; ++k) {
        std::memset(area.plane(0), k, area.bytesPerPlane());
        for (int size : kSampleSizes) {
            EXPECT_EQ(nearestByte(meanRGBAAroundPoint(area, {5, 5}, size).g), k) << size;
        }
    }
}

using AreaSamplePick = test::ObservedDocumentTest;

TEST_F(AreaSamplePick, OnePixelIsWhatThePickReads) {
    document.setSourceImage(test::randomImage(9, 7, 4, 3));
    std::mt19937 random(4);
    std::uniform_real_distribution<float> along(-0.4f, 1.0f);
    for (int i = 0; i < 50; ++i) {
        Point p{along(random) * 9, along(random) * 7};
        document.mouseDownInBitmapView({p, {9, 7}, false});
        RGBA mean = meanRGBAAroundPoint(*document.sourceBitmap(), p, 1);
        if (containsPoint(*document.sourceBitmap(), p)) {
            EXPECT_SAME_RGBA(document.colorAdjustments().back()->sourceRGBA(), mean.r, mean.g,
                             mean.b, mean.a);
        }
    }
}

} // namespace
} // namespace velo
