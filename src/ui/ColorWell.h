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
    // Opens the colour dialog over window: the well may sit in no window at
    // all while the toolbar leaves it out.
    void chooseColor(QWidget* window);

  signals:
    void colorChosen(const QColor& color);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QColor color_ = Qt::transparent;
};

// A colour picked in the dialog, as the well takes it: a new colour chosen
// while the alpha is 0 (the clear background every document starts with)
// comes fully opaque, since a colour that shows nothing is never what a
// click on a swatch means.
QColor pickedColor(const QColor& previous, const QColor& picked);

// Fills a rectangle with the light and dark squares that show transparency.
void paintCheckerboard(class QPainter& painter, const QRect& rect);

} // namespace velo
