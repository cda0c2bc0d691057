#include "bench/BenchImages.h"

#include <cmath>
#include <random>

namespace velo::bench {

namespace {

std::shared_ptr<Bitmap> gradientImage(int wide, int high, bool alpha) {
    int samples = alpha ? 4 : 3;
    auto bitmap = std::make_shared<Bitmap>(wide, high, samples, alpha, false, kDeviceRGBColorSpace);
    std::mt19937 random(1);
    for (int y = 0; y < high; ++y) {
        std::uint8_t* row = bitmap->plane(0) + static_cast<std::size_t>(y) * bitmap->bytesPerRow();
        for (int x = 0; x < wide; ++x) {
            double u = static_cast<double>(x) / wide, v = static_cast<double>(y) / high;
            int grain = static_cast<int>(random() % 9) - 4;
            int channel[4] = {static_cast<int>(255 * (0.5 + 0.5 * std::sin(6 * u + 2 * v))) + grain,
                              static_cast<int>(255 * v * (1 - u)) + grain,
                              static_cast<int>(255 * (0.5 + 0.4 * std::cos(9 * v))) + grain,
                              static_cast<int>(255 * (0.5 + 0.5 * std::sin(3 * u * v * 10)))};
            std::uint8_t* p = row + static_cast<std::size_t>(x) * samples;
            int a = alpha ? std::clamp(channel[3], 0, 255) : 255;
            for (int k = 0; k < 3; ++k) {
                int c = std::clamp(channel[k], 0, 255);
                p[k] = static_cast<std::uint8_t>(alpha ? c * a / 255 : c);
            }
            if (alpha) {
                p[3] = static_cast<std::uint8_t>(a);
            }
        }
    }
    return bitmap;
}

ColorAdjustment rgb(ColorRef from, ColorRef to, bool hsb = false) {
    ColorAdjustment a;
    a.setSourceColor(std::move(from));
    a.setTargetColor(std::move(to));
    a.setUsesHSB(hsb);
    return a;
}

ColorRef rgbColor(float r, float g, float b) {
    return Color::colorWithCalibratedRed(r, g, b, 1);
}

} // namespace

std::shared_ptr<Bitmap> transparentImage() {
    return gradientImage(4096, 4096, true);
}

std::shared_ptr<Bitmap> photoImage() {
    return photoLikeImage(5472, 3648);
}

std::shared_ptr<Bitmap> photoLikeImage(int wide, int high) {
    return gradientImage(wide, high, false);
}

std::vector<ColorAdjustment> adjustmentSet(char name) {
    std::vector<ColorAdjustment> set = {
        rgb(rgbColor(0.8f, 0.4f, 0.2f), rgbColor(0.2f, 0.4f, 0.8f)),
        rgb(rgbColor(0.1f, 0.1f, 0.1f), rgbColor(0.15f, 0.1f, 0.05f)),
        rgb(rgbColor(0.9f, 0.9f, 0.9f), rgbColor(1.0f, 0.95f, 0.9f)),
        rgb(rgbColor(0.3f, 0.6f, 0.3f), rgbColor(0.5f, 0.7f, 0.2f)),
        rgb(rgbColor(0.5f, 0.5f, 0.9f), rgbColor(0.4f, 0.3f, 0.9f)),
    };
    if (name == 'b') {
        set[3].setUsesHSB(true);
        set[4].setUsesHSB(true);
    } else if (name == 'c') {
        set.resize(1);
    } else if (name == 'r') {
        for (ColorAdjustment& a : set) {
            a.setReach(Reach::ball(0.15f));
        }
    } else if (name == 'o') {
        for (ColorAdjustment& a : set) {
            a.setColorModel(ColorModel::OKLab);
        }
    }
    return set;
}

std::vector<std::shared_ptr<ColorAdjustment>> sharedAdjustmentSet(char name) {
    std::vector<std::shared_ptr<ColorAdjustment>> shared;
    for (const ColorAdjustment& a : adjustmentSet(name)) {
        shared.push_back(a.copy());
    }
    return shared;
}

} // namespace velo::bench
