// Saving, exporting, reverting, printing and closing.
#include "ui/DocumentMainWindow.h"

#include "display/BitmapDisplay.h"
#include "display/DisplayColorTransform.h"
#include "document/FileTypes.h"
#include "platform/Files.h"
#include "ui/BitmapView.h"
#include "ui/ExportLutDialog.h"
#include "ui/ExportTypes.h"
#include "ui/RecoveryKeeper.h"
#include "ui/VeloApplication.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

namespace velo {

namespace {

// A window-modal question, so that the other windows stay usable meanwhile;
// it goes once answered.
QMessageBox* newSheet(QWidget* window, QMessageBox::Icon icon, const QString& title,
                      const QString& text, QMessageBox::StandardButtons buttons, const char* name) {
    auto* box = new QMessageBox(icon, title, text, buttons, window);
    box->setObjectName(name);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    return box;
}

FileLife::SaveAnswer saveAnswerOf(int button) {
    switch (button) {
    case QMessageBox::Save:
        return FileLife::SaveAnswer::Save;
    case QMessageBox::Discard:
        return FileLife::SaveAnswer::DontSave;
    default:
        return FileLife::SaveAnswer::Cancel;
    }
}

QString withExtension(const QString& path, const QStringList& accepted) {
    QString suffix = QFileInfo(path).suffix().toLower();
    return accepted.contains(suffix) ? path : path + "." + accepted.first();
}

} // namespace

bool DocumentMainWindow::carryOut(const FileLife::Step& step) {
    switch (step.next) {
    case FileLife::Next::Nothing:
        break;
    case FileLife::Next::Close:
        close();
        break;
    case FileLife::Next::AskToSave:
        askToSaveThenClose();
        break;
    case FileLife::Next::AskForName:
        saveDocumentAs();
        break;
    case FileLife::Next::AskToSaveOverChange:
        saveOverChangedFile(QString::fromStdString(step.path));
        break;
    case FileLife::Next::Write: {
        bool written = writeDocumentTo(QString::fromStdString(step.path));
        carryOut(fileLife_.written(written));
        return written;
    }
    case FileLife::Next::CancelQuit:
        application_.quitCancelled();
        break;
    case FileLife::Next::MarkEdited:
        document_->markEdited();
        updateActions();
        break;
    case FileLife::Next::OfferRevert:
        offerRevertToChangedFile();
        break;
    case FileLife::Next::AskToRevert:
        askToRevert();
        break;
    case FileLife::Next::Revert:
        revertDocument();
        break;
    }
    return false;
}

void DocumentMainWindow::saveDocument() {
    carryOut(fileLife_.save());
}

void DocumentMainWindow::saveDocumentAs() {
    auto* dialog =
        new QFileDialog(this, tr("Save As"), suggestedPath("velo"), tr("Velo document (*.velo)"));
    dialog->setObjectName("saveDialog");
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setDefaultSuffix(QString::fromStdString(kVeloDocumentExtension));
    connect(dialog, &QFileDialog::fileSelected, this,
            [this](const QString& chosen) { saveToFile(withExtension(chosen, {"velo"})); });
    connect(dialog, &QDialog::rejected, this, [this] { carryOut(fileLife_.nameCancelled()); });
    dialog->open();
}

bool DocumentMainWindow::saveToFile(const QString& path) {
    return carryOut(fileLife_.saveTo(path.toStdString()));
}

bool DocumentMainWindow::writeDocumentTo(const QString& path) {
    if (!writeRepresentation(path, kVeloDocumentType)) {
        return false;
    }
    document_->setFileName(QFileInfo(path).absoluteFilePath().toStdString());
    document_->markUnchanged();
    application_.noteRecentFile(QFileInfo(path).absoluteFilePath());
    updateTitle(QString::fromStdString(document_->displayName()));
    updateActions();
    if (keeper_) {
        keeper_->setOriginalPath(filePath());
        keeper_->forget();
    }
    return true;
}

// Another program changed the file since it was read: ask before replacing it.
void DocumentMainWindow::saveOverChangedFile(const QString& path) {
    QMessageBox* box = newSheet(this, QMessageBox::Warning, tr("Save changes?"),
                                tr("“%1” was changed by another program since it was opened.")
                                    .arg(QFileInfo(path).fileName()),
                                QMessageBox::Save | QMessageBox::Cancel, "fileChangedSheet");
    box->setInformativeText(tr("Saving replaces what the other program wrote."));
    box->button(QMessageBox::Save)->setText(tr("Save Anyway"));
    box->setDefaultButton(QMessageBox::Cancel);
    connect(box, &QMessageBox::finished, this, [this](int answer) {
        carryOut(fileLife_.answeredSaveOverChange(answer == QMessageBox::Save));
    });
    box->open();
}

void DocumentMainWindow::showRecovered(const QString& originalPath) {
    fileLife_.recovered(originalPath.toStdString());
    QString name = originalPath.isEmpty() ? tr("Untitled") : QFileInfo(originalPath).fileName();
    document_->setUntitledName(tr("%1 (recovered)").arg(name).toStdString());
    document_->markEdited();
    updateTitle(QString::fromStdString(document_->displayName()));
    updateActions();
    if (keeper_) {
        keeper_->setOriginalPath(originalPath);
        keeper_->keepNow();
        keeper_->waitUntilKept(); // before the old entry goes
    }
}

void DocumentMainWindow::checkFileOnDisk() {
    carryOut(fileLife_.checkFileOnDisk());
}

void DocumentMainWindow::offerRevertToChangedFile() {
    QMessageBox* box =
        newSheet(this, QMessageBox::Question, tr("Revert?"),
                 tr("“%1” was changed by another program.").arg(QFileInfo(filePath()).fileName()),
                 QMessageBox::Cancel, "fileChangedOnDiskSheet");
    box->setInformativeText(
        document_->isDocumentEdited()
            ? tr("Revert to show its new content; your unsaved changes will be lost.")
            : tr("Revert to show its new content."));
    QPushButton* revert = box->addButton(tr("Revert"), QMessageBox::AcceptRole);
    box->button(QMessageBox::Cancel)->setText(tr("Keep This Version"));
    box->setDefaultButton(revert);
    connect(revert, &QPushButton::clicked, this, [this] { carryOut(fileLife_.revertChosen()); });
    box->open();
}

// Beside the file the document came from, under its name (and the
// suffix); else at home.
QString DocumentMainWindow::suggestedPath(const QString& extension, const QString& suffix) const {
    QString path = QString::fromStdString(fileLife_.namingPath());
    QString base = path.isEmpty()
                       ? QDir::home().filePath(tr("Untitled"))
                       : QFileInfo(path).dir().filePath(QFileInfo(path).completeBaseName());
    return base + suffix + "." + extension;
}

void DocumentMainWindow::exportImage() {
    QStringList filters;
    for (const ExportType& type : exportTypes()) {
        filters << filterOf(type);
    }
    auto* dialog = new QFileDialog(this, tr("Export"), suggestedPath("png"));
    dialog->setObjectName("exportDialog");
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setNameFilters(filters);
    dialog->selectNameFilter(filters.last());
    connect(dialog, &QFileDialog::fileSelected, this,
            [this, dialog, filters](const QString& chosen) {
                const ExportType& chosenType = exportTypes()[std::max<qsizetype>(
                    0, filters.indexOf(dialog->selectedNameFilter()))];
                ExportTarget target = exportTarget(chosen, chosenType);
                exportToFile(target.path, target.type->typeName);
            });
    dialog->open();
}

bool DocumentMainWindow::exportToFile(const QString& path, const std::string& typeName) {
    return !refuseOwnFile(path, tr("The adjusted image")) && writeRepresentation(path, typeName);
}

// Exports go beside the document, never over the file it came from: true,
// and the user told, for that file.
bool DocumentMainWindow::refuseOwnFile(const QString& path, const QString& what) {
    if (QFileInfo(path).absoluteFilePath() != QFileInfo(filePath()).absoluteFilePath()) {
        return false;
    }
    showAlertSheet(tr("Saving failed").toStdString(),
                   tr("%1 cannot replace the file the document was opened from. Choose another "
                      "name.")
                       .arg(what)
                       .toStdString());
    return true;
}

void DocumentMainWindow::exportLut() {
    auto* dialog = new ExportLutDialog(dependsOnAlpha(*document_->activeAdjustmentCopies()), this);
    dialog->setObjectName("exportLutDialog");
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::WindowModal);
    connect(dialog, &QDialog::accepted, this,
            [this, dialog] { chooseLutFile(dialog->settings()); });
    dialog->open();
}

