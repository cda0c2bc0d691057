#pragma once

#include "document/DocumentObserver.h"
#include "document/FileLife.h"
#include "document/LutExport.h"
#include "document/VeloDocument.h"
#include "platform/Files.h"

#include <QMainWindow>
#include <QTimer>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class QAction;
class QComboBox;
class QDockWidget;
class QLabel;
class QMenu;
class QPrinter;
class QScrollArea;
class QToolBar;

namespace velo {

class AdjustmentsDrawer;
class DamageBar;
class DocumentStatusBar;
class BitmapView;
class RecoveryKeeper;
class ColorWell;
class VeloApplication;

// One document's window: the image view, the drawer with the adjustments,
// the toolbar and the menus. It turns the user's actions into calls of its
// document and the document's changes into widgets; the window owns the
// document and closes with it.
class DocumentMainWindow : public QMainWindow, public DocumentObserver {
    Q_OBJECT
  public:
    DocumentMainWindow(std::unique_ptr<VeloDocument> document, VeloApplication& application);
    ~DocumentMainWindow() override;

    VeloDocument& document() { return *document_; }
    BitmapView& imageView() { return *imageView_; }
    AdjustmentsDrawer& drawer() { return *drawer_; }
    QToolBar& toolbar() { return *toolbar_; }
    QComboBox& zoomMenu() { return *zoomMenu_; }
    ColorWell& backgroundWell() { return *backgroundWell_; }
    QAction* action(const std::string& name) const;
    QString filePath() const;

    // The file commands with their target chosen (the dialogs end here).
    bool saveToFile(const QString& path);
    bool exportToFile(const QString& path, const std::string& typeName);
    bool exportLutToFile(const QString& path, const LutSettings& settings);
    bool exportInfluenceToFile(const QString& path);
    void printTo(QPrinter& printer);
    // Rebuilds the toolbar from the application's item list.
    void applyToolbarItems();
    // The document was recovered after a crash from unsaved work on the file
    // at originalPath ("" for an untitled document): it is edited, untitled
    // and named after it.
    void showRecovered(const QString& originalPath);
    // Asks about a change another program made to the document's file.
    void checkFileOnDisk();

    void documentChanged(DocumentChange changes) override;
    // Sizes the window to show the image at the zoom it has.
    void fitWindowToImage();
    // A warning sheet on this window.
    void showAlertSheet(const std::string& title, const std::string& message);

  public slots:
    // The user's actions.
    void saveDocument();
    void saveDocumentAs();
    void exportImage();
    void exportLut();
    void revertToSaved();
    void printShowingPrintPanel(bool showPanel);
    void undo();
    void redo();
    void deleteSelectedAdjustents(); // spelled as the document's command
    void protectSelectedAdjustments();
    void selectAll();
    void newAdjustment();
    void saveColorAdjustmentsAsDefault();
    void revertDefaults();
    void toggleImageAlpha();
    void toggleSourceOrDestinationImage();
    void toggleInfluence();
    // The original left of a line the user drags, the result right of it.
    void toggleSplit();
    void exportInfluence();
    void chooseBackgroundColor();
    void takeBackgroundColorFrom(const QColor& color);
    void zoomDocumentWindow(int percent);
    void zoomToTitle(const QString& title);
    void zoom100();
    void zoomIn();
    void zoomOut();
    // Ctrl+wheel: the next zoom in or out, the image point under the pointer
    // staying under it where the view scrolls.
    void zoomAboutPoint(bool in, QPointF atView);
    void toggleFullScreen();
    void customizeToolbar();
    // Picks average a square this many pixels a side, in every window.
    void chooseSampleSize(int sampleSize);
    // Whether views convert images to the screen's colours, in every window.
    void chooseColorMatching(bool on);
    // Enables every action, and titles those named by the state.
    void updateActions();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    QMenu* createPopupMenu() override;

