// A stroke across the image: the shades under it make or widen one row.
#include "adjust/ShadeFit.h"
#include "document/StrokeShades.h"
#include "document/VeloDocument.h"
#include "platform/Localization.h"

#include <algorithm>
#include <array>
#include <utility>

namespace velo {

struct VeloDocument::Stroke {
    std::shared_ptr<ColorAdjustment> row; // made by the stroke, or the one it widens
    bool widens = false;
    std::optional<Reach> reachBefore; // of the row it widens
    PixelIndex last;
    ShadeGatherer shades;
};

void VeloDocument::beginStroke(PixelIndex at, bool widenSelected) {
    ChangeBatch batch(*this);
    if (!sourceBitmap_) {
        return;
    }
    endUndoStep();
    stroke_ = std::make_shared<Stroke>();
    if (widenSelected && !selectedRows_.empty()) {
        stroke_->row = colorAdjustments_[static_cast<std::size_t>(selectedRows_.front())];
        stroke_->widens = true;
        stroke_->reachBefore = stroke_->row->reach();
    }
    stroke_->last = at;
    stroke_->shades.add(*sourceBitmap_, std::array{at}, pickSampleSize_);
    fitStrokeRow();
}

void VeloDocument::extendStroke(PixelIndex to) {
    if (!stroke_) {
        return;
    }
    ChangeBatch batch(*this);
    std::array path{stroke_->last, to};
    stroke_->shades.add(*sourceBitmap_, pixelsAlong(path), pickSampleSize_);
    stroke_->last = to;
    fitStrokeRow();
}

void VeloDocument::fitStrokeRow() {
    const std::vector<RGBA>& shades = stroke_->shades.shades();
    if (shades.empty()) {
        return;
    }
    std::shared_ptr<ColorAdjustment>& row = stroke_->row;
    if (stroke_->widens) {
        row->setReach(widenedToTake(row->sourceOKLab(), stroke_->reachBefore, shades));
    } else {
        ShadeFit fit = *fitShades(shades);
        ColorRef source =
            Color::colorWithCalibratedRed(fit.source.r, fit.source.g, fit.source.b, fit.source.a);
        if (!row) {
            row = std::make_shared<ColorAdjustment>();
            row->setColorModel(ColorModel::OKLab);
            row->setSourceColor(source);
            row->setReach(fit.reach);
            newColorAdjustment(row);
        } else {
            row->setSourceColor(source);
            row->setTargetColor(source);
            row->setReach(fit.reach);
        }
    }
    auto at = std::ranges::find(colorAdjustments_, row);
    if (at != colorAdjustments_.end()) {
        beginSharePreview(static_cast<int>(at - colorAdjustments_.begin()));
    }
    settingsChanged();
}

void VeloDocument::endStroke() {
    std::shared_ptr<Stroke> stroke = std::exchange(stroke_, nullptr);
    if (!stroke) {
        return;
    }
    ChangeBatch batch(*this);
    endSharePreview();
    if (stroke->widens) {
        undoManager_->setActionName(localizedString(
            //: Undo action name: a stroke across the image widened a row to take its shades
            VELO_TRANSLATE_NOOP("Velo", "Add shades")));
    } else {
        undoManager_->setActionName(localizedString(VELO_TRANSLATE_NOOP("Velo", "New")));
    }
    endUndoStep();
}

std::optional<PixelIndex> sourcePixelAt(const VeloDocument& document,
                                        const BitmapViewClick& click) {
    const std::shared_ptr<Bitmap>& bitmap = document.sourceBitmap();
    PixelIndex pixel;
    if (!bitmap || !pixelAt(*bitmap, pointInBitmap(*bitmap, click), pixel)) {
        return std::nullopt;
    }
    return pixel;
}

} // namespace velo
