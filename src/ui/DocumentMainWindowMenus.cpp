// The window's menus, their shortcuts and their enabling.
#include "ui/DocumentMainWindow.h"

#include "display/ScreenProfile.h"
#include "document/AreaSample.h"
#include "ui/AdjustmentsDrawer.h"
#include "ui/BitmapView.h"
#include "ui/ColorWell.h"
#include "ui/Handbook.h"
#include "ui/HelpDialogs.h"
#include "ui/ToolbarItems.h"
#include "ui/VeloApplication.h"
#include "ui/ZoomRules.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDockWidget>
#include <QFileInfo>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QTableView>
#include <QToolBar>
#include <QUrl>

namespace velo {

namespace {

// The pick's sample size, kept for every window and the next start.
const QString kSampleSizeKey = QStringLiteral("SampleSize");
// Whether views show images in the screen's colours, likewise.
const QString kMatchColorsKey = QStringLiteral("MatchColorsToDisplay");

QList<QKeySequence> keys(std::initializer_list<QKeySequence> sequences) {
    return QList<QKeySequence>(sequences);
}

} // namespace

QAction* DocumentMainWindow::action(const std::string& name) const {
    auto it = actions_.find(name);
    return it == actions_.end() ? nullptr : it->second;
}

QAction* DocumentMainWindow::addAction(QMenu* menu, const std::string& name, const QString& text,
                                       void (DocumentMainWindow::*slot)(), Command command) {
    QAction* item = menu->addAction(text);
    item->setObjectName(QString::fromStdString(name));
    if (slot) {
        connect(item, &QAction::triggered, this, slot);
    }
    actions_[name] = item;
    validated_.emplace_back(item, command);
    return item;
}

void DocumentMainWindow::buildMenus() {
    buildFileMenu();
    buildEditMenu();
    buildImageMenu();
    buildViewMenu();
    buildHelpMenu();
    for (QMenu* menu : menuBar()->findChildren<QMenu*>()) {
        connect(menu, &QMenu::aboutToShow, this, &DocumentMainWindow::updateActions);
    }
}

void DocumentMainWindow::buildFileMenu() {
    QMenu* file = menuBar()->addMenu(tr("&File"));
    QAction* item =
        file->addAction(tr("&New"), &application_, [this] { application_.newDocument(); });
    item->setShortcut(QKeySequence::New);
    actions_["new"] = item;
    item = file->addAction(tr("&Open…"), this, [this] { application_.showOpenDialog(this); });
    item->setShortcut(QKeySequence::Open);
    actions_["open"] = item;
    recentMenu_ = file->addMenu(tr("Open &Recent"));
    recentMenu_->setObjectName("recentMenu");
    connect(recentMenu_, &QMenu::aboutToShow, this, &DocumentMainWindow::refreshRecentMenu);
    file->addSeparator();
    addAction(file, "save", tr("&Save"), &DocumentMainWindow::saveDocument, Command::Save)
        ->setShortcut(QKeySequence::Save);
    addAction(file, "saveAs", tr("Save &As…"), &DocumentMainWindow::saveDocumentAs, Command::SaveAs)
        ->setShortcuts(keys({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)}));
    addAction(file, "export", tr("&Export…"), &DocumentMainWindow::exportImage, Command::Export)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    addAction(file, "exportLut", tr("Export &LUT…"), &DocumentMainWindow::exportLut);
    addAction(file, "exportInfluence", tr("Export &Influence…"),
              &DocumentMainWindow::exportInfluence, Command::Export);
    addAction(file, "revert", tr("Re&vert to Saved"), &DocumentMainWindow::revertToSaved,
              Command::Revert);
    file->addSeparator();
    QAction* print = addAction(file, "print", tr("&Print…"), nullptr, Command::Print);
    print->setShortcut(QKeySequence::Print);
    connect(print, &QAction::triggered, this, [this] { printShowingPrintPanel(true); });
    file->addSeparator();
    item = file->addAction(tr("&Close"), this, &QWidget::close);
    item->setShortcut(QKeySequence::Close);
    actions_["close"] = item;
    item = file->addAction(tr("&Quit"), &application_, [this] { application_.quit(); });
    item->setShortcuts(keys({QKeySequence(Qt::CTRL | Qt::Key_Q)}));
    item->setMenuRole(QAction::QuitRole);
    actions_["quit"] = item;
}

