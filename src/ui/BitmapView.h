#pragma once

#include "display/LiveDisplay.h"
#include "document/BitmapViewClick.h"
#include "platform/Image.h"

#include <QColor>
#include <QTimer>
#include <QWidget>
#include <memory>

namespace velo {

// The image view: the document's shown bitmap (as its display draws it)
// scaled to fit with its proportions kept, at the lower-left corner, over the
// background colour where the bitmap has alpha. Presses and dropped images go to whoever is
// connected to its signals (the document's window); with nobody connected, drops are refused.
class BitmapView : public QWidget {
    Q_OBJECT
  public:
    explicit BitmapView(VeloDocument& document, QWidget* parent = nullptr);

    const std::shared_ptr<Bitmap>& bitmap() const { return display_.bitmap(); }
    void setBackgroundColor(const QColor& color);
    const QColor& backgroundColor() const { return backgroundColor_; }

    LiveDisplay& display() { return display_; }
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
    void pressed(const velo::BitmapViewClick& click);
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
    void leaveEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    std::optional<BitmapViewClick> clickAt(QMouseEvent* event) const;
    bool acceptsDrops() const;
    QSize wantedDisplaySize() const;
    void displayChanged(QRect changed);
    void repaintChanged(QRect changed);

    LiveDisplay display_;
    QColor backgroundColor_ = Qt::transparent;
    std::optional<QPoint> panningFrom_; // global, while the middle button drags
    bool spaceHeld_ = false;            // Space turns the left button into a pan
    bool spaceDragged_ = false;
    // Resizing redraws the old copy scaled; a new one is made once it settles.
    QTimer resizeSettled_;
    // The bitmap the view was last laid out for: another has its own size.
    std::weak_ptr<Bitmap> laidOut_;
};

} // namespace velo
