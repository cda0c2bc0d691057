#include "ui/BitmapView.h"

#include "ui/DroppedImage.h"
#include "ui/ViewGeometry.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMetaMethod>
#include <QMimeData>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>
#include <cmath>
#include <utility>

namespace velo {

namespace {

constexpr int kResizeSettleMs = 120;

} // namespace

BitmapView::BitmapView(VeloDocument& document, QWidget* parent)
    : QWidget(parent), display_(document) {
    setAcceptDrops(true);
    setMouseTracking(true);          // the status bar follows the pointer
    setFocusPolicy(Qt::StrongFocus); // keys reach it by Tab too
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    resizeSettled_.setSingleShot(true);
    resizeSettled_.setInterval(kResizeSettleMs);
    connect(&resizeSettled_, &QTimer::timeout, this, &BitmapView::fitDisplayToSize);
    display_.setChangeHandler([this](QRect changed) { displayChanged(changed); });
    laidOut_ = display_.bitmap();
}

// Another bitmap takes its own place and size in the view; otherwise only
// what changed is painted again.
void BitmapView::displayChanged(QRect changed) {
    if (laidOut_.lock() != display_.bitmap()) {
        laidOut_ = display_.bitmap();
        display_.setDrawnSize(wantedDisplaySize());
        update();
        return;
    }
    repaintChanged(changed);
}

void BitmapView::setBackgroundColor(const QColor& color) {
    if (color == backgroundColor_) {
        return;
    }
    backgroundColor_ = color;
    update();
}

QRectF BitmapView::drawnRect() const {
    const std::shared_ptr<Bitmap>& shown = display_.bitmap();
    if (!shown) {
        return {};
    }
    std::optional<DrawnSize> drawn =
        drawnImageSize(shown->pixelsWide(), shown->pixelsHigh(), static_cast<float>(width()),
                       static_cast<float>(height()));
    if (!drawn) {
        return {};
    }
    return {0.0, height() - static_cast<double>(drawn->height), drawn->width, drawn->height};
}

QSize BitmapView::wantedDisplaySize() const {
    QRectF drawn = drawnRect();
    double ratio = devicePixelRatioF();
    return {static_cast<int>(std::lround(drawn.width() * ratio)),
            static_cast<int>(std::lround(drawn.height() * ratio))};
}

void BitmapView::fitDisplayToSize() {
    display_.setDrawnSize(wantedDisplaySize());
    update();
}

void BitmapView::refreshFinishedStripes() {
    repaintChanged(display_.takeFinishedStripes());
}

void BitmapView::repaintChanged(QRect changed) {
    if (changed.isEmpty()) {
        return;
    }
    const QImage& image = display_.image();
    QRectF drawn = drawnRect();
    double sx = drawn.width() / image.width();
    double sy = drawn.height() / image.height();
    update(QRectF(drawn.x() + changed.x() * sx, drawn.y() + changed.y() * sy, changed.width() * sx,
                  changed.height() * sy)
               .toAlignedRect()
               .adjusted(-1, -1, 1, 1));
}

void BitmapView::drawShownImage(QPainter& painter, const QImage& image) const {
    QRectF drawn = drawnRect();
    if (drawn.isEmpty() || image.isNull()) {
        return;
    }
    if (display_.bitmap()->hasAlpha() && backgroundColor_.alpha() > 0) {
        painter.fillRect(rect(), backgroundColor_);
    }
    // Shrinking smoothly; enlarged pixels stay crisp, as in any image viewer.
    bool shrinking = image.width() > drawn.width() * painter.device()->devicePixelRatioF();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, shrinking);
    painter.drawImage(drawn, image);
}

void BitmapView::paintEvent(QPaintEvent* event) {
    // A preview computed smaller than the view is enlarged here, smoothly,
    // rather than first into the view's copy: one pass over the view's pixels.
    const QImage& preview = display_.unsettledPreview();
    const QImage& image = preview.isNull() ? display_.image() : preview;
    QRectF drawn = drawnRect();
    if (drawn.isEmpty() || image.isNull()) {
        return;
    }
    QPainter painter(this);
    if (display_.bitmap()->hasAlpha() && backgroundColor_.alpha() > 0) {
        painter.fillRect(event->rect(), backgroundColor_);
    }
    // Only the exposed part, and at one to one when the copy has the size
    // it is shown at: the fastest blit there is.
    QRectF exposed = drawn.intersected(QRectF(event->rect()));
    if (exposed.isEmpty()) {
        return;
    }
    double sx = image.width() / drawn.width();
    double sy = image.height() / drawn.height();
    QRectF source((exposed.x() - drawn.x()) * sx, (exposed.y() - drawn.y()) * sy,
                  exposed.width() * sx, exposed.height() * sy);
    bool shrinking = sx > devicePixelRatioF() + 1e-6;
    painter.setRenderHint(QPainter::SmoothPixmapTransform, shrinking || !preview.isNull());
    painter.drawImage(exposed, image, source);
}