void DocumentMainWindow::chooseLutFile(const LutSettings& settings) {
    bool cube = settings.format == LutFormat::Cube;
    QString extension = cube ? "cube" : "png";
    auto* dialog = new QFileDialog(this, tr("Export LUT"), suggestedPath(extension),
                                   cube ? tr("Cube LUT (*.cube)") : tr("Hald CLUT image (*.png)"));
    dialog->setObjectName("exportLutFileDialog");
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setDefaultSuffix(extension);
    connect(dialog, &QFileDialog::fileSelected, this,
            [this, settings, extension](const QString& chosen) {
                exportLutToFile(withExtension(chosen, {extension}), settings);
            });
    dialog->open();
}

// The adjustments as they are when the name is chosen.
bool DocumentMainWindow::exportLutToFile(const QString& path, const LutSettings& settings) {
    if (refuseOwnFile(path, tr("The lookup table"))) {
        return false;
    }
    QString title = QFileInfo(QString::fromStdString(document_->displayName())).completeBaseName();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    std::optional<std::string> error = writeLut(
        path.toStdString(), *document_->activeAdjustmentCopies(), settings, title.toStdString());
    QApplication::restoreOverrideCursor();
    if (error) {
        showAlertSheet(tr("Saving failed").toStdString(), *error);
        return false;
    }
    return true;
}