void DocumentMainWindow::buildEditMenu() {
    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    addAction(edit, "undo", tr("&Undo"), &DocumentMainWindow::undo, Command::Undo)
        ->setShortcut(QKeySequence::Undo);
    addAction(edit, "redo", tr("&Redo"), &DocumentMainWindow::redo, Command::Redo)
        ->setShortcuts(keys(
            {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)}));
    edit->addSeparator();
    // The Delete key alone: Qt's standard binding adds Ctrl+D on X11.
    addAction(edit, "delete", tr("&Delete"), &DocumentMainWindow::deleteSelectedAdjustents,
              Command::Clear)
        ->setShortcut(QKeySequence(Qt::Key_Delete));
    // The click that protects a colour in the image, named where the key would be.
    addAction(edit, "protect", tr("&Protect Color\tCtrl+Alt+Click"),
              &DocumentMainWindow::protectSelectedAdjustments, Command::ProtectSelectedAdjustments);
    // The table's context menu offers what acts on the selected rows.
    QTableView* table = drawer_->table();
    table->setContextMenuPolicy(Qt::ActionsContextMenu);
    table->addAction(action("protect"));
    table->addAction(action("delete"));
    addAction(edit, "selectAll", tr("Select &All"), &DocumentMainWindow::selectAll,
              Command::SelectAll)
        ->setShortcut(QKeySequence::SelectAll);
    edit->addSeparator();
    addAction(edit, "newAdjustment", tr("&New Adjustment"), &DocumentMainWindow::newAdjustment,
              Command::NewAdjustment)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N));
    addAction(edit, "saveAdjustmentsAsDefault", tr("Sa&ve Adjustments as Default"),
              &DocumentMainWindow::saveColorAdjustmentsAsDefault);
    addAction(edit, "revertDefaults", tr("Revert to &Built-in Defaults"),
              &DocumentMainWindow::revertDefaults);
}

void DocumentMainWindow::buildImageMenu() {
    QMenu* image = menuBar()->addMenu(tr("&Image"));
    addAction(image, "toggleImageAlpha", tr("Add alpha channel"),
              &DocumentMainWindow::toggleImageAlpha, Command::ToggleImageAlpha);
    QAction* toggle = addAction(image, "toggleImage", tr("Show Original"),
                                &DocumentMainWindow::toggleSourceOrDestinationImage,
                                Command::ToggleSourceOrDestinationImage);
    // Space flips the view only while the view itself has the focus.
    toggle->setShortcut(QKeySequence(Qt::Key_Space));
    toggle->setShortcutContext(Qt::WidgetShortcut);
    imageView_->addAction(toggle);
    addAction(image, "backgroundColor", tr("&Background Color…"),
              &DocumentMainWindow::chooseBackgroundColor, Command::TakeBackgroundColorFrom);
}