void BitmapView::resizeEvent(QResizeEvent*) {
    if (display_.image().isNull()) {
        fitDisplayToSize();
        return;
    }
    resizeSettled_.start();
}

std::optional<BitmapViewClick> BitmapView::clickAt(QMouseEvent* event) const {
    const std::shared_ptr<Bitmap>& shown = display_.bitmap();
    if (!shown) {
        return std::nullopt;
    }
    QPointF at = event->position();
    std::optional<BitmapViewClick> click = clickInDrawnImage(
        static_cast<float>(at.x()), static_cast<float>(at.y()), static_cast<float>(width()),
        static_cast<float>(height()), shown->pixelsWide(), shown->pixelsHigh(),
        event->modifiers().testFlag(Qt::ShiftModifier));
    if (click) {
        // Alt alone where the window manager lets it through; Ctrl+Alt everywhere.
        click->altHeld = event->modifiers().testFlag(Qt::AltModifier);
    }
    return click;
}

void BitmapView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton || (event->button() == Qt::LeftButton && spaceHeld_)) {
        spaceDragged_ = spaceHeld_;
        panningFrom_ = event->globalPosition().toPoint();
        setCursor(Qt::ClosedHandCursor);
        return;
    }
    if (event->button() != Qt::LeftButton) {
        return;
    }
    if (std::optional<BitmapViewClick> click = clickAt(event)) {
        emit pressed(*click);
    }
}

void BitmapView::mouseMoveEvent(QMouseEvent* event) {
    if (panningFrom_) {
        QPoint now = event->globalPosition().toPoint();
        emit panned(now - *std::exchange(panningFrom_, now));
        return;
    }
    if (std::optional<BitmapViewClick> at = clickAt(event)) {
        emit pointerMoved(*at);
    } else {
        emit pointerLeft();
    }
}

void BitmapView::mouseReleaseEvent(QMouseEvent* event) {
    if (panningFrom_ &&
        (event->button() == Qt::MiddleButton || event->button() == Qt::LeftButton)) {
        panningFrom_.reset();
        spaceHeld_ ? setCursor(Qt::OpenHandCursor) : unsetCursor();
    }
}

// The wheel scrolls (the scroll area around the view takes it); with Ctrl
// held it zooms.
void BitmapView::wheelEvent(QWheelEvent* event) {
    if (!(event->modifiers() & Qt::ControlModifier) || event->angleDelta().y() == 0) {
        event->ignore();
        return;
    }
    emit zoomWheeled(event->angleDelta().y() > 0, event->position());
    event->accept();
}

// Space is the view's own key: held, it turns a drag into a pan; tapped, it
// does what its menu item says (the view asks for it instead of the shortcut).
bool BitmapView::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Space && key->modifiers() == Qt::NoModifier) {
            event->accept();
            return true;
        }
    }
    return QWidget::event(event);
}

void BitmapView::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Space || event->modifiers() != Qt::NoModifier) {
        QWidget::keyPressEvent(event);
        return;
    }
    if (!event->isAutoRepeat()) {
        spaceHeld_ = true;
        spaceDragged_ = false;
        setCursor(Qt::OpenHandCursor);
    }
}

void BitmapView::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Space || event->isAutoRepeat()) {
        QWidget::keyReleaseEvent(event);
        return;
    }
    spaceHeld_ = false;
    if (!panningFrom_) {
        unsetCursor();
    }
    if (!std::exchange(spaceDragged_, false)) {
        emit spaceTapped();
    }
}

void BitmapView::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    emit pointerLeft();
}

bool BitmapView::acceptsDrops() const {
    return isSignalConnected(QMetaMethod::fromSignal(&BitmapView::imageDropped));
}

void BitmapView::dragEnterEvent(QDragEnterEvent* event) {
    if (acceptsDrops() && mayHoldImage(*event->mimeData())) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    }
}

void BitmapView::dropEvent(QDropEvent* event) {
    if (!acceptsDrops() || !mayHoldImage(*event->mimeData())) {
        return;
    }
    DroppedImage dropped = imageFromMimeData(*event->mimeData());
    if (!dropped.image) {
        emit dropFailed(dropped.error);
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    emit imageDropped(std::move(dropped.image));
}

} // namespace velo
