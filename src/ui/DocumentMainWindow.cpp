// The window's construction and what the document asks of it.
#include "ui/DocumentMainWindow.h"

#include "document/PointerReadout.h"
#include "ui/AdjustmentsDrawer.h"
#include "ui/BitmapView.h"
#include "ui/ColorPanel.h"
#include "ui/ColorWell.h"
#include "ui/PointerReadoutText.h"
#include "ui/QtColors.h"
#include "ui/RecoveryKeeper.h"
#include "ui/StripeMailbox.h"
#include "ui/VeloApplication.h"

#include <QDockWidget>
#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QScrollBar>
#include <QStatusBar>
#include <QTableView>
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
    buildMenus();
    applyToolbarItems();
    finishWindowSetUp();
    if (RecoveryFolder* folder = application_.recoveryFolder()) {
        keeper_ = new RecoveryKeeper(*folder, *document_, this);
        keeper_->setOriginalPath(filePath());
    }
}

DocumentMainWindow::~DocumentMainWindow() {
    document_->setStripeObserver({});
    ColorPanel::shared().documentClosed(document_.get());
    document_->windowShouldClose();
    // The widgets that hold on to the document go before it does.
    delete dock_;
    delete imageView_;
}

void DocumentMainWindow::buildView() {
    imageView_ = new BitmapView(*document_, this);
    imageView_->setObjectName("imageView");
    setCentralWidget(imageView_);
    connect(imageView_, &BitmapView::pressed, this, [this](const BitmapViewClick& click) {
        document_->mouseDownInBitmapView(click);
        documentEdited();
    });
    pointerReadout_ = new QLabel(this);
    pointerReadout_->setObjectName("pointerReadout");
    pointerReadout_->setTextFormat(Qt::RichText);
    statusBar()->addWidget(pointerReadout_, 1);
    connect(imageView_, &BitmapView::pointerMoved, this, [this](const BitmapViewClick& at) {
        pointer_ = at;
        showPointerReadout();
    });
    connect(imageView_, &BitmapView::pointerLeft, this, [this] {
        pointer_.reset();
        showPointerReadout();
    });
    connect(imageView_, &BitmapView::imageDropped, this,
            [this](std::shared_ptr<const Image> image) {
                document_->imageWasDroppedOnBitmapview(std::move(image));
                documentEdited();
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
    connect(drawer_, &AdjustmentsDrawer::selectionChanged, this,
            &DocumentMainWindow::updateActions);
    connect(drawer_, &AdjustmentsDrawer::documentEdited, this, &DocumentMainWindow::documentEdited);
}

// In the order a freshly loaded window needs: view, drops, background,
// size, then the first computation with a clean history.
void DocumentMainWindow::finishWindowSetUp() {
    setUpResizeRule();
    document_->setWindow(this);
    auto* mailbox = new StripeMailbox(this);
    connect(mailbox, &StripeMailbox::stripesFinished, imageView_,
            &BitmapView::refreshFinishedStripes);
    document_->setStripeObserver(mailbox->sender());
    imageView_->setBitmap(document_->destinationBitmap());
    setViewBackgroundColor(document_->backgroundColor());
    setBackgroundWellColor(document_->backgroundColor());
    restoreWindowState();
    document_->finishSetUp();
    connect(&displayTimer_, &QTimer::timeout, this, [this] { document_->displayTimerFired(); });
    displayTimer_.start(kDisplayTickMs);
    endOfEvent_.setSingleShot(true);
    endOfEvent_.setInterval(0);
    connect(&endOfEvent_, &QTimer::timeout, this, [this] {
        document_->undoManager()->endEvent();
        updateActions();
    });
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

// The drawer opens wide enough for every column of the table.
void DocumentMainWindow::showWholeTable() {
    QTableView* table = drawer_->table();
    int wide = table->horizontalHeader()->length() + table->verticalHeader()->width() +
               2 * table->frameWidth() + table->verticalScrollBar()->sizeHint().width() +
               (drawer_->width() - table->width());
    resizeDocks({dock_}, {wide}, Qt::Horizontal);
}

void DocumentMainWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        // The colour panel edits the document whose window was last active.
        ColorPanel::shared().setLastActiveDocument(document_.get());
        // After the activation, so that a question does not come inside it.
        QTimer::singleShot(0, this, &DocumentMainWindow::checkFileOnDisk);
    }
    QMainWindow::changeEvent(event);
}

QString DocumentMainWindow::filePath() const {
    return QString::fromStdString(document_->fileName());
}

void DocumentMainWindow::showPointerReadout() {
    std::optional<PointerReadout> readout =
        pointer_ ? pointerReadout(*document_, *pointer_) : std::nullopt;
    pointerReadout_->setText(readout ? QString::fromStdString(pointerReadoutText(*readout))
                                     : QString());
}

void DocumentMainWindow::documentEdited() {
    endOfEvent_.start();
    updateActions();
    showPointerReadout();
    if (keeper_) {
        keeper_->documentEdited();
    }
}

void DocumentMainWindow::updateTitle(const QString& title) {
    titleText_ = title;
    setWindowTitle(title + "[*]");
    setWindowFilePath(filePath());
}

// What the document asks of its window.

void DocumentMainWindow::setBitmap(std::shared_ptr<Bitmap> bitmap) {
    imageView_->setBitmap(std::move(bitmap));
    windowDidResize();
}

std::shared_ptr<Bitmap> DocumentMainWindow::bitmap() const {
    return imageView_->bitmap();
}

void DocumentMainWindow::setViewBackgroundColor(const ColorRef& color) {
    imageView_->setBackgroundColor(toQColor(color));
}

void DocumentMainWindow::setNeedsDisplay() {
    imageView_->refreshFinishedStripes();
    imageView_->update();
}

void DocumentMainWindow::resultRestarted() {
    imageView_->restarted(LiveDisplay::Sweep::Result);
}

void DocumentMainWindow::influenceRestarted() {
    imageView_->restarted(LiveDisplay::Sweep::Influence);
}

void DocumentMainWindow::reloadData() {
    drawer_->reloadData();
}

void DocumentMainWindow::selectRowAlone(int row) {
    drawer_->selectRowAlone(row);
}

std::vector<int> DocumentMainWindow::selectedRows() const {
    return drawer_->selectedRows();
}

bool DocumentMainWindow::isRowSelected(int row) const {
    return drawer_->isRowSelected(row);
}

int DocumentMainWindow::numberOfRows() const {
    return drawer_->numberOfRows();
}

bool DocumentMainWindow::hasAlphaColumn() const {
    return drawer_->hasAlphaColumn();
}

void DocumentMainWindow::setAlphaColumnShown(bool shown) {
    drawer_->setAlphaColumnShown(shown);
}

Size DocumentMainWindow::drawerContentSize() const {
    return {static_cast<double>(drawer_->width()), static_cast<double>(drawer_->height())};
}

Size DocumentMainWindow::drawerMinContentSize() const {
    QSize minimum = drawer_->minimumSizeHint();
    return {static_cast<double>(minimum.width()), static_cast<double>(minimum.height())};
}

void DocumentMainWindow::setDrawerContentSize(Size size) {
    resizeDocks({dock_}, {static_cast<int>(size.width)}, Qt::Horizontal);
}

void DocumentMainWindow::setToggleImageItem(const std::string& label, const std::string& iconName) {
    QAction* item = toolbarItems_.at("toggleImage");
    item->setText(QString::fromStdString(label));
    item->setIcon(QIcon(QString(":/images/%1.svg").arg(QString::fromStdString(iconName))));
}

void DocumentMainWindow::setBackgroundWellColor(const ColorRef& color) {
    backgroundWell_->setColor(toQColor(color));
}

void DocumentMainWindow::setColorPanelShowsAlpha(bool showsAlpha) {
    ColorPanel::shared().setShowsAlpha(showsAlpha);
}

void DocumentMainWindow::showColorPanel(const ColorRef& color) {
    ColorPanel::shared().showColor(color);
}

void DocumentMainWindow::setTitle(const std::string& title) {
    updateTitle(QString::fromStdString(title));
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
