#pragma once

#include "platform/Geometry.h"

namespace velo {

// The window's size follows the image's proportions: the height governs and
// the width follows. "Frame" is the whole top-level window (menus, toolbar
// and drawer included), "content" the image view inside it; their difference
// is the window's chrome.
struct ResizeState {
    bool hasDestination = false;
    bool isDocumentWindow = true;
    float ratio = 1; // pixels wide over pixels high of the result
    bool toolbarVisible = false;
    Size currentFrame;   // before the resize
    Size currentContent; // before the resize
    Size chrome;         // frame minus content
};

// The frame size to take instead of the proposed one.
Size windowWillResize(const ResizeState& state, Size proposed);

} // namespace velo
