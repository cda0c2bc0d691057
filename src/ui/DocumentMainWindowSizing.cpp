// Zoom and window size: the window keeps the image's proportions, sizes
// itself to a zoom, and shows the zoom it has. Zoom counts image pixels:
// 100 % is one image pixel per screen pixel, whatever resolution the file
// states (that resolution is for print and for the files written).
#include "ui/DocumentMainWindow.h"

#include "ui/BitmapView.h"
#include "ui/DocumentStatusBar.h"
#include "ui/ResizeRule.h"
#include "ui/VeloApplication.h"
#include "ui/ZoomRules.h"

#include <QComboBox>
#include <QLabel>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QToolBar>
#include <QWindow>
#include <algorithm>
#include <cmath>

namespace velo {

namespace {

// The user's resize counts as done once no resize came for this long.
constexpr int kResizeSettleMs = 250;

QSize qSize(Size size) {
    return {static_cast<int>(std::lround(size.width)), static_cast<int>(std::lround(size.height))};
}

} // namespace

QSize DocumentMainWindow::chrome() const {
    return size() - scroller_->size();
}

bool DocumentMainWindow::scrolls() const {
    return !scroller_->widgetResizable();
}

void DocumentMainWindow::showScrolled(bool scrolled, QSize content) {
    scroller_->setWidgetResizable(!scrolled);
    if (scrolled) {
        imageView_->resize(content);
        windowDidResize();
        imageView_->fitDisplayToSize();
    }
}

// The most the window may take: the screen's available area less the
// window manager's frame.
QSize DocumentMainWindow::largestWindowSize() const {
    QScreen* screen = this->screen();
    if (!screen) {
        return {16384, 16384};
    }
    QSize decoration = frameGeometry().size() - geometry().size();
    return screen->availableGeometry().size() - decoration;
}

// Never while the window manager decides the size.
bool DocumentMainWindow::mayResizeItself() const {
    return !(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized));
}

// The window takes the content's size where the screen has room for it;
// where not, or where the window manager decides the window's size, the view
// takes it and scrolls.
void DocumentMainWindow::setContentSize(double width, double height) {
    QSize content(static_cast<int>(std::lround(width)), static_cast<int>(std::lround(height)));
    if (!mayResizeItself()) {
        showScrolled(true, content);
        return;
    }
    QSize room = largestWindowSize() - chrome();
    bool fits = content.width() <= room.width() && content.height() <= room.height();
    showScrolled(!fits, content);
    resizeWithinScreen(content.boundedTo(room) + chrome());
}

// Takes the size, moved as far as needed to stay on the screen.
void DocumentMainWindow::resizeWithinScreen(QSize wanted) {
    QSize fitted = wanted.boundedTo(largestWindowSize()).expandedTo(minimumSizeHint());
    resizingItself_ = true;
    if (QScreen* screen = this->screen()) {
        QRect area = screen->availableGeometry();
        QSize decoration = frameGeometry().size() - geometry().size();
        QPoint at = pos();
        at.setX(std::max(area.left(),
                         std::min(at.x(), area.right() + 1 - fitted.width() - decoration.width())));
        at.setY(std::max(area.top(), std::min(at.y(), area.bottom() + 1 - fitted.height() -
                                                          decoration.height())));
        if (at != pos()) {
            move(at);
        }
    }
    resize(fitted);
    resizingItself_ = false;
    rememberSettledSize();
    windowDidResize();
    imageView_->fitDisplayToSize();
}

void DocumentMainWindow::rememberSettledSize() {
    settledFrame_ = size();
    settledContent_ = scroller_->size();
}

std::optional<QSize> DocumentMainWindow::imagePixels() const {
    const std::shared_ptr<Bitmap>& source = document_->sourceBitmap();
    if (!source || source->pixelsWide() <= 0 || source->pixelsHigh() <= 0) {
        return std::nullopt;
    }
    return QSize(source->pixelsWide(), source->pixelsHigh());
}

std::optional<float> DocumentMainWindow::currentZoom() const {
    std::shared_ptr<Bitmap> shown = imageView_->bitmap();
    if (!shown || shown->pixelsWide() <= 0) {
        return std::nullopt;
    }
    return static_cast<float>(imageView_->width()) / static_cast<float>(shown->pixelsWide());
}

void DocumentMainWindow::zoomDocumentWindow(int percent) {
    std::optional<float> zoom = zoomFromTag(percent);
    std::optional<QSize> pixels = imagePixels();
    if (!zoom || !pixels) {
        return;
    }
    ContentSize content = contentSizeForZoom(*zoom, pixels->width(), pixels->height());
    setContentSize(content.width, content.height);
}

void DocumentMainWindow::zoomToTitle(const QString& title) {
    std::optional<float> zoom = zoomFromTitle(title.toStdString());
    std::optional<QSize> pixels = imagePixels();
    if (!zoom || !pixels) {
        windowDidResize();
        return;
    }
    ContentSize content = contentSizeForZoom(*zoom, pixels->width(), pixels->height());
    setContentSize(content.width, content.height);
}

