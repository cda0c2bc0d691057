// The window's construction and how it follows its document's changes.
#include "ui/DocumentMainWindow.h"

#include "ui/AdjustmentsDrawer.h"
#include "ui/BitmapView.h"
#include "ui/ColorPanel.h"
#include "ui/ColorWell.h"
#include "ui/DamageBar.h"
#include "ui/DocumentStatusBar.h"
#include "ui/QtColors.h"
#include "ui/RecoveryKeeper.h"
#include "ui/ThemedIcon.h"
#include "ui/ToolbarItems.h"
#include "ui/VeloApplication.h"
#include "ui/WindowTitle.h"

#include <QDockWidget>
#include <QEvent>
#include <QLabel>
#include <QMessageBox>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

// The artwork is compiled into this library, which a program may link
// statically: it must be registered by hand.
static void registerArtwork() {
    Q_INIT_RESOURCE(velo);
}

namespace velo {

namespace {

constexpr int kDisplayTickMs = 1000;

} // namespace

DocumentMainWindow::DocumentMainWindow(std::unique_ptr<VeloDocument> document,
                                       VeloApplication& application)
    : document_(std::move(document)), application_(application) {
    registerArtwork();
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName("VeloDocumentWindow");
    setWindowIcon(QIcon(":/images/velo.svg"));
    buildView();
    buildDrawer();
    buildToolbarItems();
    showToolbarIcons();
    buildMenus();
    applyToolbarItems();
    finishWindowSetUp();
    if (RecoveryFolder* folder = application_.recoveryFolder()) {
        keeper_ = new RecoveryKeeper(*folder, *document_, this);
        keeper_->setOriginalPath(filePath());
    }
}

DocumentMainWindow::~DocumentMainWindow() {
    delete keeper_;
    ColorPanel::shared().documentClosed(document_.get(), this);
    document_->windowShouldClose();
    // The widgets that hold on to the document go before it does.
    delete dock_;
    delete imageView_;
    delete statusBar_;
}

void DocumentMainWindow::buildView() {
    // The view fills the window while the image fits; a zoom that does not
    // fit the screen scrolls it instead.
    scroller_ = new QScrollArea(this);
    scroller_->setObjectName("imageScroller");
    scroller_->setFrameShape(QFrame::NoFrame);
    scroller_->setAlignment(Qt::AlignCenter);
    scroller_->setWidgetResizable(true);
    scroller_->setFocusPolicy(Qt::NoFocus); // Tab goes from the view to the table
    imageView_ = new BitmapView(*document_, scroller_);
    imageView_->setObjectName("imageView");
    imageView_->setAccessibleName(tr("Image"));
    imageView_->setAccessibleDescription(
        tr("The adjusted image; click a colour to adjust it, Space shows the original"));
    scroller_->setWidget(imageView_);
    setCentralWidget(scroller_);
    connect(imageView_, &BitmapView::zoomWheeled, this, &DocumentMainWindow::zoomAboutPoint);
    connect(imageView_, &BitmapView::spaceTapped, this, [this] {
        if (QAction* toggle = action("toggleImage"); toggle && toggle->isEnabled()) {
            toggle->trigger();
        }
    });
    connect(imageView_, &BitmapView::panned, this, [this](QPoint by) {
        scroller_->horizontalScrollBar()->setValue(scroller_->horizontalScrollBar()->value() -
                                                   by.x());
        scroller_->verticalScrollBar()->setValue(scroller_->verticalScrollBar()->value() - by.y());
    });
    connect(imageView_, &BitmapView::pressed, this,
            [this](const BitmapViewClick& click) { document_->mouseDownInBitmapView(click); });
    connect(imageView_, &BitmapView::strokeStarted, this,
            [this](const BitmapViewClick& at, bool widen) {
                if (std::optional<PixelIndex> pixel = sourcePixelAt(*document_, at)) {
                    document_->beginStroke(*pixel, widen);
                }
            });
    connect(imageView_, &BitmapView::strokeExtended, this, [this](const BitmapViewClick& to) {
        if (std::optional<PixelIndex> pixel = sourcePixelAt(*document_, to)) {
            document_->extendStroke(*pixel);
        }
    });
    connect(imageView_, &BitmapView::strokeEnded, this, [this] { document_->endStroke(); });
    statusBar_ = new DocumentStatusBar(*document_, *statusBar());
    connect(imageView_, &BitmapView::pointerMoved, statusBar_,
            [this](const BitmapViewClick& at) { statusBar_->pointerAt(at); });
    connect(imageView_, &BitmapView::pointerLeft, statusBar_,
            [this] { statusBar_->pointerAt(std::nullopt); });
    connect(imageView_, &BitmapView::imageDropped, this,
            [this](std::shared_ptr<const Image> image) {
                document_->imageWasDroppedOnBitmapview(std::move(image));
            });
    connect(imageView_, &BitmapView::dropFailed, this, [this](const QString& reason) {
        showAlertSheet(tr("The image could not be dropped").toStdString(), reason.toStdString());
    });
}

void DocumentMainWindow::buildDrawer() {
    dock_ = new QDockWidget(tr("Color Adjustments"), this);
    dock_->setObjectName("colorAdjustmentsDrawer");
    dock_->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    drawer_ = new AdjustmentsDrawer(*document_, dock_);
    dock_->setWidget(drawer_);
    addDockWidget(Qt::RightDockWidgetArea, dock_);
    connect(drawer_, &AdjustmentsDrawer::minimumWidthChanged, this,
            &DocumentMainWindow::widenDrawerBy);
}

// In the order a freshly loaded window needs: view, drops, background,
// size, then the first computation with a clean history.
void DocumentMainWindow::finishWindowSetUp() {
    setUpResizeRule();
    document_->addObserver(this);
    showBackground();
    restoreWindowState();
    showDamage();
    document_->finishSetUp();
    connect(&displayTimer_, &QTimer::timeout, this, [this] { document_->displayTimerFired(); });
    displayTimer_.start(kDisplayTickMs);
    endOfEvent_.setSingleShot(true);
    endOfEvent_.setInterval(0);
    connect(&endOfEvent_, &QTimer::timeout, this, [this] {
        // A drag in the colour panel or of a reach is one step, however many
        // events it takes.
        if (ColorPanel::shared().isMidGesture() || document_->sharePreviewRow()) {
            return;
        }
        document_->endUndoStep();
        updateActions();
    });
    connect(&ColorPanel::shared(), &ColorPanel::gestureEnded, &endOfEvent_,
            qOverload<>(&QTimer::start));
    updateTitle(QString::fromStdString(document_->displayName()));
    updateActions();
}

// The window's chrome is known once it is laid out: size it to its image then.
void DocumentMainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!shownOnce_) {
        shownOnce_ = true;
        showWholeTable();
        // Once the drawer's new width is laid out.
        QTimer::singleShot(0, this, &DocumentMainWindow::fitWindowToImage);
    }
}

