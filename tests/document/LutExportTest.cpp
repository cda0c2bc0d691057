// The lookup tables a document's recolouring is exported as.
#include "document/LutExport.h"

#include "color/PixelAccess.h"
#include "engine/FastPass.h"
#include "engine/PixelMover.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <sstream>

namespace velo {
namespace {

// A .cube file read as other programs read it: its size and its entries,
// the header checked.
std::vector<RGBA> readCube(std::span<const ColorAdjustment> adjustments, int size) {
    std::ostringstream text;
    writeCube(text, adjustments, size, "a \"look\"");
    std::istringstream lines(text.str());
    std::string line, header;
    for (int i = 0; i < 4 && std::getline(lines, line); ++i) {
        header += line + "\n";
    }
    EXPECT_EQ(header, "TITLE \"a 'look'\"\nLUT_3D_SIZE " + std::to_string(size) +
                          "\nDOMAIN_MIN 0 0 0\nDOMAIN_MAX 1 1 1\n");
    std::vector<RGBA> entries;
    while (std::getline(lines, line)) {
        char* at = line.data();
        RGBA c{};
        for (float* component : {&c.r, &c.g, &c.b}) {
            *component = std::strtof(at, &at);
            EXPECT_TRUE(*component >= 0 && *component <= 1) << line;
        }
        entries.push_back(c);
    }
    EXPECT_EQ(entries.size(), static_cast<std::size_t>(size * size * size));
    return entries;
}

// The grid colour of entry n, red varying fastest.
RGBA gridColour(std::size_t n, int size) {
    auto value = [&](std::size_t i) {
        return static_cast<float>(i % size) / static_cast<float>(size - 1);
    };
    return {value(n), value(n / size), value(n / size / size), 1.0f};
}

ColorAdjustment adjustment(RGBA source, RGBA target, bool hsb = false, int mask = kAllComponents) {
    ColorAdjustment a;
    a.setSourceColor(Color::colorWithCalibratedRed(source.r, source.g, source.b, source.a));
    a.setTargetColor(Color::colorWithCalibratedRed(target.r, target.g, target.b, target.a));
    a.setUsesHSB(hsb);
    a.setComponentsMask(mask);
    return a;
}

// RGB and HSB together, with a target past the ends of the range.
const std::vector<ColorAdjustment> kLook = {
    adjustment({1, 0.5f, 0, 1}, {0, 0, 1, 1}),
    adjustment({0.1f, 0.2f, 0.9f, 1}, {1.1f, -0.1f, 0.5f, 1}),
    adjustment({0.2f, 0.6f, 0.4f, 1}, {1, 1, 0, 1}, true, kHueBit | kSaturationBit)};

bool operator==(RGBA a, RGBA b) {
    return a.r == b.r && a.g == b.g && a.b == b.b;
}

std::vector<std::uint8_t> pixelsOf(const Bitmap& b) {
    return {b.plane(0), b.plane(0) + b.bytesPerPlane()};
}

TEST(LutExport, NoAdjustmentsGiveTheIdentityInBothFormats) {
    std::vector<RGBA> cube = readCube({}, 5);
    for (std::size_t n = 0; n < cube.size(); ++n) {
        EXPECT_TRUE(cube[n] == gridColour(n, 5)) << n;
    }
    for (int level : {2, 3, 8}) {
        EXPECT_EQ(pixelsOf(recolouredHald({}, level)), pixelsOf(identityHald(level)));
    }
}

// As ImageMagick's hald:L at 8 bits: pixel n is (n mod L², n / L² mod L²,
// n / L⁴) in steps of 255 / (L² - 1), rounded.
TEST(LutExport, TheIdentityHaldIsTheCommonOne) {
    for (int level : {2, 3, 8, 16}) {
        Bitmap hald = identityHald(level);
        long steps = level * level;
        ASSERT_EQ(hald.pixelsWide(), steps * level);
        ASSERT_EQ(hald.pixelsHigh(), steps * level);
        auto step = [&](long k) { return std::lround(255.0 * k / (steps - 1)); };
        const std::uint8_t* p = hald.plane(0);
        for (long n = 0; n < steps * steps * steps; ++n, p += 3) {
            ASSERT_EQ(p[0], step(n % steps)) << level << " " << n;
            ASSERT_EQ(p[1], step(n / steps % steps)) << level << " " << n;
            ASSERT_EQ(p[2], step(n / steps / steps)) << level << " " << n;
        }
    }
}

// Each entry is the pass's float for its grid colour. At 52 points a side
// the grid colours are the bytes 5i: there the entries, turned into bytes as
// the pass turns its results, are what the pass writes.
TEST(LutExport, CubeEntriesAreThePassOfTheirGridColours) {
    std::vector<RGBA> cube = readCube(kLook, 33);
    PixelMover mover(kLook);
    std::size_t clamped = 0;
    for (std::size_t n = 0; n < cube.size(); ++n) {
        ASSERT_TRUE(cube[n] == mover.move(gridColour(n, 33))) << n;
        clamped += cube[n].r == 0 || cube[n].r == 1 || cube[n].g == 0 || cube[n].g == 1;
    }
    EXPECT_GT(clamped, 0u) << "the look should reach the ends of the range";

    cube = readCube(kLook, 52);
    Bitmap grid(52 * 52, 52, 3, false, false, kDeviceRGBColorSpace);
    std::uint8_t* byte = grid.plane(0);
    for (std::size_t n = 0; n < cube.size(); ++n) {
        RGBA c = gridColour(n, 52);
        for (float v : {c.r, c.g, c.b}) {
            *byte++ = static_cast<std::uint8_t>(std::lround(v * 255));
        }
    }
    Bitmap passed(52 * 52, 52, 3, false, false, kDeviceRGBColorSpace);
    calcRangeFast({0, 52}, &grid, &passed, kLook);
    const std::uint8_t* p = passed.plane(0);
    for (std::size_t n = 0; n < cube.size(); ++n, p += 3) {
        ASSERT_EQ(floatToByte(cube[n].r), p[0]) << n;
        ASSERT_EQ(floatToByte(cube[n].g), p[1]) << n;
        ASSERT_EQ(floatToByte(cube[n].b), p[2]) << n;
    }
}

} // namespace
} // namespace velo
