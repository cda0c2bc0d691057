#include "engine/RandomCases.h"

#include "color/PixelAccess.h"
#include "platform/ColorSpaces.h"

namespace velo::test {

namespace {

// Alpha bytes favour the edges, where the arithmetic branches.
std::uint8_t randomByte(std::mt19937& random, bool isAlpha) {
    if (isAlpha) {
        switch (random() % 5) {
        case 0:
            return 0;
        case 1:
            return 255;
        case 2:
            return static_cast<std::uint8_t>(1 + random() % 3);
        default:
            break;
        }
    }
    return static_cast<std::uint8_t>(random());
}

ColorRef randomColour(std::mt19937& random) {
    std::uniform_real_distribution<float> unit(-0.1f, 1.1f);
    switch (random() % 6) {
    case 0:
        return nullptr;
    case 1:
        return Color::colorWithCalibratedWhite(unit(random), unit(random));
    case 2: // exactly a byte value, so that pixels meet it
        return Color::colorWithCalibratedRed(byteToFloat(random() % 256),
                                             byteToFloat(random() % 256),
                                             byteToFloat(random() % 256), 1);
    case 3: // exactly a 16-bit value
        return Color::colorWithCalibratedRed(sample16ToFloat(random() % 65536),
                                             sample16ToFloat(random() % 65536),
                                             sample16ToFloat(random() % 65536), 1);
    default:
        return Color::colorWithCalibratedRed(unit(random), unit(random), unit(random),
                                             random() % 2 ? 1.0f : unit(random));
    }
}

} // namespace

std::shared_ptr<Bitmap> randomBitmap(std::mt19937& random, int wide, int high, int samples) {
    bool alpha = samples == 2 || samples == 4;
    auto bitmap = std::make_shared<Bitmap>(wide, high, samples, alpha, false, kDeviceRGBColorSpace);
    for (int y = 0; y < high; ++y) {
        std::uint8_t* row = bitmap->plane(0) + static_cast<std::size_t>(y) * bitmap->bytesPerRow();
        for (int x = 0; x < wide * samples; ++x) {
            // Colour samples may exceed their alpha: such pixels land out of range.
            row[x] = randomByte(random, alpha && x % samples == samples - 1);
        }
    }
    return bitmap;
}

// 16-bit samples, alpha favouring the edges as above.
std::shared_ptr<Bitmap> randomDeepBitmap(std::mt19937& random, int wide, int high, int samples) {
    bool alpha = samples == 2 || samples == 4;
    auto bitmap =
        std::make_shared<Bitmap>(wide, high, samples, alpha, false, kDeviceRGBColorSpace, 0, 0, 16);
    for (int y = 0; y < high; ++y) {
        std::uint16_t* row = bitmap->samples16(0, y);
        for (int x = 0; x < wide * samples; ++x) {
            bool isAlpha = alpha && x % samples == samples - 1;
            std::uint8_t edge = randomByte(random, isAlpha);
            row[x] = isAlpha && (edge <= 3 || edge == 255) ? static_cast<std::uint16_t>(edge * 257u)
                                                           : static_cast<std::uint16_t>(random());
        }
    }
    return bitmap;
}

std::vector<ColorAdjustment> randomAdjustments(std::mt19937& random, int count) {
    std::vector<ColorAdjustment> list(count);
    for (ColorAdjustment& a : list) {
        if (random() % 8 != 0) {
            a.setSourceColor(randomColour(random));
            a.setTargetColor(randomColour(random));
        }
        a.setColorModel(static_cast<ColorModel>(random() % 3));
        a.setComponentsMask(static_cast<int>(random() % 20));
        std::uniform_real_distribution<float> extent(0.0f, 1.2f);
        switch (random() % 4) {
        case 0:
            a.setReach(Reach::ball(extent(random)));
            break;
        case 1: {
            // A range, each extent drawn on its own (in this order).
            float lightness = extent(random);
            float chroma = extent(random) * 0.3f;
            a.setReach(Reach::range(lightness, chroma, extent(random) * 0.3f));
            break;
        }
        default:
            break;
        }
    }
    return list;
}

std::vector<std::uint8_t> bytesOf(const Bitmap& b) {
    return {b.plane(0), b.plane(0) + b.bytesPerPlane()};
}

} // namespace velo::test