void DocumentMainWindow::exportInfluence() {
    auto* dialog = new QFileDialog(this, tr("Export Influence"), suggestedPath("png", "-influence"),
                                   tr("PNG image (*.png)"));
    dialog->setObjectName("exportInfluenceFileDialog");
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setDefaultSuffix("png");
    connect(dialog, &QFileDialog::fileSelected, this, [this](const QString& chosen) {
        exportInfluenceToFile(withExtension(chosen, {"png"}));
    });
    dialog->open();
}

// The map as the view shows it, or would with the rows selected now.
bool DocumentMainWindow::exportInfluenceToFile(const QString& path) {
    if (refuseOwnFile(path, tr("The influence map"))) {
        return false;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    std::optional<std::string> error = document_->writeInfluenceTo(path.toStdString());
    QApplication::restoreOverrideCursor();
    if (error) {
        showAlertSheet(tr("Saving failed").toStdString(), *error);
        return false;
    }
    return true;
}

bool DocumentMainWindow::writeRepresentation(const QString& path, const std::string& typeName) {
    EncodedData data = document_->dataRepresentationOfType(typeName);
    std::optional<std::string> error =
        data.data ? writeFileAtomically(path.toStdString(), *data.data) : data.error;
    if (error) {
        showAlertSheet(tr("Saving failed").toStdString(), *error);
        return false;
    }
    return true;
}

void DocumentMainWindow::revertToSaved() {
    carryOut(fileLife_.revert());
}

void DocumentMainWindow::askToRevert() {
    QMessageBox* box =
        newSheet(this, QMessageBox::Question, tr("Revert?"),
                 tr("Revert to the saved version of “%1”?").arg(QFileInfo(filePath()).fileName()),
                 QMessageBox::Cancel, "revertSheet");
    box->setInformativeText(tr("Your unsaved changes will be lost; this cannot be undone."));
    QPushButton* revert = box->addButton(tr("Revert"), QMessageBox::DestructiveRole);
    box->setDefaultButton(QMessageBox::Cancel);
    connect(revert, &QPushButton::clicked, this, [this] { carryOut(fileLife_.revertChosen()); });
    box->open();
}

void DocumentMainWindow::revertDocument() {
    VeloDocument::LoadResult loaded =
        document_->readFromFile(document_->fileName(), kVeloDocumentType);
    if (!loaded.ok) {
        showAlertSheet(tr("Reverting failed").toStdString(), loaded.error);
        return;
    }
    document_->finishSetUp();
    fileLife_.reverted();
    if (keeper_) {
        keeper_->forget();
    }
    updateActions();
}

void DocumentMainWindow::printShowingPrintPanel(bool showPanel) {
    auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
    printer->setDocName(titleText_);
    if (!showPanel) {
        printTo(*printer);
        return;
    }
    auto* dialog = new QPrintDialog(printer.get(), this);
    dialog->setObjectName("printDialog");
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, printer] { printTo(*printer); });
    dialog->open();
}

