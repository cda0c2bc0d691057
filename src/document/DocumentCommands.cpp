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
    ChangeBatch batch(*this);
    if (!colorAdjustment) {
        colorAdjustment = std::make_shared<ColorAdjustment>();
    }
    undoManager_->registerUndo([this, colorAdjustment] { deleteColorAdjustment(colorAdjustment); });
    undoManager_->setActionName(localizedString(
        //: Undo action name: a new adjustment (a row of the table)
        VELO_TRANSLATE_NOOP("Velo", "New")));
    colorAdjustments_.push_back(colorAdjustment);
    activeColorAdjustments_.push_back(colorAdjustment);
    colorAdjustment->setUndoManager(undoManager_);
    clickedColorTableRow_ = static_cast<int>(colorAdjustments_.size()) - 1;
    if (clickedColorTableColumn_ == ColorColumn::None) {
        clickedColorTableColumn_ = ColorColumn::Source;
    }
    changed(DocumentChange::Lists);
    selectRowAlone(clickedColorTableRow_);
    settingsChanged();
}

void VeloDocument::deleteColorAdjustment(const std::shared_ptr<ColorAdjustment>& colorAdjustment) {
    ChangeBatch batch(*this);
    std::shared_ptr<ColorAdjustment> deleted = colorAdjustment;
    undoManager_->registerUndo([this, deleted] { newColorAdjustment(deleted); });
    undoManager_->setActionName(localizedString(
        //: Undo action name: deleting adjustments
        VELO_TRANSLATE_NOOP("Velo", "Delete")));
    std::erase(activeColorAdjustments_, deleted);
    std::erase(colorAdjustments_, deleted);
    settingsChanged();
}

void VeloDocument::deleteSelectedAdjustents() {
    ChangeBatch batch(*this);
    std::vector<int> rows = selectedRows_;
    // From the last row down, so the rows still to visit keep their index.
    std::sort(rows.begin(), rows.end(), std::greater<>());
    for (int row : rows) {
        if (row >= 0 && row < static_cast<int>(colorAdjustments_.size())) {
            deleteColorAdjustment(colorAdjustments_[row]);
        }
    }
}

bool VeloDocument::isRowSelected(int row) const {
    return std::ranges::binary_search(selectedRows_, row);
}

void VeloDocument::setSelectedRows(std::vector<int> rows) {
    ChangeBatch batch(*this);
    std::erase_if(rows, [this](int row) { return row < 0 || row >= numberOfRowsInTableView(); });
    std::ranges::sort(rows);
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (rows == selectedRows_) {
        return;
    }
    selectedRows_ = std::move(rows);
    // The colour panel edits a cell of a selected row only.
    if (clickedColorTableColumn_ != ColorColumn::None && !isRowSelected(clickedColorTableRow_)) {
        clickedColorTableColumn_ = ColorColumn::None;
        clickedColorTableRow_ = 0;
    }
    changed(DocumentChange::Selection);
    if (showsInfluence()) {
        restartInfluence();
    }
}

void VeloDocument::selectRowAlone(int row) {
    setSelectedRows({row});
}

void VeloDocument::selectAll() {
    std::vector<int> rows(colorAdjustments_.size());
    for (std::size_t row = 0; row < rows.size(); ++row) {
        rows[row] = static_cast<int>(row);
    }
    setSelectedRows(std::move(rows));
}

// Rows past the end leave the selection as they leave the table; the rest
// keep their place, as the table keeps them.
void VeloDocument::keepSelectionInTable() {
    setSelectedRows(selectedRows_);
}

Point pointInBitmap(const Bitmap& bitmap, const BitmapViewClick& click) {
    return {static_cast<float>(bitmap.pixelsWide()) / static_cast<float>(click.viewBounds.width) *
                click.locationInView.x,
            static_cast<float>(bitmap.pixelsHigh()) / static_cast<float>(click.viewBounds.height) *
                click.locationInView.y};
}

// Colours near a protected source stay put: its target is the source.
void VeloDocument::protectSelectedAdjustments() {
    ChangeBatch batch(*this);
    std::vector<std::shared_ptr<ColorAdjustment>> protectedOnes;
    for (int row : selectedRows_) {
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
    undoManager_->setActionName(localizedString(VELO_TRANSLATE_NOOP("Velo", "Protect color")));
    undoManager_->endUndoGrouping();
    settingsChanged();
}

void VeloDocument::mouseDownInBitmapView(const BitmapViewClick& click) {
    ChangeBatch batch(*this);
    const std::shared_ptr<Bitmap>& bitmap = click.shiftHeld ? destinationBitmap_ : sourceBitmap_;
    if (!bitmap) {
        return;
    }
    if (click.shiftHeld) {
        // The adjusted colour is the finished one, and no worker may be
        // writing the pixel while it is read.
        waitUntilComplete();
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
    ChangeBatch batch(*this);
    show(shownImage_ == ShownImage::Adjusted ? ShownImage::Source : ShownImage::Adjusted);
}

void VeloDocument::setBackgroundColor(ColorRef color) {
    ChangeBatch batch(*this);
    if (color == backgroundColor_ || colorsEqual(color, backgroundColor_)) {
        return;
    }
    ColorRef old = backgroundColor_;
    undoManager_->registerUndo([this, old] { setBackgroundColor(old); });
    undoManager_->setActionName(
        localizedString(VELO_TRANSLATE_NOOP("Velo", "Change Background Color")));
    backgroundColor_ = std::move(color);
    changed(DocumentChange::Background);
    settingsChanged();
}

void VeloDocument::takeBackgroundColorFrom(ColorRef wellColor) {
    clickedColorTableColumn_ = ColorColumn::None;
    setBackgroundColor(std::move(wellColor));
}

void VeloDocument::toggleImageAlpha() {
    ChangeBatch batch(*this);
    if (!destinationBitmap_ || !sourceBitmap_) {
        return;
    }
    bool shouldHaveAlpha = !destinationBitmap_->hasAlpha();
    undoManager_->registerUndo([this] { toggleImageAlpha(); });
    undoManager_->setActionName(
        localizedString(VELO_TRANSLATE_NOOP("Velo", "Change transparency")));
    destinationBitmap_ = alphaAdjustedCopy(*sourceBitmap_, shouldHaveAlpha);
    engine_.replaceDestination(destinationBitmap_);
    changed(DocumentChange::ShownImage);
    settingsChanged();
}

void VeloDocument::imageWasDroppedOnBitmapview(std::shared_ptr<const Image> image) {
    ChangeBatch batch(*this);
    setSourceImage(std::move(image));
}

} // namespace velo
