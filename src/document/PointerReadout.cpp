#include "document/PointerReadout.h"

#include "color/PixelAccess.h"
#include "document/VeloDocument.h"
#include "engine/AdjustmentShares.h"
#include "engine/PixelMover.h"

#include <algorithm>

namespace velo {

namespace {

// The pixel as the pass writes it into a result of this layout: moved,
// then stored (premultiplied, truncated to the result's samples) and read back.
RGBA storedAsThePassStores(RGBA moved, const Bitmap& result) {
    Bitmap one(1, 1, result.samplesPerPixel(), result.hasAlpha(), false, result.colorSpaceName(), 0,
               0, result.bitsPerSample());
    setRGBA(one, moved, {0, 0});
    return RGBAAtPoint(one, {0, 0});
}

int tableRowOf(const VeloDocument& document, const ColorAdjustment* adjustment) {
    const VeloDocument::Adjustments& rows = document.colorAdjustments();
    auto found = std::find_if(rows.begin(), rows.end(),
                              [&](const auto& row) { return row.get() == adjustment; });
    return static_cast<int>(found - rows.begin());
}

} // namespace

std::optional<PointerReadout> pointerReadout(const VeloDocument& document,
                                             const BitmapViewClick& at) {
    const std::shared_ptr<Bitmap>& source = document.sourceBitmap();
    const std::shared_ptr<Bitmap>& result = document.destinationBitmap();
    if (!source || !result) {
        return std::nullopt;
    }
    Point point = pointInBitmap(*source, at);
    PixelIndex pixel;
    if (!pixelAt(*source, point, pixel)) {
        return std::nullopt;
    }
    PointerReadout readout;
    readout.column = pixel.x;
    readout.row = pixel.y;
    readout.source = RGBAAtPoint(*source, point);
    readout.hasAlpha = source->hasAlpha() || result->hasAlpha();
    const VeloDocument::Adjustments& active = document.activeColorAdjustments();
    std::shared_ptr<const std::vector<ColorAdjustment>> copies = document.activeAdjustmentCopies();
    readout.adjusted = storedAsThePassStores(PixelMover(*copies).move(readout.source), *result);
    for (AdjustmentShare share : sharesUnderPointer(readout.source, *copies)) {
        readout.shares.push_back({tableRowOf(document, active[share.index].get()),
                                  (*copies)[share.index].sourceRGBA(), share.fraction});
    }
    return readout;
}

} // namespace velo
