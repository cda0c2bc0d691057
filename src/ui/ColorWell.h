#pragma once

#include <QColor>
#include <QToolButton>

namespace velo {

// A button showing a colour (a clear one as a checkerboard) that opens a
// colour dialog; the chosen colour is reported by colorChosen.
class ColorWell : public QToolButton {
    Q_OBJECT
  public:
    explicit ColorWell(QWidget* parent = nullptr);
    void setColor(const QColor& color);
    const QColor& color() const { return color_; }
    QSize sizeHint() const override { return {50, 28}; }

  signals:
    void colorChosen(const QColor& color);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void chooseColor();
    QColor color_ = Qt::transparent;
};

// Fills a rectangle with the light and dark squares that show transparency.
void paintCheckerboard(class QPainter& painter, const QRect& rect);

} // namespace velo
