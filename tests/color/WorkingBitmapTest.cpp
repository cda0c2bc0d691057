#include "color/WorkingBitmap.h"
#include "imageio/ImageCodec.h"
#include "support/Corpus.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace velo {
namespace {

ImageRep bitmapRep(int wide, int high, int samples, bool alpha) {
    return ImageRep::fromBitmap(
        std::make_shared<Bitmap>(wide, high, samples, alpha, false, kDeviceRGBColorSpace));
}

ImageRep deepRep(int wide, int high) {
    ImageRep rep;
    rep.pixelsWide = wide;
    rep.pixelsHigh = high;
    rep.bitsPerSample = 16;
    rep.samplesPerPixel = 3;
    return rep;
}

// An image whose renderer records the sizes it was asked for.
struct RecordingImage {
    Image image;
    std::vector<std::pair<int, int>> renders;

    explicit RecordingImage(Size size) {
        image.size = size;
        image.renderer = [this](int w, int h) {
            renders.emplace_back(w, h);
            return std::make_shared<Bitmap>(w, h, 3, false, false, kDeviceRGBColorSpace);
        };
    }
};

TEST(WorkingBitmap, PicksTheWidestThenTallestAcceptableRepresentation) {
    Image image;
    image.representations = {bitmapRep(100, 50, 3, false), bitmapRep(80, 60, 3, false)};
    EXPECT_EQ(bitmap(image), image.representations[1].bitmap);

    image.representations = {bitmapRep(40, 40, 4, true), bitmapRep(40, 40, 3, false)};
    EXPECT_EQ(bitmap(image), image.representations[0].bitmap);

    image.representations = {bitmapRep(10, 10, 1, false), bitmapRep(20, 5, 2, true)};
    EXPECT_EQ(bitmap(image), image.representations[1].bitmap);
}

TEST(WorkingBitmap, UnusableRepresentationsFallBackToRendering) {
    RecordingImage deep(Size{30, 20});
    deep.image.representations = {deepRep(60, 40)};
    auto rendered = bitmap(deep.image);
    ASSERT_TRUE(rendered);
    EXPECT_EQ(rendered->samplesPerPixel(), 3);
    // A pixel image keeps its resolution when drawn.
    EXPECT_EQ(deep.renders, (std::vector<std::pair<int, int>>{{60, 40}}));

    RecordingImage cmyk(Size{8, 6});
    cmyk.image.representations = {bitmapRep(8, 6, 4, false)};
    ASSERT_TRUE(bitmap(cmyk.image));
    EXPECT_EQ(cmyk.renders, (std::vector<std::pair<int, int>>{{8, 6}}));

    RecordingImage drawing(Size{12.4, 7.6});
    ImageRep vector;
    vector.isBitmap = false;
    drawing.image.representations = {vector};
    ASSERT_TRUE(bitmap(drawing.image));
    EXPECT_EQ(drawing.renders, (std::vector<std::pair<int, int>>{{12, 8}}));

    EXPECT_FALSE(bitmap(Image{}));
}

TEST(WorkingBitmap, AlphaAdjustedCopyAddsOrDropsTheAlphaSample) {
    Bitmap rgb(4, 3, 3, false, false, kDeviceRGBColorSpace);
    rgb.plane(0)[5] = 77;
    auto withAlpha = alphaAdjustedCopy(rgb, true);
    EXPECT_EQ(withAlpha->samplesPerPixel(), 4);
    EXPECT_TRUE(withAlpha->hasAlpha());
    EXPECT_FALSE(withAlpha->isPlanar());
    EXPECT_FALSE(withAlpha->isOpaque());
    EXPECT_EQ(withAlpha->pixelsWide(), 4);
    EXPECT_EQ(withAlpha->pixelsHigh(), 3);

    auto same = alphaAdjustedCopy(rgb, false);
    EXPECT_EQ(same->samplesPerPixel(), 3);
    EXPECT_TRUE(same->isOpaque());
    EXPECT_EQ(same->plane(0)[5], 77);
    EXPECT_NE(same->plane(0), rgb.plane(0));

    auto withoutAlpha = alphaAdjustedCopy(*withAlpha, false);
    EXPECT_EQ(withoutAlpha->samplesPerPixel(), 3);
    EXPECT_FALSE(withoutAlpha->hasAlpha());
    EXPECT_TRUE(withoutAlpha->isOpaque());

    Bitmap grey(2, 2, 1, false, false, kCalibratedWhiteColorSpace);
    EXPECT_EQ(alphaAdjustedCopy(grey, true)->samplesPerPixel(), 2);
}

struct CorpusCase {
    const char* file;
    int wide, high, samples, bits;
    std::size_t representations;
};

TEST(WorkingBitmap, EverySampleImageOpensWithTheExpectedLayout) {
    VELO_REQUIRE_CORPUS();
    const CorpusCase cases[] = {
        {"bmp_24bit_oddwidth_mate_GreenMeadow.bmp", 641, 513, 3, 8, 1},
        {"gif_transparent_tk_pwrdLogo200.gif", 130, 200, 4, 8, 1},
        {"jpeg_12mp_progressive_sunset_by_Aitzol_Berasategi.jpg", 4272, 2848, 3, 8, 1},
        {"png_16bit_rgb_imagemagick_ImageMagick.png", 489, 505, 3, 16, 1},
        {"png_grey_skimage_coins.png", 384, 303, 1, 8, 1},
        {"png_greyalpha_mate_Stripes.png", 1920, 1200, 2, 8, 1},
        {"png_palette_trns_desktop-base_moonlight_glow.png", 504, 502, 4, 8, 1},
        {"png_rgb_iccp_skimage_chelsea.png", 451, 300, 3, 8, 1},
        {"png_rgba_photo_stellarium_garching-gl1.png", 1024, 512, 4, 8, 1},
        {"tiff_grey8_multipage2_lzw_libtiff-doc_jim_cramps.tif", 159, 203, 1, 8, 2},
        {"tiff_rgb16_planar_separate_deflate_IMG_20200608_111614.tif", 640, 480, 3, 16, 1},
        {"tiff_rgb8_lzw_pred2_contig_plasma_Kite.tif", 800, 500, 3, 8, 1},
        {"webp_lossy_gnome_wood-d.webp", 4096, 4096, 3, 8, 1},
    };
    for (const CorpusCase& c : cases) {
        SCOPED_TRACE(c.file);
        DecodedImage decoded = readImageFile(test::corpusDir() / c.file);
        ASSERT_TRUE(decoded.image) << decoded.error;
        EXPECT_EQ(decoded.image->representations.size(), c.representations);
        auto working = bitmap(*decoded.image);
        ASSERT_TRUE(working);
        EXPECT_EQ(working->pixelsWide(), c.wide);
        EXPECT_EQ(working->pixelsHigh(), c.high);
        EXPECT_EQ(working->samplesPerPixel(), c.samples);
        EXPECT_EQ(working->bitsPerSample(), c.bits);
        EXPECT_EQ(working->hasAlpha(), c.samples == 2 || c.samples == 4);
        // Every sample, deep ones too, is worked on as the file's own pixels.
        EXPECT_TRUE(std::ranges::any_of(decoded.image->representations, [&](const ImageRep& rep) {
            return rep.bitmap == working;
        }));
    }
}

} // namespace
} // namespace velo
