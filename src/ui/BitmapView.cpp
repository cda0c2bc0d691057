#include "ui/BitmapView.h"

#include "ui/DroppedImage.h"
#include "ui/ViewGeometry.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFocusEvent>
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
// The divider's handle, a disc across the line.
constexpr double kHandleRadius = 7.0;

DrawnArea areaOf(const QRectF& rect) {
    return {static_cast<float>(rect.x()), static_cast<float>(rect.y()),
            static_cast<float>(rect.width()), static_cast<float>(rect.height())};
}

} // namespace

BitmapView::BitmapView(VeloDocument& document, QWidget* parent)
    : QWidget(parent), display_(document), original_(document) {
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
        setDrawnSizes();
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
    setDrawnSizes();
    update();
}

// The original at the same size as the shown bitmap, so that the two line up.
void BitmapView::setDrawnSizes() {
    QSize size = wantedDisplaySize();
    original_.setDrawnSize(size);
    display_.setDrawnSize(size);
}

void BitmapView::matchColors(bool on, std::shared_ptr<const IccProfile> screenProfile) {
    original_.matchColors(on, screenProfile);
    display_.matchColors(on, std::move(screenProfile));
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
    // Only the exposed part, and at one to one when the copy has the size
    // it is shown at: the fastest blit there is.
    QRectF exposed = drawn.intersected(QRectF(event->rect()));
    double wipe = wipeX();
    QRectF original = exposed.intersected(QRectF(drawn.topLeft(), QPointF(wipe, drawn.bottom())));
    QRectF shown = exposed.intersected(QRectF(QPointF(wipe, drawn.top()), drawn.bottomRight()));
    bool seeThrough = (!shown.isEmpty() && display_.bitmap()->hasAlpha()) ||
                      (!original.isEmpty() && original_.bitmap()->hasAlpha());
    if (seeThrough && backgroundColor_.alpha() > 0) {
        painter.fillRect(event->rect(), backgroundColor_);
    }
    if (!shown.isEmpty()) {
        drawPart(painter, shown, image, !preview.isNull());
    }
    if (!original.isEmpty()) {
        drawPart(painter, original, original_.image(), false);
    }
    if (split_ && !originalHeld_) {
        drawDivider(painter);
    }
}

// A part of the drawn rectangle from the same part of the image.
void BitmapView::drawPart(QPainter& painter, const QRectF& part, const QImage& image,
                          bool smooth) const {
    QRectF drawn = drawnRect();
    double sx = image.width() / drawn.width();
    double sy = image.height() / drawn.height();
    QRectF source((part.x() - drawn.x()) * sx, (part.y() - drawn.y()) * sy, part.width() * sx,
                  part.height() * sy);
    bool shrinking = sx > devicePixelRatioF() + 1e-6;
    painter.setRenderHint(QPainter::SmoothPixmapTransform, shrinking || smooth);
    painter.drawImage(part, image, source);
}

double BitmapView::wipeX() const {
    QRectF drawn = drawnRect();
    return velo::wipeX(originalShare(split_, dividerFraction_, originalHeld_), areaOf(drawn));
}

// A light line between dark edges, which reads over any image, and a disc
// halfway down it that says it can be taken hold of. The disc keeps its place
// in the image, as the scroll area moves the pixels already drawn.
void BitmapView::drawDivider(QPainter& painter) const {
    QRectF drawn = drawnRect();
    double x = wipeX();
    painter.fillRect(QRectF(x - 1, drawn.top(), 3, drawn.height()), QColor(0, 0, 0, 110));
    painter.fillRect(QRectF(x, drawn.top(), 1, drawn.height()), Qt::white);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(QColor(0, 0, 0, 110), 1.5));
    painter.setBrush(Qt::white);
    painter.drawEllipse(QPointF(x + 0.5, drawn.center().y()), kHandleRadius, kHandleRadius);
}

void BitmapView::setSplit(bool on) {
    if (on == split_) {
        return;
    }
    split_ = on;
    draggingDivider_ = false;
    if (!on && cursor().shape() == Qt::SplitHCursor) {
        unsetCursor();
    }
    update();
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
    if (dividerPressed(event)) {
        return;
    }
    if (event->button() == Qt::MiddleButton || (event->button() == Qt::LeftButton && spaceHeld_)) {
        spaceDragged_ = spaceHeld_;
        panningFrom_ = event->globalPosition().toPoint();
        setCursor(Qt::ClosedHandCursor);
        return;
    }
    if (event->button() != Qt::LeftButton) {
        return;
    }
    pendingClick_ = clickAt(event);
    pressedAt_ = event->position().toPoint();
    widens_ = event->modifiers().testFlag(Qt::ControlModifier) &&
              !event->modifiers().testFlag(Qt::AltModifier);
}

