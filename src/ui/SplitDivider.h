#pragma once

// The split view's divider: left of it the view shows the original, right of
// it what it otherwise shows, both at the same place and zoom (a wipe). Its
// place is a fraction of the drawn image's width, so that it stays on the same
// image column through zooms and resizes. Free of any widget; coordinates are
// the view's, origin at the top left, y down.
namespace velo {

// Where the divider starts: the middle of the image.
inline constexpr float kDividerStart = 0.5f;
// How near the line, in screen pixels either side, a press takes hold of it.
inline constexpr float kDividerGrabDistance = 6.0f;

// The rectangle the image is drawn in.
struct DrawnArea {
    float left = 0, top = 0, width = 0, height = 0;
};

// The divider's fraction for the pointer at x, kept within the image.
float dividerFractionAt(float x, const DrawnArea& drawn);

// The x where the original gives way, for the share of the drawn width that
// shows it: on a whole pixel, so that every screen pixel shows one image or
// the other, and at the image's very edges for none and all of it.
float wipeX(float originalShare, const DrawnArea& drawn);

// Whether a press at (x, y) takes hold of the divider at this fraction: near
// the line, along the image's height.
bool grabsDivider(float x, float y, float fraction, const DrawnArea& drawn);

// The share of the drawn width, from the left, that shows the original: all
// of it while its key is held, up to the divider with the split on, else none.
float originalShare(bool splitOn, float fraction, bool originalHeld);

} // namespace velo