// Prints what the view shows, one view point to a printer point, made
// smaller when the page is: the full result or map, once complete.
void DocumentMainWindow::printTo(QPrinter& printer) {
    std::shared_ptr<Bitmap> shown = imageView_->bitmap();
    if (!shown) {
        return;
    }
    // No line a worker may still be writing is read.
    if (document_->showsInfluence()) {
        document_->waitUntilInfluenceComplete();
    } else {
        document_->waitUntilComplete();
    }
    QImage full = newDisplayImage(QSize(shown->pixelsWide(), shown->pixelsHigh()));
    drawRowsInto(full, *shown, 0, full.height());
    // Printing takes sRGB, whatever the screen: the image's own colours, in
    // the source's profile as the view has them.
    const std::shared_ptr<Bitmap>& source = document_->sourceBitmap();
    if (auto toSrgb = DisplayColorTransform::between(source ? source->iccProfile().get() : nullptr,
                                                     nullptr)) {
        toSrgb->apply(full, 0, full.height());
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        showAlertSheet(tr("Printing failed").toStdString(),
                       tr("The printer could not be started.").toStdString());
        return;
    }
    QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    // At 100 % the image prints at the physical size its file states.
    double pointsPerPixel = shown->size().width > 0 ? shown->size().width / shown->pixelsWide() : 1;
    double perViewPixel = printer.resolution() / 72.0 * pointsPerPixel;
    QSizeF viewSize(imageView_->width() * perViewPixel, imageView_->height() * perViewPixel);
    double fit =
        std::min({1.0, page.width() / viewSize.width(), page.height() / viewSize.height()});
    painter.scale(perViewPixel * fit, perViewPixel * fit);
    painter.setClipRect(imageView_->rect());
    imageView_->drawShownImage(painter, full);
    painter.end();
}

void DocumentMainWindow::closeEvent(QCloseEvent* event) {
    FileLife::Step step = fileLife_.closeRequested();
    if (step.next != FileLife::Next::Close) {
        event->ignore();
        carryOut(step);
        return;
    }
    saveWindowState();
    displayTimer_.stop();
    if (keeper_) {
        keeper_->forget();
    }
    event->accept();
}

void DocumentMainWindow::askToSaveThenClose() {
    QString name = QString::fromStdString(document_->displayName());
    QMessageBox* box = newSheet(this, QMessageBox::Warning, tr("Save changes?"),
                                tr("Do you want to save the changes you made to “%1”?").arg(name),
                                QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                                "saveChangesSheet");
    box->setInformativeText(tr("Your changes will be lost if you don’t save them."));
    box->button(QMessageBox::Discard)->setText(tr("&Don’t Save"));
    box->setDefaultButton(QMessageBox::Save);
    connect(box, &QMessageBox::finished, this,
            [this](int answer) { carryOut(fileLife_.answeredSaveChanges(saveAnswerOf(answer))); });
    box->open();
}

} // namespace velo
