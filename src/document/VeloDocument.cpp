// The document's life: creation with the default adjustments, image
// replacement, the engine's window side, and teardown.
#include "document/VeloDocument.h"

#include "color/WorkingBitmap.h"
#include "document/DefaultsKeys.h"
#include "platform/Files.h"
#include "platform/Localization.h"

#include <algorithm>
#include <filesystem>
#include <limits>
#include <utility>

namespace velo {

namespace {

// No undo history reaches it: the document stays edited until saved.
constexpr long kNeverSaved = std::numeric_limits<long>::min();

} // namespace

VeloDocument::VeloDocument(const UserDefaults* defaults, int numberOfThreads)
    : defaults_(defaults), engine_(numberOfThreads), influence_(numberOfThreads) {
    fillDefaultAdjustments(defaults);
    activeColorAdjustments_ = colorAdjustments_;
    undoManager_->addDidUndoObserver([this] { settingsChanged(); });
    undoManager_->addDidRedoObserver([this] { settingsChanged(); });
}

VeloDocument::~VeloDocument() {
    engine_.shutdown();
    influence_.shutdown();
    undoManager_->removeAllObservers();
    undoManager_->removeAllActions();
}

void VeloDocument::fillDefaultAdjustments(const UserDefaults* defaults) {
    std::optional<PropertyValue> stored =
        defaults ? defaults->objectForKey(kActiveColorAdjustmentsDefault) : std::nullopt;
    if (stored && stored->asArray()) {
        for (const PropertyValue& dict : *stored->asArray()) {
            auto adjustment = ColorAdjustment::initWithValuesInDict(&dict);
            // Stored adjustments are edited like any other: with undo.
            adjustment->setUndoManager(undoManager_);
            colorAdjustments_.push_back(std::move(adjustment));
        }
        return;
    }
    constexpr int kSaturationBrightnessAlpha = 14;
    constexpr int kHueSaturationAlpha = 11;
    addBuiltInAdjustment(Color::blackColor(), kSaturationBrightnessAlpha);
    addBuiltInAdjustment(Color::whiteColor(), kSaturationBrightnessAlpha);
    addBuiltInAdjustment(Color::redColor(), kHueSaturationAlpha);
    addBuiltInAdjustment(Color::greenColor(), kHueSaturationAlpha);
    addBuiltInAdjustment(Color::blueColor(), kHueSaturationAlpha);
}

void VeloDocument::addBuiltInAdjustment(ColorRef color, int mask) {
    auto adjustment = std::make_shared<ColorAdjustment>();
    adjustment->setUndoManager(undoManager_);
    adjustment->setSourceColor(std::move(color));
    adjustment->setComponentsMask(mask);
    colorAdjustments_.push_back(std::move(adjustment));
}

void VeloDocument::addObserver(DocumentObserver* observer) {
    observers_.push_back(observer);
}

void VeloDocument::removeObserver(DocumentObserver* observer) {
    std::erase(observers_, observer);
}

void VeloDocument::changed(DocumentChange changes) {
    pendingChanges_ = pendingChanges_ | changes;
    changesPending_ = true;
    if (batchDepth_ == 0) {
        tellObservers();
    }
}

VeloDocument::ChangeBatch::~ChangeBatch() {
    if (--document_.batchDepth_ == 0 && document_.changesPending_) {
        document_.tellObservers();
    }
}

void VeloDocument::tellObservers() {
    DocumentChange changes = std::exchange(pendingChanges_, DocumentChange::None);
    changesPending_ = false;
    bool edited = isDocumentEdited();
    if (edited != toldEdited_) {
        toldEdited_ = edited;
        changes = changes | DocumentChange::Edited;
    }
    // A copy: an observer may remove itself, or another, while told.
    std::vector<DocumentObserver*> observers = observers_;
    for (DocumentObserver* observer : observers) {
        if (std::ranges::find(observers_, observer) != observers_.end()) {
            observer->documentChanged(changes);
        }
    }
}

void VeloDocument::undo() {
    ChangeBatch batch(*this);
    endStroke(); // the stroke's row must not outlive its undoing
    undoManager_->endEvent();
    if (undoManager_->canUndo()) {
        undoManager_->undo();
    }
}

void VeloDocument::redo() {
    ChangeBatch batch(*this);
    undoManager_->endEvent();
    if (undoManager_->canRedo()) {
        undoManager_->redo();
    }
}

void VeloDocument::endUndoStep() {
    undoManager_->endEvent();
}

void VeloDocument::editedOutsideUndo() {
    editedOutsideUndo_ = true;
}

void VeloDocument::finishSetUp() {
    ChangeBatch batch(*this);
    settingsChanged();
    undoManager_->removeAllActions();
    markUnchanged();
    changed(DocumentChange::UndoStack);
}

void VeloDocument::markUnchanged() {
    ChangeBatch batch(*this);
    undoManager_->endEvent();
    savedChangeCount_ = undoManager_->changeCount();
    editedOutsideUndo_ = false;
    fileStamp_ = fileStampOf(fileName_);
    changed(DocumentChange::None);
}

void VeloDocument::markEdited() {
    ChangeBatch batch(*this);
    savedChangeCount_ = kNeverSaved;
    changed(DocumentChange::None);
}

bool VeloDocument::fileChangedOnDisk() const {
    return !fileName_.empty() && fileStampOf(fileName_) != fileStamp_;
}

std::string VeloDocument::displayName() const {
    const std::string& name = fileName_.empty() ? untitledName_ : fileName_;
    if (name.size() > 1) {
        return std::filesystem::path(name).filename().string();
    }
    return localizedString(VELO_TRANSLATE_NOOP("Velo", "Untitled"));
}

bool VeloDocument::isDocumentEdited() const {
    return editedOutsideUndo_ || undoManager_->changeCount() != savedChangeCount_;
}

void VeloDocument::setSourceImage(std::shared_ptr<const Image> image) {
    if (image == sourceImage_) {
        return;
    }
    ChangeBatch batch(*this);
    std::shared_ptr<const Image> old = sourceImage_;
    undoManager_->registerUndo([this, old] { setSourceImage(old); });
    undoManager_->setActionName(localizedString(VELO_TRANSLATE_NOOP("Velo", "Change image")));

    sourceImage_ = std::move(image);
    sourceDamage_.clear();
    sourceBitmap_ = sourceImage_ ? bitmap(*sourceImage_) : nullptr;
    destinationBitmap_ = sourceBitmap_ ? sourceBitmap_->copy() : nullptr;
    if (showsInfluence()) {
        restartInfluence();
    }
    engine_.replaceImage(sourceBitmap_, destinationBitmap_, activeColorAdjustments_);
    resultStale_ = false;
    changed(DocumentChange::Image | DocumentChange::ShownImage | DocumentChange::ResultRestarted);

    if (sourceImage_ && sourceImage_->backgroundColor) {
        const auto& c = *sourceImage_->backgroundColor;
        setBackgroundColor(Color::colorWithCalibratedRed(c[0], c[1], c[2], c[3]));
    }
}

void VeloDocument::settingsChanged() {
    ChangeBatch batch(*this);
    keepSelectionInTable();
    changed(DocumentChange::Alpha | DocumentChange::Lists | DocumentChange::Rows |
            DocumentChange::UndoStack);
    restart();
}

void VeloDocument::restart() {
    if (sharePreviewRow_) {
        resultStale_ = true;
    } else {
        restartResult();
    }
    if (showsInfluence()) {
        restartInfluence();
    }
}

void VeloDocument::restartResult() {
    resultStale_ = false;
    engine_.restart(activeColorAdjustments_);
    changed(DocumentChange::ResultRestarted);
}

void VeloDocument::bringResultUpToDate() {
    if (resultStale_) {
        ChangeBatch batch(*this);
        restartResult();
    }
}

void VeloDocument::displayTimerFired() {
    ChangeBatch batch(*this);
    AdjustmentEngine::DisplayUpdate update =
        engine_.displayTimerFired(shownImage_ == ShownImage::Adjusted && destinationBitmap_);
    if (update.redraw) {
        resultProgress_ = update.progress;
        changed(DocumentChange::Progress);
    }
}

bool VeloDocument::windowShouldClose() {
    engine_.shutdown();
    influence_.shutdown();
    observers_.clear();
    undoManager_->removeAllActions();
    return true;
}

void VeloDocument::waitUntilComplete(const std::function<void(float)>& progress) {
    bringResultUpToDate();
    engine_.waitUntilComplete(progress);
}

} // namespace velo
