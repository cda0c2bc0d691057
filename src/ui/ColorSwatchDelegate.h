#pragma once

#include <QStyledItemDelegate>

namespace velo {

// Draws a colour cell: a swatch 2 points inside the cell, over a
// checkerboard so that alpha shows; the cell the colour panel edits sits in a
// white bezel.
class ColorSwatchDelegate : public QStyledItemDelegate {
    Q_OBJECT

  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    static constexpr qreal kSwatchInset = 2.0;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    static void drawWhiteBezel(QPainter* painter, const QRectF& frame);
    static void drawSwatch(QPainter* painter, const QRectF& rect, const QColor& color);
};

} // namespace velo