void DocumentMainWindow::zoom100() {
    if (std::optional<QSize> pixels = imagePixels()) {
        setContentSize(pixels->width(), pixels->height());
    }
}

void DocumentMainWindow::zoomIn() {
    if (std::optional<float> zoom = currentZoom()) {
        if (std::optional<int> next = nextZoomUp(*zoom)) {
            zoomDocumentWindow(*next);
        }
    }
}

void DocumentMainWindow::zoomAboutPoint(bool in, QPointF atView) {
    QSizeF before = imageView_->size();
    QPointF inViewport = imageView_->mapTo(scroller_->viewport(), atView.toPoint());
    in ? zoomIn() : zoomOut();
    if (!scrolls() || before.isEmpty()) {
        return;
    }
    QPointF kept(atView.x() / before.width() * imageView_->width(),
                 atView.y() / before.height() * imageView_->height());
    scroller_->horizontalScrollBar()->setValue(static_cast<int>(kept.x() - inViewport.x()));
    scroller_->verticalScrollBar()->setValue(static_cast<int>(kept.y() - inViewport.y()));
}

void DocumentMainWindow::zoomOut() {
    if (std::optional<float> zoom = currentZoom()) {
        if (std::optional<int> next = nextZoomDown(*zoom)) {
            zoomDocumentWindow(*next);
        }
    }
}

// Sizes a window to a new image: within the screen, at most at actual size,
// then by the resize rule, which keeps the height and fits the width.
void DocumentMainWindow::fitWindowToImage() {
    std::optional<QSize> pixels = imagePixels();
    if (!pixels || !document_->destinationBitmap() || !mayResizeItself()) {
        return;
    }
    fittedWithoutFrame_ = frameGeometry().size() == geometry().size();
    QSize room = largestWindowSize() - chrome();
    double scale = std::min(
        {1.0, double(room.width()) / pixels->width(), double(room.height()) / pixels->height()});
    setContentSize(pixels->width() * scale, pixels->height() * scale);
    applyResizeRule();
}

void DocumentMainWindow::applyResizeRule() {
    std::shared_ptr<Bitmap> result = document_->destinationBitmap();
    if (!mayResizeItself() || !result || scrolls()) {
        return;
    }
    ResizeState state;
    state.hasDestination = true;
    state.ratio =
        static_cast<float>(result->pixelsWide()) / static_cast<float>(result->pixelsHigh());
    state.toolbarVisible = toolbar_->isVisible();
    QSize before = settledFrame_.isValid() ? settledFrame_ : size();
    QSize beforeContent = settledContent_.isValid() ? settledContent_ : scroller_->size();
    state.currentFrame = {double(before.width()), double(before.height())};
    state.currentContent = {double(beforeContent.width()), double(beforeContent.height())};
    QSize margins = chrome();
    state.chrome = {double(margins.width()), double(margins.height())};
    Size answer = windowWillResize(state, {double(width()), double(height())});
    resizeWithinScreen(qSize(answer));
}

// No size increments: a window manager applies them to every size the
// window asks for, so no zoom would come out exact.
void DocumentMainWindow::setUpResizeRule() {
    resizeSettled_.setSingleShot(true);
    resizeSettled_.setInterval(kResizeSettleMs);
    connect(&resizeSettled_, &QTimer::timeout, this, &DocumentMainWindow::applyResizeRule);
}

void DocumentMainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    refitWithFrame();
    windowDidResize();
    // Qt cannot veto a size while the user drags: correct once it settles.
    if (!resizingItself_ && isVisible() && mayResizeItself()) {
        resizeSettled_.start();
    }
}

void DocumentMainWindow::refitWithFrame() {
    if (fittedWithoutFrame_ && frameGeometry().size() != geometry().size()) {
        fittedWithoutFrame_ = false;
        QTimer::singleShot(0, this, &DocumentMainWindow::fitWindowToImage);
    }
}

void DocumentMainWindow::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    refitWithFrame();
}

void DocumentMainWindow::windowDidResize() {
    std::shared_ptr<Bitmap> shown = imageView_->bitmap();
    if (!shown || !zoomMenu_) {
        statusBar_->showZoom({});
        return;
    }
    ZoomMenu menu = zoomMenuFor(static_cast<float>(imageView_->width()),
                                static_cast<float>(shown->pixelsWide()));
    statusBar_->showZoom(QString::fromStdString(menu.selected));
    QSignalBlocker quiet(zoomMenu_);
    zoomMenu_->clear();
    for (const std::string& title : menu.titles) {
        zoomMenu_->addItem(QString::fromStdString(title));
    }
    zoomMenu_->setCurrentText(QString::fromStdString(menu.selected));
}

void DocumentMainWindow::restoreWindowState() {
    QSettings& settings = application_.settings();
    restoreState(settings.value("window/state").toByteArray());
    if (!document_->sourceImage()) {
        restoreGeometry(settings.value("window/geometry").toByteArray());
    }
}

void DocumentMainWindow::saveWindowState() {
    QSettings& settings = application_.settings();
    settings.setValue("window/state", saveState());
    settings.setValue("window/geometry", saveGeometry());
}

} // namespace velo