  private:
    void showToolbarIcons();
    void showImageToggle();
    // Tells the user when the defaults just changed did not reach the disk.
    void alertIfDefaultsNotStored();
    // Takes the stored sample size into the document and the menu.
    void showSampleSize();
    // Takes the stored colour matching and the screen's profile into the view.
    void showColorMatching();
    // The status bar's readout of the pixel under the pointer.
    void buildView();
    void buildDrawer();
    void buildToolbarItems();
    void buildMenus();
    void buildFileMenu();
    void buildEditMenu();
    void buildImageMenu();
    void buildViewMenu();
    void buildHelpMenu();
    void openHandbook();
    void buildSampleSizeMenu(QMenu* menu);
    QAction* addAction(QMenu* menu, const std::string& name, const QString& text,
                       void (DocumentMainWindow::*slot)(), Command command = Command::Other);
    void finishWindowSetUp();
    void showWholeTable();
    void refreshRecentMenu();
    // Does what the file life decided; answers whether it wrote the document.
    bool carryOut(const FileLife::Step& step);
    void askToSaveThenClose();
    void askToRevert();
    // Reads the saved version back, without asking.
    void revertDocument();
    void saveOverChangedFile(const QString& path);
    bool writeDocumentTo(const QString& path);
    void offerRevertToChangedFile();
    bool writeRepresentation(const QString& path, const std::string& typeName);
    bool refuseOwnFile(const QString& path, const QString& what);
    void chooseLutFile(const LutSettings& settings);
    QString suggestedPath(const QString& extension, const QString& suffix = {}) const;
    void windowDidResize();
    // Fits the window once more when the window manager has told the frame
    // it adds, which the first fit could not count.
    void refitWithFrame();
    void setUpResizeRule();
    void applyResizeRule();
    void rememberSettledSize();
    void setContentSize(double width, double height);
    void resizeWithinScreen(QSize wanted);
    QSize chrome() const;
    QSize largestWindowSize() const;
    bool mayResizeItself() const;
    std::optional<float> currentZoom() const;
    // Whether the view has its zoom's size inside the scroll area (the image
    // does not fit), rather than the window's.
    bool scrolls() const;
    void showScrolled(bool scrolled, QSize content);
    // The image's size in pixels, which zooms count.
    std::optional<QSize> imagePixels() const;
    void restoreWindowState();
    void saveWindowState();
    void updateTitle(const QString& title);
    void showShownImage();
    void showBackground();
    void widenDrawerBy(int grow);
    // The window narrows as the drawer goes and widens as it comes, so the
    // image keeps its size.
    void keepImageBesideDrawer(bool drawerShown);
    void showProgress();
    void showDamage();

    std::unique_ptr<VeloDocument> document_;
    VeloApplication& application_;
    QScrollArea* scroller_ = nullptr;
    DamageBar* damageBar_ = nullptr;
    BitmapView* imageView_ = nullptr;
    DocumentStatusBar* statusBar_ = nullptr;
    std::weak_ptr<Bitmap> shownBitmap_; // the zoom was last shown for it
    AdjustmentsDrawer* drawer_ = nullptr;
    QDockWidget* dock_ = nullptr;
    QToolBar* toolbar_ = nullptr;
    QComboBox* zoomMenu_ = nullptr;
    ColorWell* backgroundWell_ = nullptr;
    QMenu* recentMenu_ = nullptr;
    std::map<std::string, QAction*> actions_;
    std::vector<std::pair<QAction*, Command>> validated_;
    std::map<std::string, QAction*> toolbarItems_;
    QTimer displayTimer_;
    QTimer resizeSettled_;
    QTimer endOfEvent_;
    QSize settledFrame_, settledContent_;
    bool resizingItself_ = false;
    bool fittedWithoutFrame_ = false; // before the window manager told its frame
    bool shownOnce_ = false;
    FileLife fileLife_{*document_};
    QString titleText_;
    RecoveryKeeper* keeper_ = nullptr; // none without a recovery folder
};

} // namespace velo