void DocumentMainWindow::buildViewMenu() {
    QMenu* view = menuBar()->addMenu(tr("&View"));
    QAction* influence = addAction(view, "toggleInfluence", tr("I&nfluence"),
                                   &DocumentMainWindow::toggleInfluence, Command::ToggleInfluence);
    influence->setCheckable(true);
    influence->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
    QAction* split = addAction(view, "split", tr("S&plit"), &DocumentMainWindow::toggleSplit);
    split->setCheckable(true);
    split->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O));
    QAction* match = addAction(view, "matchColors", tr("&Match Colors to Display"), nullptr);
    match->setCheckable(true);
    connect(match, &QAction::triggered, this, &DocumentMainWindow::chooseColorMatching);
    showColorMatching();
    view->addSeparator();
    for (const std::string& title : standardZoomTitles()) {
        int percent = std::stoi(title);
        QAction* zoom = addAction(view, "zoom" + std::to_string(percent),
                                  QString::fromStdString(title), nullptr, Command::Zoom);
        zoom->setData(percent); // the item's tag is its percentage
        connect(zoom, &QAction::triggered, this, [this, percent] { zoomDocumentWindow(percent); });
    }
    view->addSeparator();
    addAction(view, "zoom100", tr("&Actual Size"), &DocumentMainWindow::zoom100, Command::Zoom)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    addAction(view, "zoomIn", tr("Zoom &In"), &DocumentMainWindow::zoomIn, Command::Zoom)
        ->setShortcuts(
            keys({QKeySequence(QKeySequence::ZoomIn), QKeySequence(Qt::CTRL | Qt::Key_Equal)}));
    addAction(view, "zoomOut", tr("Zoom &Out"), &DocumentMainWindow::zoomOut, Command::Zoom)
        ->setShortcut(QKeySequence::ZoomOut);
    view->addSeparator();
    QAction* drawer = dock_->toggleViewAction();
    drawer->setText(tr("&Color Adjustments"));
    drawer->setShortcut(QKeySequence(Qt::Key_F9));
    drawer->setObjectName("toggleDrawer");
    connect(drawer, &QAction::triggered, this, &DocumentMainWindow::keepImageBesideDrawer);
    view->addAction(drawer);
    actions_["toggleDrawer"] = drawer;
    QAction* bar = toolbar_->toggleViewAction();
    bar->setText(tr("&Toolbar"));
    bar->setObjectName("toggleToolbar");
    view->addAction(bar);
    actions_["toggleToolbar"] = bar;
    addAction(view, "customizeToolbar", tr("Customi&ze Toolbar…"),
              &DocumentMainWindow::customizeToolbar);
    view->addSeparator();
    buildSampleSizeMenu(view->addMenu(tr("&Sample Size")));
    view->addSeparator();
    QAction* full =
        addAction(view, "fullScreen", tr("&Full Screen"), &DocumentMainWindow::toggleFullScreen);
    full->setCheckable(true);
    full->setShortcut(QKeySequence(Qt::Key_F11));
}

void DocumentMainWindow::buildHelpMenu() {
    QMenu* help = menuBar()->addMenu(tr("&Help"));
    QAction* handbook = help->addAction(tr("Velo &Handbook"), this, [this] { openHandbook(); });
    handbook->setObjectName("handbook");
    handbook->setShortcut(QKeySequence::HelpContents);
    actions_["handbook"] = handbook;
    QAction* shortcuts = help->addAction(tr("&Keyboard Shortcuts"), this,
                                         [this] { showKeyboardShortcuts(this, *menuBar()); });
    shortcuts->setObjectName("keyboardShortcuts");
    actions_["keyboardShortcuts"] = shortcuts;
    help->addSeparator();
    QAction* about = help->addAction(tr("&About Velo"), this, [this] { showAbout(this); });
    about->setObjectName("about");
    about->setMenuRole(QAction::AboutRole);
    actions_["about"] = about;
}

// In the user's browser; a missing handbook is said, not passed over in silence.
void DocumentMainWindow::openHandbook() {
    QString page = handbookPath(QCoreApplication::applicationDirPath());
    if (page.isEmpty()) {
        showAlertSheet(tr("The handbook was not found").toStdString(),
                       tr("Velo looks for its handbook in share/doc/velo/handbook beside the "
                          "program, and this installation has none there. Velo’s package, or "
                          "cmake --install, puts it there.")
                           .toStdString());
        return;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(page))) {
        showAlertSheet(tr("The handbook could not be shown").toStdString(),
                       tr("No web browser opened %1.").arg(page).toStdString());
    }
}

