// The user's commands on a document. Each registers its inverse under an
// action name, and each that changes the result ends with settingsChanged.
#include "color/PixelAccess.h"
#include "color/WorkingBitmap.h"
#include "document/AreaSample.h"
#include "document/VeloDocument.h"
#include "platform/Localization.h"

#include <algorithm>
#include <functional>

namespace velo {

void VeloDocument::newColorAdjustment(std::shared_ptr<ColorAdjustment> colorAdjustment) {
    if (!colorAdjustment) {
        colorAdjustment = std::make_shared<ColorAdjustment>();
    }
    undoManager_->registerUndo([this, colorAdjustment] { deleteColorAdjustment(colorAdjustment); });
    undoManager_->setActionName(localizedString("New"));
    colorAdjustments_.push_back(colorAdjustment);
    activeColorAdjustments_.push_back(colorAdjustment);
    colorAdjustment->setUndoManager(undoManager_);
    clickedColorTableRow_ = static_cast<int>(colorAdjustments_.size()) - 1;
    if (clickedColorTableColumn_ == ColorColumn::None) {
        clickedColorTableColumn_ = ColorColumn::Source;
    }
    if (window_) {
        window_->reloadData();
        window_->selectRowAlone(clickedColorTableRow_);
    }
    settingsChanged();
}

void VeloDocument::deleteColorAdjustment(const std::shared_ptr<ColorAdjustment>& colorAdjustment) {
    std::shared_ptr<ColorAdjustment> deleted = colorAdjustment;
    undoManager_->registerUndo([this, deleted] { newColorAdjustment(deleted); });
    undoManager_->setActionName(localizedString("Delete"));
    std::erase(activeColorAdjustments_, deleted);
    std::erase(colorAdjustments_, deleted);
    settingsChanged();
}

void VeloDocument::deleteSelectedAdjustents() {
    if (!window_) {
        return;
    }
    std::vector<int> rows = window_->selectedRows();
    // From the last row down, so the rows still to visit keep their index.
    std::sort(rows.begin(), rows.end(), std::greater<>());
    for (int row : rows) {
        if (row >= 0 && row < static_cast<int>(colorAdjustments_.size())) {
            deleteColorAdjustment(colorAdjustments_[row]);
        }
    }
}

Point pointInBitmap(const Bitmap& bitmap, const BitmapViewClick& click) {
    return {static_cast<float>(bitmap.pixelsWide()) / static_cast<float>(click.viewBounds.width) *
                click.locationInView.x,
            static_cast<float>(bitmap.pixelsHigh()) / static_cast<float>(click.viewBounds.height) *
                click.locationInView.y};
}

// Colours near a protected source stay put: its target is the source.
void VeloDocument::protectSelectedAdjustments() {
    if (!window_) {
        return;
    }
    std::vector<std::shared_ptr<ColorAdjustment>> protectedOnes;
    for (int row : window_->selectedRows()) {
        if (row >= 0 && row < static_cast<int>(colorAdjustments_.size())) {
            protectedOnes.push_back(colorAdjustments_[row]);
        }
    }
    if (protectedOnes.empty()) {
        return;
    }
    undoManager_->beginUndoGrouping();
    for (const auto& adjustment : protectedOnes) {
        adjustment->setTargetColor(adjustment->sourceColor());
    }
    undoManager_->setActionName(localizedString("Protect color"));
    undoManager_->endUndoGrouping();
    settingsChanged();
}

void VeloDocument::mouseDownInBitmapView(const BitmapViewClick& click) {
    const std::shared_ptr<Bitmap>& bitmap = click.shiftHeld ? destinationBitmap_ : sourceBitmap_;
    if (!bitmap) {
        return;
    }
    if (click.shiftHeld) {
        // The adjusted colour is the finished one, and no worker may be
        // writing the pixel while it is read.
        engine_.waitUntilComplete();
    }
    Point at = pointInBitmap(*bitmap, click);
    // A click that maps outside the bitmap picks nothing.
    if (!containsPoint(*bitmap, at)) {
        return;
    }
    RGBA c = pickedRGBA(*bitmap, at, pickSampleSize_);
    auto adjustment = std::make_shared<ColorAdjustment>();
    ColorRef picked = Color::colorWithCalibratedRed(c.r, c.g, c.b, c.a);
    adjustment->setSourceColor(picked);
    if (click.altHeld) {
        // Protects the colour: it maps onto itself, so colours near it stay put.
        adjustment->setTargetColor(picked);
    }
    newColorAdjustment(std::move(adjustment));
}

void VeloDocument::setPickSampleSize(int sampleSize) {
    if (isSampleSize(sampleSize)) {
        pickSampleSize_ = sampleSize;
    }
}

void VeloDocument::toggleSourceOrDestinationImage() {
    if (!window_) {
        return;
    }
    if (window_->bitmap() == destinationBitmap_) {
        window_->setBitmap(sourceBitmap_);
        window_->setToggleImageItem(localizedString("Show adjusted"), "ToggleModificationsOn");
    } else {
        window_->setBitmap(destinationBitmap_);
        window_->setToggleImageItem(localizedString("Show original"), "ToggleModificationsOff");
    }
}

void VeloDocument::setBackgroundColor(ColorRef color) {
    if (color == backgroundColor_ || colorsEqual(color, backgroundColor_)) {
        return;
    }
    ColorRef old = backgroundColor_;
    undoManager_->registerUndo([this, old] { setBackgroundColor(old); });
    undoManager_->setActionName(localizedString("Change Background Color"));
    backgroundColor_ = std::move(color);
    if (window_) {
        window_->setViewBackgroundColor(backgroundColor_);
        window_->setBackgroundWellColor(backgroundColor_);
    }
    settingsChanged();
}

void VeloDocument::takeBackgroundColorFrom(ColorRef wellColor) {
    clickedColorTableColumn_ = ColorColumn::None;
    setBackgroundColor(std::move(wellColor));
}

void VeloDocument::toggleImageAlpha() {
    if (!destinationBitmap_ || !sourceBitmap_) {
        return;
    }
    bool shouldHaveAlpha = !destinationBitmap_->hasAlpha();
    bool showedDestination = windowShowsDestination();
    undoManager_->registerUndo([this] { toggleImageAlpha(); });
    undoManager_->setActionName(localizedString("Change transparency"));
    destinationBitmap_ = alphaAdjustedCopy(*sourceBitmap_, shouldHaveAlpha);
    engine_.replaceDestination(destinationBitmap_);
    if (window_ && showedDestination) {
        window_->setBitmap(destinationBitmap_);
    }
    settingsChanged();
}

void VeloDocument::imageWasDroppedOnBitmapview(std::shared_ptr<const Image> image) {
    setSourceImage(std::move(image));
}

} // namespace velo
