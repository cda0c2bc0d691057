// The window's editing and viewing commands: each hands over to the document.
#include "ui/DocumentMainWindow.h"

#include "ui/AdjustmentsDrawer.h"
#include "ui/ColorWell.h"
#include "ui/QtColors.h"
#include "ui/VeloApplication.h"

#include <QTableView>

namespace velo {

void DocumentMainWindow::undo() {
    document_->undoManager()->endEvent();
    if (document_->undoManager()->canUndo()) {
        document_->undoManager()->undo();
    }
    documentEdited();
}

void DocumentMainWindow::redo() {
    document_->undoManager()->endEvent();
    if (document_->undoManager()->canRedo()) {
        document_->undoManager()->redo();
    }
    documentEdited();
}

void DocumentMainWindow::deleteSelectedAdjustents() {
    // Several rows go in one step.
    document_->undoManager()->endEvent();
    document_->deleteSelectedAdjustents();
    documentEdited();
}

void DocumentMainWindow::protectSelectedAdjustments() {
    document_->undoManager()->endEvent();
    document_->protectSelectedAdjustments();
    documentEdited();
}

void DocumentMainWindow::selectAll() {
    drawer_->table()->selectAll();
    updateActions();
}

void DocumentMainWindow::newAdjustment() {
    document_->newColorAdjustment();
    documentEdited();
}

void DocumentMainWindow::saveColorAdjustmentsAsDefault() {
    document_->saveColorAdjustmentsAsDefault(application_.defaults());
}

void DocumentMainWindow::revertDefaults() {
    application_.revertDefaults();
}

void DocumentMainWindow::toggleImageAlpha() {
    document_->toggleImageAlpha();
    documentEdited();
}

void DocumentMainWindow::toggleSourceOrDestinationImage() {
    document_->toggleSourceOrDestinationImage();
    updateActions();
}

void DocumentMainWindow::toggleInfluence() {
    document_->toggleInfluence();
    updateActions();
}

void DocumentMainWindow::chooseBackgroundColor() {
    backgroundWell_->click();
}

void DocumentMainWindow::takeBackgroundColorFrom(const QColor& color) {
    document_->takeBackgroundColorFrom(toColorRef(color));
    documentEdited();
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
