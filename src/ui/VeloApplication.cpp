#include "ui/VeloApplication.h"

#include "platform/Log.h"
#include "platform/ThreadPriority.h"
#include "ui/DocumentMainWindow.h"
#include "ui/RecentFiles.h"
#include "ui/ToolbarConfiguration.h"
#include "ui/WindowPlacement.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QImageReader>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

namespace velo {

VeloApplication::VeloApplication(UserDefaults& defaults, QSettings& settings, int numberOfThreads)
    : controller_(defaults, numberOfThreads), settings_(settings) {
    // Documents compute while the user drags: their workers give way to drawing.
    setBackgroundThreadsYield(true);
}

VeloApplication::~VeloApplication() {
    for (DocumentMainWindow* window : windows()) {
        delete window;
    }
}

QList<DocumentMainWindow*> VeloApplication::windows() const {
    QList<DocumentMainWindow*> open;
    for (const OpenWindow& window : windows_) {
        open.append(window.window);
    }
    return open;
}

DocumentMainWindow* VeloApplication::show(std::unique_ptr<VeloDocument> document) {
    auto* window = new DocumentMainWindow(std::move(document), *this);
    // Cascaded from the last window, so that none hides another exactly.
    if (!windows_.isEmpty() && window->screen()) {
        const DocumentMainWindow* last = windows_.last().window;
        window->move(cascadedPosition(last->pos(), window->frameGeometry().size(),
                                      window->screen()->availableGeometry()));
    }
    // A widget announces its end from its base's destructor: by then it is
    // known only as the object it was.
    windows_.append(OpenWindow{window, window});
    connect(window, &QObject::destroyed, this, [this](QObject* gone) {
        windows_.removeIf([gone](const OpenWindow& open) { return open.object == gone; });
        if (quitting_) {
            closeNextWindow();
        }
    });
    window->show();
    return window;
}

// Each new document is told apart by its number: "Untitled 2".
DocumentMainWindow* VeloApplication::newDocument() {
    QStringList names;
    for (DocumentMainWindow* window : windows()) {
        names << QString::fromStdString(window->document().displayName());
    }
    std::unique_ptr<VeloDocument> document = controller_.makeUntitledDocument();
    document->setUntitledName(nextUntitledName(names, tr("Untitled")).toStdString());
    return show(std::move(document));
}

DocumentMainWindow* VeloApplication::openFile(const QString& path, QWidget* parent) {
    QString absolute = QFileInfo(path).absoluteFilePath();
    for (DocumentMainWindow* window : windows()) {
        if (QFileInfo(window->filePath()).absoluteFilePath() == absolute) {
            window->raise();
            window->activateWindow();
            return window;
        }
    }
    DocumentController::Opened opened = controller_.openDocument(absolute.toStdString());
    if (!opened.document) {
        auto* box = new QMessageBox(QMessageBox::Warning, tr("Could not open"),
                                    tr("“%1” could not be opened.").arg(QFileInfo(path).fileName()),
                                    QMessageBox::Ok, parent);
        box->setObjectName("openFailedAlert");
        box->setInformativeText(QString::fromStdString(opened.error));
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setWindowModality(parent ? Qt::WindowModal : Qt::ApplicationModal);
        box->open();
        return nullptr;
    }
    noteRecentFile(absolute);
    return show(std::move(opened.document));
}

QStringList VeloApplication::openFilters() {
    QStringList images;
    for (const QByteArray& format : QImageReader::supportedImageFormats()) {
        images << "*." + QString::fromLatin1(format);
    }
    images.removeDuplicates();
    return {tr("Velo documents and images (*.velo %1)").arg(images.join(' ')),
            tr("Velo document (*.velo)"), tr("Images (%1)").arg(images.join(' ')),
            tr("All files (*)")};
}

void VeloApplication::showOpenDialog(QWidget* parent) {
    auto* dialog = new QFileDialog(parent, tr("Open image"));
    dialog->setObjectName("openDialog");
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setFileMode(QFileDialog::ExistingFiles);
    dialog->setNameFilters(openFilters());
    connect(dialog, &QFileDialog::filesSelected, this, [this, parent](const QStringList& files) {
        for (const QString& file : files) {
            openFile(file, parent);
        }
    });
    dialog->open();
}

QStringList VeloApplication::recentFiles() const {
    return RecentFiles(settings_).files();
}

void VeloApplication::noteRecentFile(const QString& path) {
    RecentFiles(settings_).add(path);
}

void VeloApplication::clearRecentFiles() {
    RecentFiles(settings_).clear();
}

std::vector<std::string> VeloApplication::toolbarItems() const {
    return loadToolbarItemIdentifiers(settings_);
}

void VeloApplication::setToolbarItems(const std::vector<std::string>& items) {
    saveToolbarItemIdentifiers(settings_, items);
    for (DocumentMainWindow* window : windows()) {
        window->applyToolbarItems();
    }
}

void VeloApplication::revertDefaults() {
    controller_.revertDefaults();
}

void VeloApplication::keepRecoveryIn(const QString& folder) {
    recovery_ = RecoveryFolder::open(folder.toStdString());
    if (!recovery_) {
        logMessage("Unsaved work cannot be kept for recovery in " + folder.toStdString());
    }
}

int VeloApplication::offerRecovery() {
    if (!recovery_) {
        return 0;
    }
    std::vector<RecoveryFolder::Orphan> orphans = recovery_->claimOrphans();
    if (orphans.empty()) {
        return 0;
    }
    QStringList names;
    for (const RecoveryFolder::Orphan& orphan : orphans) {
        QString original = QString::fromStdString(orphan.originalPath);
        names << (original.isEmpty() ? tr("Untitled") : QFileInfo(original).fileName());
    }
    bool one = orphans.size() == 1;
    QMessageBox box(QMessageBox::Warning, tr("Recover unsaved work?"),
                    one ? tr("Velo ended before a document could be saved.")
                        : tr("Velo ended before %1 documents could be saved.").arg(orphans.size()));
    box.setObjectName("recoveryAlert");
    box.setInformativeText((one ? tr("Reopen it to save it, or discard it: %1.")
                                : tr("Reopen them to save them, or discard them: %1."))
                               .arg("“" + names.join("”, “") + "”"));
    QPushButton* reopenButton = box.addButton(tr("&Reopen"), QMessageBox::AcceptRole);
    QPushButton* discardButton = box.addButton(tr("&Discard"), QMessageBox::DestructiveRole);
    box.addButton(tr("Decide &Later"), QMessageBox::RejectRole);
    box.setDefaultButton(reopenButton);
    box.exec();
    int opened = 0;
    if (box.clickedButton() == reopenButton) {
        opened = static_cast<int>(windows_.size());
        reopen(orphans);
        opened = static_cast<int>(windows_.size()) - opened;
    } else if (box.clickedButton() == discardButton) {
        for (const RecoveryFolder::Orphan& orphan : orphans) {
            recovery_->discard(orphan);
        }
    }
    recovery_->releaseClaims();
    return opened;
}

// Each is kept anew under this process before the old entry goes, so that
// no moment is without a copy.
void VeloApplication::reopen(const std::vector<RecoveryFolder::Orphan>& orphans) {
    for (const RecoveryFolder::Orphan& orphan : orphans) {
        DocumentController::Opened opened = controller_.openDocument(orphan.document);
        if (!opened.document) {
            logMessage("A recovered document could not be read: " + opened.error);
            continue;
        }
        opened.document->setFileName({});
        show(std::move(opened.document))
            ->showRecovered(QString::fromStdString(orphan.originalPath));
        recovery_->discard(orphan);
    }
}

void VeloApplication::quit() {
    quitting_ = true;
    closeNextWindow();
}

void VeloApplication::quitCancelled() {
    quitting_ = false;
}

void VeloApplication::closeNextWindow() {
    QList<DocumentMainWindow*> open = windows();
    if (open.isEmpty()) {
        quitting_ = false;
        QApplication::quit();
        return;
    }
    open.first()->close();
}

} // namespace velo
