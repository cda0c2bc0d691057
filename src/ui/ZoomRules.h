#pragma once

#include <optional>
#include <string>
#include <vector>

namespace velo {

// The zoom is read back from the window each time: content width over the
// image's width in pixels. These are its rules, free of any widget.

// The standard zooms, in menu order: "25%" ... "800%".
const std::vector<std::string>& standardZoomTitles();

// Orders zoom titles by their leading integer: -1, 0 or 1.
int compareZoomTitles(const std::string& title1, const std::string& title2);

// The title of a zoom factor ("83%" for 0.8325).
std::string zoomTitle(float zoom);

// The zoom menu after a resize: the standard titles and the current one,
// ascending, each title once; the current one is the one to select.
struct ZoomMenu {
    std::vector<std::string> titles;
    std::string selected;
};
ZoomMenu zoomMenuFor(float viewWidth, float imageWidthInPixels);

// A zoom factor from a menu item's tag (its percentage) or from a title read
// as a number ("150%" gives 1.5); none when it is unusable (not above 0, above
// 100000, not a number).
std::optional<float> zoomFromTag(int tag);
std::optional<float> zoomFromTitle(const std::string& title);

// The content size for a zoom of an image of the given size in pixels.
struct ContentSize {
    float width = 0, height = 0;
};
ContentSize contentSizeForZoom(float zoom, double imageWidth, double imageHeight);

// The next standard zoom above or below the current one, if any.
std::optional<int> nextZoomUp(float zoom);
std::optional<int> nextZoomDown(float zoom);

} // namespace velo
