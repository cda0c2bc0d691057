#include "engine/BandPipeline.h"
#include "color/WorkingBitmap.h"
#include "engine/AdjustmentPass.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

namespace velo {
namespace {

std::shared_ptr<Bitmap> randomImage(int wide, int high) {
    std::mt19937 random(7);
    auto bitmap = std::make_shared<Bitmap>(wide, high, 4, true, false, kDeviceRGBColorSpace);
    for (std::size_t i = 0; i < bitmap->bytesPerPlane(); ++i) {
        bitmap->plane(0)[i] = static_cast<std::uint8_t>(random());
    }
    return bitmap;
}

std::vector<ColorAdjustment> someAdjustments() {
    std::vector<ColorAdjustment> list(3);
    list[0].setSourceColor(Color::colorWithCalibratedRed(0.8f, 0.4f, 0.2f, 1));
    list[0].setTargetColor(Color::colorWithCalibratedRed(0.2f, 0.4f, 0.8f, 1));
    list[1].setUsesHSB(true);
    list[1].setComponentsMask(11);
    list[2].setSourceColor(Color::colorWithCalibratedWhite(0.3f, 0.5f));
    return list;
}

// Bands cut out of a whole image, recoloured without alpha, glued together.
struct BandedRun {
    std::shared_ptr<Bitmap> whole;
    int bandRows;
    int readFailsAt = -1; // band index
    int writeFailsAt = -1;
    int nextRow = 0;
    int bandsRead = 0;
    std::vector<std::uint8_t> written;
    int bandsWritten = 0;

    BandStages stages() {
        return {[this] {
                    int rows = std::min(bandRows, whole->pixelsHigh() - nextRow);
                    if (bandsRead++ == readFailsAt) {
                        return std::shared_ptr<Bitmap>();
                    }
                    auto band = std::make_shared<Bitmap>(whole->pixelsWide(), rows, 4, true, false,
                                                         kDeviceRGBColorSpace);
                    std::memcpy(band->plane(0),
                                whole->plane(0) + std::size_t(nextRow) * whole->bytesPerRow(),
                                band->bytesPerPlane());
                    nextRow += rows;
                    return band;
                },
                [this] { return nextRow < whole->pixelsHigh(); },
                [](const Bitmap& source) { return alphaAdjustedCopy(source, false); },
                [this](const Bitmap& band) {
                    if (bandsWritten++ == writeFailsAt) {
                        return false;
                    }
                    written.insert(written.end(), band.plane(0),
                                   band.plane(0) + band.bytesPerPlane());
                    return true;
                }};
    }
};

TEST(BandPipeline, BandsComeOutInOrderAsOnePassAndAFailingStageStopsTheRest) {
    auto whole = randomImage(29, 37);
    std::vector<ColorAdjustment> adjustments = someAdjustments();
    auto expected = alphaAdjustedCopy(*whole, false);
    calcRange({0, 37}, whole.get(), expected.get(), adjustments);
    std::vector<std::uint8_t> expectedBytes(expected->plane(0),
                                            expected->plane(0) + expected->bytesPerPlane());
    for (int rows : {1, 5, 37, 100}) {
        BandedRun run{whole, rows};
        EXPECT_TRUE(recolourInBands(run.stages(), adjustments));
        EXPECT_EQ(run.written, expectedBytes) << rows << " rows a band";
    }

    BandedRun badRead{whole, 5, 3};
    EXPECT_FALSE(recolourInBands(badRead.stages(), adjustments));
    EXPECT_EQ(badRead.bandsWritten, 3) << "what was read before is still written";
    BandedRun badWrite{whole, 1, -1, 2};
    EXPECT_FALSE(recolourInBands(badWrite.stages(), adjustments));
    EXPECT_EQ(badWrite.bandsWritten, 3) << "nothing is written after the failure";
    EXPECT_LT(badWrite.bandsRead, 37) << "reading stops soon after";
}

} // namespace
} // namespace velo
