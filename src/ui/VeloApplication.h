#pragma once

#include "document/DocumentController.h"
#include "document/RecoveryFolder.h"

#include <QObject>
#include <QSettings>
#include <QStringList>
#include <string>
#include <vector>

class QWidget;

namespace velo {

class DocumentMainWindow;

// The application: its documents' windows (one each), opening files, the
// recent files, the toolbar configuration shared by every window, and
// quitting without losing unsaved work.
class VeloApplication : public QObject {
    Q_OBJECT
  public:
    // numberOfThreads 0: one worker per processor for each document.
    VeloApplication(UserDefaults& defaults, QSettings& settings, int numberOfThreads = 0);
    ~VeloApplication() override;

    DocumentMainWindow* newDocument();
    // Opens a file in a window of its own, or brings forward the window that
    // has it already; a file that fails says why and opens nothing.
    DocumentMainWindow* openFile(const QString& path, QWidget* parent = nullptr);
    void showOpenDialog(QWidget* parent);
    QList<DocumentMainWindow*> windows() const;

    QStringList recentFiles() const;
    void noteRecentFile(const QString& path);
    void clearRecentFiles();

    std::vector<std::string> toolbarItems() const;
    void setToolbarItems(const std::vector<std::string>& items);

    UserDefaults& defaults() { return controller_.defaults(); }
    // Where the windows keep what persists (geometry, docks, toolbar).
    QSettings& settings() { return settings_; }
    void revertDefaults();

    // Closes every window, each asking about unsaved work; a window whose
    // user cancels stops the quitting.
    void quit();
    void quitCancelled();

    // The file types the open dialog offers: documents and every decodable image.
    static QStringList openFilters();

    // Keeps every window's unsaved work in this folder from now on.
    void keepRecoveryIn(const QString& folder);
    RecoveryFolder* recoveryFolder() const { return recovery_.get(); }
    // Offers what Velo processes that are gone left unsaved: reopened, each
    // in a window of its own, or discarded, as the user chooses; decided
    // later otherwise. Answers how many windows it opened.
    int offerRecovery();

  private:
    DocumentMainWindow* show(std::unique_ptr<VeloDocument> document);
    void closeNextWindow();

    void reopen(const std::vector<RecoveryFolder::Orphan>& orphans);

    DocumentController controller_;
    QSettings& settings_;
    std::unique_ptr<RecoveryFolder> recovery_; // outlives the windows
    struct OpenWindow {
        DocumentMainWindow* window;
        QObject* object;
    };
    QList<OpenWindow> windows_;
    bool quitting_ = false;
};

} // namespace velo
