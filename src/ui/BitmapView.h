#pragma once

#include "display/LiveDisplay.h"
#include "display/SourceDisplay.h"
#include "document/BitmapViewClick.h"
#include "platform/Image.h"
#include "ui/SplitDivider.h"

#include <QColor>
#include <QTimer>
#include <QWidget>
#include <memory>

namespace velo {

// The image view: the document's shown bitmap (as its display draws it)
// scaled to fit with its proportions kept, at the lower-left corner, over the
// background colour where the bitmap has alpha. Presses and dropped images go to whoever is
// connected to its signals (the document's window); with nobody connected, drops are refused.
// Split, it shows the original left of a divider the user drags; holding
// Backslash shows the original whole.
class BitmapView : public QWidget {
    Q_OBJECT
  public:
    explicit BitmapView(VeloDocument& document, QWidget* parent = nullptr);

    const std::shared_ptr<Bitmap>& bitmap() const { return display_.bitmap(); }
    void setBackgroundColor(const QColor& color);
    const QColor& backgroundColor() const { return backgroundColor_; }

    LiveDisplay& display() { return display_; }
    // Both displays, the shown bitmap's and the original's, in the screen's
    // colours or not (screenProfile null: sRGB).
    void matchColors(bool on, std::shared_ptr<const IccProfile> screenProfile);
    // The split: the original left of the divider, at a fraction of the
    // drawn width.
    void setSplit(bool on);
    bool isSplit() const { return split_; }
    float dividerFraction() const { return dividerFraction_; }
    // Where the original gives way (widget x); the drawn rectangle's left
    // edge when none is shown.
    double wipeX() const;
    // The rectangle (widget coordinates) the bitmap is drawn in; empty when
    // nothing is drawn.
    QRectF drawnRect() const;
    // Draws the image as the view shows it into a painter of the view's size
    // (printing gives the full result).
    void drawShownImage(QPainter& painter, const QImage& image) const;
    // Takes the finished stripes and repaints what they changed.
    void refreshFinishedStripes();
    // Makes the display copy for the current size at once.
    void fitDisplayToSize();

    QSize sizeHint() const override { return {480, 360}; }

  signals:
    // A left click that did not become a drag (told on release).
    void pressed(const velo::BitmapViewClick& click);
    // A left-button drag across the image: where it started (widen: Ctrl
    // was held), each point it passes over the image, its end.
    void strokeStarted(const velo::BitmapViewClick& at, bool widen);
    void strokeExtended(const velo::BitmapViewClick& to);
    void strokeEnded();
    // The pointer is over the drawn image at this point, or has left it.
    void pointerMoved(const velo::BitmapViewClick& at);
    void pointerLeft();
    void imageDropped(std::shared_ptr<const velo::Image> image);
    void dropFailed(const QString& reason);
    // Ctrl+wheel: zoom in or out about this point of the view.
    void zoomWheeled(bool in, QPointF at);
    // A middle-button or Space drag moved the pointer by this much, in screen
    // pixels.
    void panned(QPoint by);
    // Space pressed and released without a drag: what the Space key does.
    void spaceTapped();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    std::optional<BitmapViewClick> clickAt(QMouseEvent* event) const;
    bool strokeMoved(QMouseEvent* event);
    bool acceptsDrops() const;
    QSize wantedDisplaySize() const;
    void displayChanged(QRect changed);
    void repaintChanged(QRect changed);
    void setDrawnSizes();
    void drawPart(QPainter& painter, const QRectF& part, const QImage& image, bool smooth) const;
    void drawDivider(QPainter& painter) const;
    // The divider's share of the mouse: each answers whether it took the event.
    bool dividerPressed(QMouseEvent* event);
    bool dividerMoved(QMouseEvent* event);
    bool dividerReleased(QMouseEvent* event);
    void moveDividerTo(double x);
    void holdOriginal(bool held);

    LiveDisplay display_;
    SourceDisplay original_;
    bool split_ = false;
    float dividerFraction_ = kDividerStart;
    bool draggingDivider_ = false;
    bool originalHeld_ = false;
    QColor backgroundColor_ = Qt::transparent;
    std::optional<QPoint> panningFrom_; // global, while the middle button drags
    // A left press waits to learn whether it is a click or a stroke.
    std::optional<BitmapViewClick> pendingClick_;
    QPoint pressedAt_;
    bool widens_ = false;
    bool stroking_ = false;
    bool spaceHeld_ = false; // Space turns the left button into a pan
    bool spaceDragged_ = false;
    // Resizing redraws the old copy scaled; a new one is made once it settles.
    QTimer resizeSettled_;
    // The bitmap the view was last laid out for: another has its own size.
    std::weak_ptr<Bitmap> laidOut_;
};

} // namespace velo