// The drawer opens at its whole table's width.
void DocumentMainWindow::showWholeTable() {
    resizeDocks({dock_}, {drawer_->minimumWidth()}, Qt::Horizontal);
}

void DocumentMainWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        // The colour panel edits the document whose window was last active.
        ColorPanel::shared().setLastActiveDocument(document_.get(), this);
        ColorPanel::shared().setEditedCell(colorPanelTarget(*document_));
        // After the activation, so that a question does not come inside it.
        QTimer::singleShot(0, this, &DocumentMainWindow::checkFileOnDisk);
    }
    if (event->type() == QEvent::PaletteChange && !toolbarItems_.empty()) {
        showToolbarIcons();
    }
    QMainWindow::changeEvent(event);
}

QString DocumentMainWindow::filePath() const {
    return QString::fromStdString(document_->fileName());
}

void DocumentMainWindow::updateTitle(const QString& title) {
    titleText_ = title;
    setWindowTitle(title + "[*]");
    setWindowFilePath(filePath());
}

// The document's changes, into widgets.

void DocumentMainWindow::documentChanged(DocumentChange changes) {
    using enum DocumentChange;
    if (hasAny(changes, Image | ShownImage)) {
        showShownImage();
    }
    if (hasAny(changes, Image)) {
        showDamage();
    }
    if (hasAny(changes, Image) && document_->sourceImage()) {
        fitWindowToImage();
    }
    if (hasAny(changes, Background)) {
        showBackground();
    }
    if (hasAny(changes, Progress)) {
        showProgress();
    }
    if (hasAny(changes, Lists | Rows | Selection) &&
        ColorPanel::shared().lastActiveDocument() == document_.get()) {
        ColorPanel::shared().setEditedCell(colorPanelTarget(*document_));
    }
    if (hasAny(changes, kSavedContent | Selection | Edited | UndoStack | ShownImage)) {
        // One undo step per user event: the step closes once the event is over.
        endOfEvent_.start();
        updateActions();
    }
}

