#include "ui/ZoomRules.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace velo {

namespace {

constexpr std::array<int, 8> kStandardZooms{25, 50, 75, 100, 150, 200, 400, 800};

// The title's leading integer, as the zoom menu's ordering reads it.
int intValue(const std::string& title) {
    return std::atoi(title.c_str());
}

bool usable(float zoom) {
    return zoom > 0.0f && zoom <= 100000.0f;
}

} // namespace

const std::vector<std::string>& standardZoomTitles() {
    static const std::vector<std::string> titles = [] {
        std::vector<std::string> t;
        for (int zoom : kStandardZooms) {
            t.push_back(std::to_string(zoom) + "%");
        }
        return t;
    }();
    return titles;
}

int compareZoomTitles(const std::string& title1, const std::string& title2) {
    float a = static_cast<float>(intValue(title1));
    float b = static_cast<float>(intValue(title2));
    return a < b ? -1 : (a > b ? 1 : 0);
}

std::string zoomTitle(float zoom) {
    char text[64];
    std::snprintf(text, sizeof text, "%.0f%%", static_cast<double>(zoom * 100.0f));
    return text;
}

ZoomMenu zoomMenuFor(float viewWidth, float imageWidthInPixels) {
    ZoomMenu menu;
    menu.selected = zoomTitle(viewWidth / imageWidthInPixels);
    menu.titles = standardZoomTitles();
    menu.titles.push_back(menu.selected);
    std::stable_sort(menu.titles.begin(), menu.titles.end(),
                     [](const auto& a, const auto& b) { return compareZoomTitles(a, b) < 0; });
    // A title added again replaces the earlier item of that title.
    auto last = std::unique(menu.titles.begin(), menu.titles.end());
    menu.titles.erase(last, menu.titles.end());
    return menu;
}

std::optional<float> zoomFromTag(int tag) {
    float zoom = static_cast<float>(tag / 100.0);
    return usable(zoom) ? std::optional(zoom) : std::nullopt;
}

std::optional<float> zoomFromTitle(const std::string& title) {
    float zoom = std::strtof(title.c_str(), nullptr) / 100.0f;
    return usable(zoom) ? std::optional(zoom) : std::nullopt;
}

ContentSize contentSizeForZoom(float zoom, double imageWidth, double imageHeight) {
    return {zoom * static_cast<float>(imageWidth), zoom * static_cast<float>(imageHeight)};
}

std::optional<int> nextZoomUp(float zoom) {
    for (int z : kStandardZooms) {
        // Within half a percent counts as being at that zoom already.
        if (static_cast<float>(z) > zoom * 100.0f + 0.5f) {
            return z;
        }
    }
    return std::nullopt;
}

std::optional<int> nextZoomDown(float zoom) {
    for (auto it = kStandardZooms.rbegin(); it != kStandardZooms.rend(); ++it) {
        if (static_cast<float>(*it) < zoom * 100.0f - 0.5f) {
            return *it;
        }
    }
    return std::nullopt;
}

} // namespace velo
