#include "ui/VeloApplication.h"

#include "ui/DocumentMainWindow.h"
#include "ui/RecentFiles.h"
#include "ui/ToolbarConfiguration.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QImageReader>
#include <QMessageBox>

namespace velo {

VeloApplication::VeloApplication(UserDefaults& defaults, QSettings& settings, int numberOfThreads)
    : controller_(defaults, numberOfThreads), settings_(settings) {}

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

DocumentMainWindow* VeloApplication::newDocument() {
    return show(controller_.makeUntitledDocument());
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