// The view follows the document by itself; the zoom it shows at may change
// with another bitmap.
void DocumentMainWindow::showShownImage() {
    if (shownBitmap_.lock() != imageView_->bitmap()) {
        shownBitmap_ = imageView_->bitmap();
        windowDidResize();
    }
    showImageToggle();
}

void DocumentMainWindow::showImageToggle() {
    bool showsAdjusted = document_->shownImage() == VeloDocument::ShownImage::Adjusted;
    QAction* item = toolbarItems_.at(toolbar::kToggleImage);
    item->setText(showsAdjusted ? tr("Show original") : tr("Show adjusted"));
    item->setIcon(themedIcon(showsAdjusted ? ":/images/ToggleModificationsOff.svg"
                                           : ":/images/ToggleModificationsOn.svg",
                             palette()));
}

// In the desktop's colours, again whenever they change (a dark theme).
void DocumentMainWindow::showToolbarIcons() {
    toolbarItems_.at(toolbar::kToggleDrawer)
        ->setIcon(themedIcon(":/images/showdrawer.svg", palette()));
    toolbarItems_.at(toolbar::kInfluence)->setIcon(themedIcon(":/images/influence.svg", palette()));
    toolbarItems_.at(toolbar::kSplit)->setIcon(themedIcon(":/images/split.svg", palette()));
    showImageToggle();
}

void DocumentMainWindow::showBackground() {
    QColor background = toQColor(document_->backgroundColor());
    imageView_->setBackgroundColor(background);
    backgroundWell_->setColor(background);
}

// The drawer grows or shrinks with its alpha column, never below its minimum.
// The drawer takes its alpha column's width from the window, not from the
// image: the window grows or shrinks by it, so the zoom stays.
void DocumentMainWindow::widenDrawerBy(int grow) {
    if (grow == 0 || !dock_->isVisible()) {
        return;
    }
    int wide = std::max(dock_->width() + grow, drawer_->minimumWidth());
    if (mayResizeItself()) {
        resizeWithinScreen(size() + QSize(grow, 0));
    }
    resizeDocks({dock_}, {wide}, Qt::Horizontal);
}

void DocumentMainWindow::keepImageBesideDrawer(bool drawerShown) {
    if (!mayResizeItself() || !isVisible()) {
        return;
    }
    int drawer = dock_->width() + style()->pixelMetric(QStyle::PM_DockWidgetSeparatorExtent);
    resizeWithinScreen(size() + QSize(drawerShown ? drawer : -drawer, 0));
}

void DocumentMainWindow::showDamage() {
    damageBar_->showDamage(QString::fromStdString(document_->sourceDamage()));
}

void DocumentMainWindow::showProgress() {
    std::optional<float> progress = document_->resultProgress();
    updateTitle(progress ? progressTitle(*progress)
                         : QString::fromStdString(document_->displayName()));
}

void DocumentMainWindow::showAlertSheet(const std::string& title, const std::string& message) {
    auto* box = new QMessageBox(QMessageBox::Warning, QString::fromStdString(title),
                                QString::fromStdString(message), QMessageBox::Ok, this);
    box->setObjectName("alertSheet");
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    box->open();
}

} // namespace velo
