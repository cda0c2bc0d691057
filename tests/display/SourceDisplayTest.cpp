// The original beside the live display: the source as a LiveDisplay shows it,
// pixel for pixel, whatever the colour setting, and a new source at once.
#include "display/SourceDisplay.h"

#include "display/BitmapDisplay.h"
#include "display/ColorProfileFixtures.h"
#include "display/LiveDisplay.h"
#include "document/DocumentSupport.h"

#include <gtest/gtest.h>

namespace velo {
namespace {

std::shared_ptr<const Image> taggedImage(const IccProfile& profile, unsigned seed) {
    std::shared_ptr<const Image> image = test::randomImage(160, 120, 3, seed);
    image->representations.front().bitmap->setIccProfile(std::make_shared<IccProfile>(profile));
    return image;
}

TEST(SourceDisplay, drawsTheSourceAsTheLiveDisplayShowsItInEveryColourSetting) {
    IccProfile wide = test::wideGamutProfile();
    if (wide.empty()) {
        GTEST_SKIP() << "icc-profiles-free is not installed";
    }
    VeloDocument document{nullptr, 2};
    document.setSourceImage(taggedImage(wide, 1));
    document.finishSetUp();
    document.toggleSourceOrDestinationImage();
    LiveDisplay live(document);
    SourceDisplay original(document);
    // Reduced, so that blocks are averaged, on an sRGB screen.
    live.setDrawnSize({80, 60});
    original.setDrawnSize({80, 60});
    live.matchColors(true, nullptr);
    original.matchColors(true, nullptr);
    ASSERT_EQ(live.bitmap(), document.sourceBitmap());
    QImage raw = newDisplayImage({80, 60});
    drawRowsInto(raw, *document.sourceBitmap(), 0, 60);
    EXPECT_NE(original.image(), raw) << "converted from the wide gamut";
    EXPECT_EQ(original.image(), live.image());

    live.matchColors(false, nullptr);
    original.matchColors(false, nullptr);
    EXPECT_EQ(original.image(), raw);

    document.setSourceImage(taggedImage(wide, 2));
    ASSERT_EQ(live.bitmap(), document.sourceBitmap());
    EXPECT_NE(original.image(), raw);
    EXPECT_EQ(original.image(), live.image());
}

} // namespace
} // namespace velo
