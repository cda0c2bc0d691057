#include "ui/ResizeRule.h"

#include <cmath>

namespace velo {

Size windowWillResize(const ResizeState& state, Size proposed) {
    if (!state.hasDestination || !state.isDocumentWindow) {
        return proposed;
    }
    float ratio = state.ratio;
    if (state.toolbarVisible) {
        float dy = static_cast<float>(proposed.height - state.currentFrame.height);
        float cw = static_cast<float>(state.currentContent.width);
        float ch = static_cast<float>(state.currentContent.height);
        float mismatch = std::fabs(cw / ch - ratio);
        if (static_cast<double>(mismatch) < 0.1) {
            // Close to the proportions already: carry the width along.
            float width = std::rintf(static_cast<float>(state.currentFrame.width) + ratio * dy);
            return {width, proposed.height};
        }
        // Take the proposed frame, then correct its content to the proportions.
        double contentHeight = proposed.height - state.chrome.height;
        double contentWidth = ratio * static_cast<float>(contentHeight);
        return {contentWidth + state.chrome.width, contentHeight + state.chrome.height};
    }
    double contentHeight = proposed.height - state.chrome.height;
    double contentWidth = ratio * static_cast<float>(contentHeight);
    return {contentWidth + state.chrome.width, proposed.height};
}

} // namespace velo