// Past the drag distance a left press becomes a stroke across the image.
bool BitmapView::strokeMoved(QMouseEvent* event) {
    if (!pendingClick_ || !event->buttons().testFlag(Qt::LeftButton)) {
        return false;
    }
    if (!stroking_) {
        if ((event->position().toPoint() - pressedAt_).manhattanLength() <
            QApplication::startDragDistance()) {
            return true;
        }
        stroking_ = true;
        emit strokeStarted(*pendingClick_, widens_);
    }
    if (std::optional<BitmapViewClick> at = clickAt(event)) {
        emit strokeExtended(*at);
    }
    return true;
}

void BitmapView::mouseMoveEvent(QMouseEvent* event) {
    if (dividerMoved(event)) {
        return;
    }
    if (panningFrom_) {
        QPoint now = event->globalPosition().toPoint();
        emit panned(now - *std::exchange(panningFrom_, now));
        return;
    }
    strokeMoved(event);
    if (std::optional<BitmapViewClick> at = clickAt(event)) {
        emit pointerMoved(*at);
    } else {
        emit pointerLeft();
    }
}

void BitmapView::mouseReleaseEvent(QMouseEvent* event) {
    if (dividerReleased(event)) {
        return;
    }
    if (panningFrom_ &&
        (event->button() == Qt::MiddleButton || event->button() == Qt::LeftButton)) {
        panningFrom_.reset();
        spaceHeld_ ? setCursor(Qt::OpenHandCursor) : unsetCursor();
    }
    if (event->button() != Qt::LeftButton) {
        return;
    }
    std::optional<BitmapViewClick> click = std::exchange(pendingClick_, std::nullopt);
    if (std::exchange(stroking_, false)) {
        emit strokeEnded();
    } else if (click) {
        emit pressed(*click);
    }
}

// A left press near the split's line drags it and picks nothing; Space
// held keeps the left button for panning.
bool BitmapView::dividerPressed(QMouseEvent* event) {
    if (!split_ || originalHeld_ || spaceHeld_ || event->button() != Qt::LeftButton) {
        return false;
    }
    QPointF at = event->position();
    if (!grabsDivider(static_cast<float>(at.x()), static_cast<float>(at.y()), dividerFraction_,
                      areaOf(drawnRect()))) {
        return false;
    }
    draggingDivider_ = true;
    moveDividerTo(at.x());
    return true;
}

// While dragging the line follows the pointer; otherwise the pointer takes
// the resizing shape over the line, and the move goes on as any other.
bool BitmapView::dividerMoved(QMouseEvent* event) {
    QPointF at = event->position();
    if (draggingDivider_) {
        moveDividerTo(at.x());
        return true;
    }
    if (spaceHeld_ || panningFrom_) {
        return false;
    }
    bool overLine = split_ && !originalHeld_ &&
                    grabsDivider(static_cast<float>(at.x()), static_cast<float>(at.y()),
                                 dividerFraction_, areaOf(drawnRect()));
    if (overLine) {
        setCursor(Qt::SplitHCursor);
    } else if (cursor().shape() == Qt::SplitHCursor) {
        unsetCursor();
    }
    return false;
}

bool BitmapView::dividerReleased(QMouseEvent* event) {
    if (!draggingDivider_ || event->button() != Qt::LeftButton) {
        return false;
    }
    draggingDivider_ = false;
    return true;
}

// Repaints the band the line and its disc leave and enter.
void BitmapView::moveDividerTo(double x) {
    double before = wipeX();
    dividerFraction_ = dividerFractionAt(static_cast<float>(x), areaOf(drawnRect()));
    double after = wipeX();
    double margin = kHandleRadius + 2;
    update(
        QRectF(std::min(before, after) - margin, 0, std::abs(after - before) + 2 * margin, height())
            .toAlignedRect());
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

// Backslash (with whatever modifiers type it: AltGr on a German keyboard)
// shows the original while held. Its repeats, a release and a press each,
// change nothing, so the original stays without flickering.
void BitmapView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Backslash) {
        if (!event->isAutoRepeat()) {
            holdOriginal(true);
        }
        return;
    }
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
    if (event->key() == Qt::Key_Backslash) {
        if (!event->isAutoRepeat()) {
            holdOriginal(false);
        }
        return;
    }
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

void BitmapView::holdOriginal(bool held) {
    if (held == originalHeld_) {
        return;
    }
    originalHeld_ = held;
    if (held) {
        draggingDivider_ = false;
    }
    update();
}

// A release that goes to another widget never comes here.
void BitmapView::focusOutEvent(QFocusEvent* event) {
    holdOriginal(false);
    QWidget::focusOutEvent(event);
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
