// The view's conversion to the screen's colours: which library takes which
// profile, and that either converts as Little CMS does, translucent pixels
// too, touching only the rows it is given.
#include "display/DisplayColorTransform.h"

#include "display/ColorProfileFixtures.h"

#include <gtest/gtest.h>

namespace velo {
namespace {

using test::lookupTableProfile;
using test::wideGamutProfile;

IccProfile greyProfile() {
    cmsToneCurve* gamma = cmsBuildGamma(nullptr, 2.2);
    IccProfile profile = test::savedProfile(cmsCreateGrayProfile(cmsD50_xyY(), gamma));
    cmsFreeToneCurve(gamma); // the profile holds a copy
    return profile;
}

// Colours over the whole cube, opaque in the top half and ever more
// transparent below.
QImage sampleDisplay() {
    QImage image(96, 8, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < image.height(); ++y) {
        int alpha = y < 4 ? 255 : 255 - 60 * (y - 3);
        for (int x = 0; x < image.width(); ++x) {
            QRgb straight = qRgba(x * 37 % 256, (x * 11 + y * 50) % 256, 255 - x * 2, alpha);
            image.setPixel(x, y, qPremultiply(straight));
        }
    }
    return image;
}

TEST(DisplayColorTransform, eachProfileGoesToTheLibraryThatReadsItAndNoneNeedlessly) {
    IccProfile wide = wideGamutProfile();
    if (wide.empty()) {
        GTEST_SKIP() << "icc-profiles-free is not installed";
    }
    IccProfile table = lookupTableProfile(wide);
    IccProfile srgb = test::savedProfile(cmsCreate_sRGBProfile());
    auto converterOf = [](const IccProfile* source, const IccProfile* screen) {
        auto transform = DisplayColorTransform::between(source, screen);
        return transform ? transform->converter() : DisplayConverter::None;
    };
    EXPECT_EQ(converterOf(&wide, nullptr), DisplayConverter::Qt);
    EXPECT_EQ(converterOf(nullptr, &wide), DisplayConverter::Qt);
    EXPECT_EQ(converterOf(&table, nullptr), DisplayConverter::LittleCms);
    EXPECT_EQ(converterOf(&table, &wide), DisplayConverter::LittleCms);
    // One colour space on both sides.
    EXPECT_EQ(converterOf(nullptr, nullptr), DisplayConverter::None);
    EXPECT_EQ(converterOf(&srgb, nullptr), DisplayConverter::None);
    EXPECT_EQ(converterOf(&table, &table), DisplayConverter::None);
    IccProfile copy = wide;
    EXPECT_EQ(DisplayColorTransform::between(&wide, nullptr),
              DisplayColorTransform::between(&copy, nullptr));

    // Broken or not RGB: shown as it is, on either side.
    IccProfile cut(wide.begin(), wide.begin() + static_cast<long>(wide.size() / 2));
    IccProfile noise(600, 0x5a);
    for (const IccProfile& unusable : {cut, noise, greyProfile()}) {
        EXPECT_EQ(converterOf(&unusable, &wide), DisplayConverter::None);
        EXPECT_EQ(converterOf(&wide, &unusable), DisplayConverter::None);
    }
}

TEST(DisplayColorTransform, convertsTheRowsItIsGivenAsLittleCmsDoes) {
    IccProfile wide = wideGamutProfile();
    if (wide.empty()) {
        GTEST_SKIP() << "icc-profiles-free is not installed";
    }
    const QImage before = sampleDisplay();
    for (const IccProfile& profile : {wide, lookupTableProfile(wide)}) {
        auto transform = DisplayColorTransform::between(&profile, nullptr);
        ASSERT_TRUE(transform);
        SCOPED_TRACE(static_cast<int>(transform->converter()));
        QImage after = before.copy();
        transform->apply(after, 1, 7);
        EXPECT_EQ(after.copy(0, 0, 96, 1), before.copy(0, 0, 96, 1));
        EXPECT_EQ(after.copy(0, 7, 96, 1), before.copy(0, 7, 96, 1));
        test::ReferenceConversion reference(&profile, nullptr,
                                            transform->converter() == DisplayConverter::Qt
                                                ? test::ReferenceConversion::Precise
                                                : test::ReferenceConversion::EightBit);
        QImage expected = before.copy();
        for (int y = 1; y < 7; ++y) {
            for (int x = 0; x < before.width(); ++x) {
                expected.setPixel(x, y,
                                  qPremultiply(reference(qUnpremultiply(before.pixel(x, y)))));
            }
        }
        EXPECT_LE(test::largestDifference(after.copy(0, 1, 96, 3), expected.copy(0, 1, 96, 3)), 1);
        // Translucent pixels keep fewer straight levels: one more is allowed.
        EXPECT_LE(test::largestDifference(after.copy(0, 4, 96, 3), expected.copy(0, 4, 96, 3)), 2);
        EXPECT_GT(test::largestDifference(after, before), 10);

        // A screenful is converted in bands on several threads: the same.
        QImage large = before.scaled(960, 480);
        QImage rowByRow = large.copy();
        for (int y = 0; y < large.height(); ++y) {
            transform->apply(rowByRow, y, y + 1);
        }
        transform->apply(large, 0, large.height());
        EXPECT_EQ(large, rowByRow);
    }
}

} // namespace
} // namespace velo
