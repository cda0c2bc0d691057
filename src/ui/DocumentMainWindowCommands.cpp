// The window's editing and viewing commands: each hands over to the document.
#include "ui/DocumentMainWindow.h"

#include "ui/ColorWell.h"
#include "ui/QtColors.h"
#include "ui/VeloApplication.h"

namespace velo {

void DocumentMainWindow::undo() {
    document_->undo();
}

void DocumentMainWindow::redo() {
    document_->redo();
}

void DocumentMainWindow::deleteSelectedAdjustents() {
    // Several rows go in one step.
    document_->endUndoStep();
    document_->deleteSelectedAdjustents();
}

void DocumentMainWindow::protectSelectedAdjustments() {
    document_->endUndoStep();
    document_->protectSelectedAdjustments();
}

void DocumentMainWindow::selectAll() {
    document_->selectAll();
}

void DocumentMainWindow::newAdjustment() {
    document_->newColorAdjustment();
}

void DocumentMainWindow::saveColorAdjustmentsAsDefault() {
    document_->saveColorAdjustmentsAsDefault(application_.defaults());
    alertIfDefaultsNotStored();
}

void DocumentMainWindow::revertDefaults() {
    application_.revertDefaults();
    alertIfDefaultsNotStored();
}

void DocumentMainWindow::alertIfDefaultsNotStored() {
    std::string error = application_.defaults().writeError();
    if (!error.empty()) {
        showAlertSheet(tr("The defaults could not be stored").toStdString(), error);
    }
}

void DocumentMainWindow::toggleImageAlpha() {
    document_->toggleImageAlpha();
}

void DocumentMainWindow::toggleSourceOrDestinationImage() {
    document_->toggleSourceOrDestinationImage();
}

void DocumentMainWindow::toggleInfluence() {
    document_->toggleInfluence();
}

void DocumentMainWindow::chooseBackgroundColor() {
    if (backgroundWell_->isEnabled()) {
        backgroundWell_->chooseColor(this);
    }
}

void DocumentMainWindow::takeBackgroundColorFrom(const QColor& color) {
    document_->takeBackgroundColorFrom(toColorRef(color));
}

void DocumentMainWindow::toggleFullScreen() {
    if (isFullScreen()) {
        showNormal();
    } else {
        showFullScreen();
    }
    updateActions();
}

} // namespace velo
