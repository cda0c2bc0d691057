#include "app/ColorSpecs.h"
#include "support/Bits.h"

#include <gtest/gtest.h>

namespace velo {
namespace {

RGBA rgbaOf(const ColorRef& color) {
    return calibratedRGBA(color);
}

TEST(ColorSpecs, HexBytesBecomeExactFractions) {
    ParsedColor orange = parseColor("#ff8000");
    ASSERT_TRUE(orange.color);
    EXPECT_EQ(orange.color->colorSpaceName(), kCalibratedRGBColorSpace);
    EXPECT_SAME_RGBA(rgbaOf(orange.color), 1, 128 / 255.0, 0, 1);
    EXPECT_SAME_RGBA(rgbaOf(parseColor("#0000FF80").color), 0, 0, 1, 128 / 255.0);
    for (const char* bad : {"#ff80", "#ff80000", "#gg0000", "#", ""}) {
        ParsedColor result = parseColor(bad);
        EXPECT_FALSE(result.color) << bad;
        EXPECT_FALSE(result.error.empty());
    }
}

TEST(ColorSpecs, DecimalComponentsParseAsFloats) {
    EXPECT_SAME_RGBA(rgbaOf(parseColor("0.1,0.2,0.3").color), 0.1f, 0.2f, 0.3f, 1);
    EXPECT_SAME_RGBA(rgbaOf(parseColor("1,0,0.5,0.25").color), 1, 0, 0.5f, 0.25f);
    for (const char* bad :
         {"1,2", "1,2,3,4,5", "1,,2", "a,b,c", "nan,0,0", "1e99,0,0", "0.5,0.5,"}) {
        EXPECT_FALSE(parseColor(bad).color) << bad;
    }
}

TEST(ColorSpecs, MapsCarryModelComponentsAndColours) {
    ParsedMap plain = parseMap("#ff0000>#0000ff");
    ASSERT_TRUE(plain.adjustment) << plain.error;
    EXPECT_FALSE(plain.adjustment->usesHSB());
    EXPECT_EQ(plain.adjustment->componentsMask(), 15);
    EXPECT_SAME_RGBA(plain.adjustment->targetRGBA(), 0, 0, 1, 1);

    ParsedMap hsb = parseMap("hsb/hsa:#00ff00>#ffff00");
    ASSERT_TRUE(hsb.adjustment) << hsb.error;
    EXPECT_TRUE(hsb.adjustment->usesHSB());
    EXPECT_EQ(hsb.adjustment->componentsMask(), 11);
    EXPECT_SAME_RGBA(hsb.adjustment->sourceRGBA(), 0, 1, 0, 1);

    ParsedMap decimal = parseMap("rgb:0.5,0.5,0.5>0.6,0.5,0.5,1");
    ASSERT_TRUE(decimal.adjustment) << decimal.error;
    EXPECT_SAME_RGBA(decimal.adjustment->targetRGBA(), 0.6f, 0.5f, 0.5f, 1);

    for (const char* bad :
         {"#ff0000", "#ff0000>#00ff00>#0000ff", "lab:#ff0000>#00ff00", "hsb/x:#ff0000>#00ff00",
          "hsb/:#ff0000>#00ff00", ">#ff0000", "#ff0000>"}) {
        ParsedMap result = parseMap(bad);
        EXPECT_FALSE(result.adjustment) << bad;
        EXPECT_FALSE(result.error.empty());
    }
}

TEST(ColorSpecs, MapsCarryOKLabComponentsAndAReach) {
    ParsedMap map = parseMap("oklab:#30a050>#a03090@0.12");
    ASSERT_TRUE(map.adjustment) << map.error;
    EXPECT_EQ(map.adjustment->colorModel(), ColorModel::OKLab);
    EXPECT_EQ(map.adjustment->componentsMask(), 15);
    EXPECT_EQ(map.adjustment->reach(), std::optional<Reach>(Reach::ball(0.12f)));
    EXPECT_SAME_RGBA(map.adjustment->targetRGBA(), 0xa0 / 255.0, 0x30 / 255.0, 0x90 / 255.0, 1);

    // Lightness and chroma take the bits brightness and saturation have in HSB.
    EXPECT_EQ(parseMap("oklab/lc:#000000>#ffffff").adjustment->componentsMask(),
              kBrightnessBit | kSaturationBit);
    EXPECT_EQ(parseMap("oklab/ha:#000000>#ffffff").adjustment->componentsMask(),
              kHueBit | kAlphaBit);
    EXPECT_EQ(parseMap("#000000>#ffffff@5").adjustment->reach(),
              std::optional<Reach>(Reach::ball(kLargestReach)));
    EXPECT_FALSE(parseMap("#000000>#ffffff").adjustment->reach());

    for (const char* bad : {"oklab/s:#000000>#ffffff", "hsb/l:#000000>#ffffff", "#000000>#ffffff@",
                            "#000000>#ffffff@0", "#000000>#ffffff@-1", "#000000>#ffffff@nan",
                            "#000000>#ffffff@inf", "#000000>#ffffff@x"}) {
        ParsedMap result = parseMap(bad);
        EXPECT_FALSE(result.adjustment) << bad;
        EXPECT_FALSE(result.error.empty());
    }
}

TEST(ColorSpecs, RangeReachesAndPickMaps) {
    const std::optional<Reach> range = Reach::range(0.3f, 0.08f, 0.12f);
    EXPECT_EQ(parseMap("oklab:#30a050>#a03090@L0.3,C0.08,H0.12").adjustment->reach(), range);
    EXPECT_EQ(parseMap("#30a050>#a03090@h0.12,l0.3,c0.08").adjustment->reach(), range);
    EXPECT_EQ(parseMap("#30a050>#a03090@L5,C1e-9,H1").adjustment->reach(),
              std::optional<Reach>(Reach::range(kLargestReach, kSmallestReach, 1)));

    ParsedMap map = parseMap("pick:3,4;120,0>#2060e0@L0.3,C0.08,H0.12");
    ASSERT_TRUE(map.pick && !map.adjustment) << map.error;
    const std::vector<PixelIndex>& points = map.pick->points;
    ASSERT_EQ(points.size(), 2u);
    EXPECT_TRUE(points[0].x == 3 && points[0].y == 4 && points[1].x == 120 && points[1].y == 0);
    EXPECT_EQ(map.pick->reach, range);
    EXPECT_FALSE(parseMap("pick:3,4>0.1,0.2,0.3").pick->reach);

    for (const char* bad :
         {"#000000>#ffffff@L0.3,C0.08", "#000000>#ffffff@L0.3,L0.08,H0.12",
          "#000000>#ffffff@L0,C0.08,H0.12", "#000000>#ffffff@L0.3;C0.08;H0.12",
          "#000000>#ffffff@0.3,0.08,0.12", "pick:3,4>#ff0000@L0.3", "pick:3>#ff0000",
          "pick:-3,4>#ff0000", "pick:3,4;>#ff0000", "pick:3.5,4>#ff0000", "pick:3,4",
          "pick:3,4>#gg0000", "pick/lc:3,4>#ff0000", "pick:99999999999,4>#ff0000"}) {
        ParsedMap result = parseMap(bad);
        EXPECT_FALSE(result.adjustment || result.pick) << bad;
        EXPECT_FALSE(result.error.empty()) << bad;
    }
    EXPECT_NE(parseMap("pick:3,4>#ff0000@L0.3").error.find("such as L0.3,C0.08,H0.12"),
              std::string::npos);
}

} // namespace
} // namespace velo
