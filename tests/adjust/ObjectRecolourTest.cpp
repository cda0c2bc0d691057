// Ranges, OKLCh moves and the stroke's fit: what recolouring one object
// rests on.
#include "adjust/ColorAdjustment.h"
#include "adjust/ShadeFit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace velo {
namespace {

OKLab fromLCh(double L, double C, double degrees) {
    double h = degrees * 3.14159265358979 / 180;
    return {static_cast<float>(L), static_cast<float>(C * std::cos(h)),
            static_cast<float>(C * std::sin(h))};
}

double hueOf(OKLab c) {
    return std::atan2(static_cast<double>(c.b), static_cast<double>(c.a)) * 180 / 3.14159265358979;
}

ColorRef colourOf(RGBA c) {
    return Color::colorWithCalibratedRed(c.r, c.g, c.b, c.a);
}

ColorAdjustment oklabRow(OKLab source, OKLab target) {
    ColorAdjustment a;
    a.setColorModel(ColorModel::OKLab);
    a.setSourceColor(colourOf(gamutMappedRGB(source)));
    a.setTargetColor(colourOf(gamutMappedRGB(target)));
    return a;
}

TEST(RangeReach, TapersOverEachExtentAndLeavesOutComponentsNotMatched) {
    ColorAdjustment a = oklabRow(fromLCh(0.5, 0.12, 30), fromLCh(0.5, 0.12, 250));
    a.setReach(Reach::range(0.2f, 0.1f, 0.1f));
    OKLab s = a.sourceOKLab();
    auto lighter = [&](float dL) { return OKLab{s.L + dL, s.a, s.b}; };
    EXPECT_EQ(a.reachTaper(s), 1.0f);
    EXPECT_EQ(a.reachTaper(lighter(0.09f)), 1.0f); // within half
    EXPECT_NEAR(a.reachTaper(lighter(0.15f)), 0.5f, 1e-4);
    EXPECT_EQ(a.reachTaper(lighter(0.21f)), 0.0f);
    // Chroma counts over its own, narrower extent.
    float scale = (a.sourceChroma() + 0.075f) / a.sourceChroma();
    EXPECT_NEAR(a.reachTaper({s.L, s.a * scale, s.b * scale}), 0.5f, 1e-3);
    // With lightness off the row reaches every lightness of its hue.
    a.setComponentsMask(kHueBit | kSaturationBit);
    EXPECT_EQ(a.reachTaper({0.02f, s.a, s.b}), 1.0f);
    EXPECT_EQ(a.reachTaper({0.98f, s.a, s.b}), 1.0f);
    EXPECT_EQ(a.reachTaper(fromLCh(0.5, 0.12, 80)), 0.0f);
}

TEST(OKLChMove, KeepsShadingAndTurnsTheHue) {
    ColorAdjustment a = oklabRow(fromLCh(0.5, 0.1, 30), fromLCh(0.6, 0.05, 120));
    OKLab s = a.sourceOKLab(), t = a.targetOKLab();
    OKLab shade = fromLCh(s.L + 0.2, 0.08, hueOf(s) + 10);
    OKLab moved = a.moveOKLab(shade, 1.0f);
    EXPECT_NEAR(moved.L - shade.L, t.L - s.L, 1e-6); // lighter stays lighter by the same L
    EXPECT_NEAR(chromaOf(moved) / chromaOf(shade), chromaOf(t) / a.sourceChroma(), 1e-5);
    EXPECT_NEAR(hueOf(moved) - hueOf(shade), hueOf(t) - hueOf(s), 1e-3);
    OKLab half = a.moveOKLab(shade, 0.5f);
    EXPECT_NEAR(hueOf(half) - hueOf(shade), (hueOf(t) - hueOf(s)) / 2, 1e-3);

    // A grey source has no hue to turn from: a and b move by the difference.
    ColorAdjustment grey = oklabRow({0.5f, 0, 0}, fromLCh(0.5, 0.1, 200));
    OKLab g = grey.moveOKLab({0.3f, 0.01f, 0.0f}, 1.0f);
    EXPECT_NEAR(g.a - 0.01f, grey.targetOKLab().a - grey.sourceOKLab().a, 1e-6);
    EXPECT_NEAR(g.b, grey.targetOKLab().b - grey.sourceOKLab().b, 1e-6);
}

TEST(OKLChMove, ColoursOutsideSRGBComeBackAtEqualLightnessAndHue) {
    for (double hue : {30.0, 140.0, 260.0}) {
        OKLab wanted = fromLCh(0.7, 0.35, hue);
        RGBA rgb = gamutMappedRGB(wanted);
        for (float v : {rgb.r, rgb.g, rgb.b}) {
            EXPECT_GE(v, 0.0f);
            EXPECT_LE(v, 1.0f);
        }
        OKLab back = rgbaToOKLab(rgb);
        EXPECT_NEAR(back.L, wanted.L, 2e-3) << hue;
        EXPECT_NEAR(hueOf(back), hueOf(wanted), 0.5) << hue;
        EXPECT_LT(chromaOf(back), 0.35f);
    }
    // A colour inside comes back as itself.
    RGBA inside = gamutMappedRGB(rgbaToOKLab({0.25f, 0.5f, 0.75f, 1}));
    EXPECT_NEAR(inside.r, 0.25f, 1e-5);
    EXPECT_NEAR(inside.b, 0.75f, 1e-5);
}

// A shaded object: lightness 0.3 to 0.8, chroma 0.1 to 0.14, hue 25 to 35.
std::vector<RGBA> objectShades() {
    std::vector<RGBA> shades;
    for (int i = 0; i < 400; ++i) {
        shades.push_back(gamutMappedRGB(
            fromLCh(0.3 + 0.5 * (i % 20) / 19.0, 0.1 + 0.04 * (i % 7) / 6.0, 25 + (i % 11))));
    }
    return shades;
}

float taperOf(const ColorAdjustment& row, RGBA c) {
    return row.reachTaper(rgbaToOKLab(c));
}

ColorAdjustment rowOf(const ShadeFit& fit) {
    ColorAdjustment row;
    row.setColorModel(ColorModel::OKLab);
    row.setSourceColor(colourOf(fit.source));
    row.setReach(fit.reach);
    return row;
}

TEST(ShadeFit, TakesEveryShadeOfTheObjectAndNoNeighbour) {
    std::vector<RGBA> shades = objectShades();
    ColorAdjustment row = rowOf(*fitShades(shades));
    int full = 0;
    for (const RGBA& shade : shades) {
        EXPECT_GT(taperOf(row, shade), 0.0f);
        full += taperOf(row, shade) == 1.0f;
    }
    EXPECT_GE(full, 392); // 98 %
    // A pink neighbour (hue 350) and a purple one (hue 320) stay out.
    for (double hue : {350.0, 320.0}) {
        for (double L : {0.4, 0.6, 0.75}) {
            EXPECT_EQ(taperOf(row, gamutMappedRGB(fromLCh(L, 0.12, hue))), 0.0f) << hue;
        }
    }
    // A few stray pixels do not widen it.
    std::vector<RGBA> strayed = shades;
    for (int i = 0; i < 4; ++i) {
        strayed.push_back(gamutMappedRGB(fromLCh(0.5, 0.12, 250)));
    }
    ColorAdjustment strayRow = rowOf(*fitShades(strayed));
    EXPECT_EQ(taperOf(strayRow, gamutMappedRGB(fromLCh(0.5, 0.12, 250))), 0.0f);
    EXPECT_FALSE(fitShades({}));
}

TEST(ShadeFit, WideningGrowsOnlyWhatTheNewShadesNeed) {
    std::vector<RGBA> shades = objectShades();
    ShadeFit fit = *fitShades(shades);
    OKLab source = rgbaToOKLab(fit.source);
    EXPECT_EQ(widenedToTake(source, fit.reach, shades), fit.reach);
    std::vector<RGBA> paler;
    for (int i = 0; i < 50; ++i) {
        paler.push_back(gamutMappedRGB(fromLCh(0.85, chromaOf(source), hueOf(source))));
    }
    Reach wider = widenedToTake(source, fit.reach, paler);
    EXPECT_GT(wider.lightness, fit.reach.lightness);
    ColorAdjustment row = rowOf({fit.source, wider});
    EXPECT_EQ(taperOf(row, paler.front()), 1.0f);
}

} // namespace
} // namespace velo
