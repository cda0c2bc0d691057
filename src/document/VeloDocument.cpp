// The document's life: creation with the default adjustments, image
// replacement, the engine's window side, and teardown.
#include "document/VeloDocument.h"

#include "color/WorkingBitmap.h"
#include "document/DefaultsKeys.h"
#include "engine/ChunkHandout.h"
#include "platform/Files.h"
#include "platform/Localization.h"

#include <limits>

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

void VeloDocument::setWindow(DocumentWindow* window) {
    window_ = window;
}

void VeloDocument::finishSetUp() {
    settingsChanged();
    undoManager_->removeAllActions();
    markUnchanged();
}

void VeloDocument::markUnchanged() {
    undoManager_->endEvent();
    savedChangeCount_ = undoManager_->changeCount();
    fileStamp_ = fileStampOf(fileName_);
}

void VeloDocument::markEdited() {
    savedChangeCount_ = kNeverSaved;
}

bool VeloDocument::fileChangedOnDisk() const {
    return !fileName_.empty() && fileStampOf(fileName_) != fileStamp_;
}

std::string VeloDocument::displayName() const {
    return restingTitle(fileName_.empty() ? untitledName_ : fileName_);
}

bool VeloDocument::isDocumentEdited() const {
    return undoManager_->changeCount() != savedChangeCount_;
}

bool VeloDocument::windowShowsDestination() const {
    return window_ ? window_->bitmap() == destinationBitmap_ : true;
}

void VeloDocument::setSourceImage(std::shared_ptr<const Image> image) {
    if (image == sourceImage_) {
        return;
    }
    bool showedDestination = windowShowsDestination();
    bool showedInfluence = showsInfluence();
    std::shared_ptr<const Image> old = sourceImage_;
    undoManager_->registerUndo([this, old] { setSourceImage(old); });
    undoManager_->setActionName(localizedString("Change image"));

    sourceImage_ = std::move(image);
    sourceBitmap_ = sourceImage_ ? bitmap(*sourceImage_) : nullptr;
    destinationBitmap_ = sourceBitmap_ ? sourceBitmap_->copy() : nullptr;
    if (window_) {
        if (showedInfluence) {
            restartInfluence();
        }
        window_->setBitmap(showedInfluence     ? influence_.bitmap()
                           : showedDestination ? destinationBitmap_
                                               : sourceBitmap_);
    }
    if (sourceImage_ && window_) {
        window_->fitWindowToImage();
    }
    engine_.replaceImage(sourceBitmap_, destinationBitmap_, activeColorAdjustments_);
    if (window_) {
        window_->resultRestarted();
    }

    if (sourceImage_ && sourceImage_->backgroundColor) {
        const auto& c = *sourceImage_->backgroundColor;
        setBackgroundColor(Color::colorWithCalibratedRed(c[0], c[1], c[2], c[3]));
    }
}

void VeloDocument::settingsChanged() {
    bool hasAlpha = destinationBitmap_ && destinationBitmap_->hasAlpha();
    if (window_) {
        window_->setColorPanelShowsAlpha(hasAlpha);
        updateAlphaColumn(hasAlpha);
        window_->reloadData();
    }
    restart();
}

void VeloDocument::restart() {
    engine_.restart(activeColorAdjustments_);
    if (window_) {
        window_->resultRestarted();
    }
    if (showsInfluence()) {
        restartInfluence();
    }
}

// The alpha column is in the table exactly while the result has alpha; the
// drawer grows or shrinks with it, never below its minimum.
void VeloDocument::updateAlphaColumn(bool destinationHasAlpha) {
    if (destinationHasAlpha == window_->hasAlphaColumn()) {
        return;
    }
    window_->setAlphaColumnShown(destinationHasAlpha);
    double delta = destinationHasAlpha ? 1.0 : -1.0;
    Size size = window_->drawerContentSize();
    size.width += 3.0 * delta;
    if (size.width >= window_->drawerMinContentSize().width) {
        window_->setDrawerContentSize(size);
    }
}

void VeloDocument::displayTimerFired() {
    if (!window_) {
        return;
    }
    AdjustmentEngine::DisplayUpdate update =
        engine_.displayTimerFired(windowShowsDestination() && destinationBitmap_,
                                  fileName_.empty() ? untitledName_ : fileName_);
    if (update.redraw) {
        window_->setNeedsDisplay();
    }
    if (update.title) {
        window_->setTitle(*update.title);
    }
}

bool VeloDocument::windowShouldClose() {
    engine_.shutdown();
    influence_.shutdown();
    window_ = nullptr;
    undoManager_->removeAllActions();
    return true;
}

void VeloDocument::waitUntilComplete(const std::function<void(float)>& progress) {
    engine_.waitUntilComplete(progress);
}

} // namespace velo