void DocumentMainWindow::buildSampleSizeMenu(QMenu* menu) {
    menu->setObjectName("sampleSizeMenu");
    auto* sizes = new QActionGroup(menu);
    for (int size : kSampleSizes) {
        QAction* item =
            menu->addAction(size == 1 ? tr("&Point Sample") : tr("%1 by %1 Average").arg(size));
        item->setObjectName(QStringLiteral("sampleSize%1").arg(size));
        item->setCheckable(true);
        sizes->addAction(item);
        actions_["sampleSize" + std::to_string(size)] = item;
        connect(item, &QAction::triggered, this, [this, size] { chooseSampleSize(size); });
    }
    showSampleSize();
}

void DocumentMainWindow::chooseSampleSize(int sampleSize) {
    application_.settings().setValue(kSampleSizeKey, sampleSize);
    for (DocumentMainWindow* window : application_.windows()) {
        window->showSampleSize();
    }
}

void DocumentMainWindow::showSampleSize() {
    int size = application_.settings().value(kSampleSizeKey, 1).toInt();
    document_->setPickSampleSize(size);
    if (QAction* item = action("sampleSize" + std::to_string(document_->pickSampleSize()))) {
        item->setChecked(true);
    }
}

// The view's own, not the document's: the document shows what it shows, and
// the view puts the original beside it.
void DocumentMainWindow::toggleSplit() {
    imageView_->setSplit(!imageView_->isSplit());
    updateActions();
}

void DocumentMainWindow::chooseColorMatching(bool on) {
    application_.settings().setValue(kMatchColorsKey, on);
    for (DocumentMainWindow* window : application_.windows()) {
        window->showColorMatching();
    }
}

// The screen's profile is read anew each time: a colour manager may have
// changed it since.
void DocumentMainWindow::showColorMatching() {
    bool on = application_.settings().value(kMatchColorsKey, true).toBool();
    imageView_->matchColors(on, on ? screenIccProfile() : nullptr);
}

void DocumentMainWindow::refreshRecentMenu() {
    recentMenu_->clear();
    QStringList files = application_.recentFiles();
    for (const QString& path : files) {
        recentMenu_
            ->addAction(QFileInfo(path).fileName(), &application_,
                        [this, path] { application_.openFile(path, this); })
            ->setToolTip(path);
    }
    if (!files.isEmpty()) {
        recentMenu_->addSeparator();
    }
    QAction* clear = recentMenu_->addAction(tr("Clear Menu"), &application_,
                                            [this] { application_.clearRecentFiles(); });
    clear->setEnabled(!files.isEmpty());
}

void DocumentMainWindow::updateActions() {
    for (auto& [item, command] : validated_) {
        if (command == Command::Other) {
            continue;
        }
        Validation validation = document_->validateMenuItem(command);
        item->setEnabled(validation.enabled);
        if (validation.title) {
            item->setText(QString::fromStdString(*validation.title));
        }
    }
    actions_.at("fullScreen")->setChecked(isFullScreen());
    actions_.at("toggleInfluence")->setChecked(document_->showsInfluence());
    for (QAction* split : {actions_.at("split"), toolbarItems_.at(toolbar::kSplit)}) {
        split->setEnabled(document_->sourceBitmap() != nullptr);
        split->setChecked(imageView_->isSplit());
    }
    actions_.at("matchColors")
        ->setChecked(application_.settings().value(kMatchColorsKey, true).toBool());
    QAction* influence = toolbarItems_.at(toolbar::kInfluence);
    influence->setChecked(document_->showsInfluence());
    influence->setEnabled(document_->validateUserInterfaceItem(Command::ToggleInfluence));
    if (backgroundWell_) {
        backgroundWell_->setEnabled(
            document_->validateUserInterfaceItem(Command::TakeBackgroundColorFrom));
    }
    if (zoomMenu_) {
        zoomMenu_->setEnabled(document_->validateUserInterfaceItem(Command::Zoom));
    }
    setWindowModified(document_->isDocumentEdited());
}

} // namespace velo
