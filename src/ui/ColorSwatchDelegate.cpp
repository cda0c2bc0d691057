#include "ui/ColorSwatchDelegate.h"

#include "ui/AdjustmentsTableModel.h"

#include <QApplication>
#include <QPainter>

namespace velo {
namespace {

constexpr qreal kCheckerSquare = 4.0;

void drawCheckerboard(QPainter* painter, const QRectF& rect) {
    painter->fillRect(rect, QColor(255, 255, 255));
    const QColor dark(204, 204, 204);
    int row = 0;
    for (qreal y = rect.top(); y < rect.bottom(); y += kCheckerSquare, ++row) {
        int column = row % 2;
        for (qreal x = rect.left(); x < rect.right(); x += kCheckerSquare, ++column) {
            if (column % 2 == 1) {
                painter->fillRect(QRectF(x, y, kCheckerSquare, kCheckerSquare) & rect, dark);
            }
        }
    }
}

} // namespace

void ColorSwatchDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
    QStyleOptionViewItem background = option;
    initStyleOption(&background, index);
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &background, painter, widget);

    painter->save();
    QRectF frame = option.rect;
    if (index.data(AdjustmentsTableModel::ClickedCellRole).toBool()) {
        drawWhiteBezel(painter, frame);
    }
    QRectF swatch = frame.adjusted(kSwatchInset, kSwatchInset, -kSwatchInset, -kSwatchInset);
    drawSwatch(painter, swatch, index.data(AdjustmentsTableModel::SwatchColorRole).value<QColor>());
    painter->restore();
}

QSize ColorSwatchDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const {
    return {44, 20};
}

// White, with a dark sunken edge: it stands out on dark rows by its white and
// on light ones by its edge.
void ColorSwatchDelegate::drawWhiteBezel(QPainter* painter, const QRectF& frame) {
    painter->fillRect(frame, Qt::white);
    QRectF edge = frame.adjusted(0.5, 0.5, -0.5, -0.5);
    painter->setPen(QPen(QColor(0, 0, 0, 150), 1.0));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(edge);
    painter->setPen(QPen(QColor(0, 0, 0, 60), 1.0));
    QRectF inner = edge.adjusted(1, 1, -1, -1);
    painter->drawLine(inner.topLeft(), inner.topRight());
    painter->drawLine(inner.topLeft(), inner.bottomLeft());
}

void ColorSwatchDelegate::drawSwatch(QPainter* painter, const QRectF& rect, const QColor& color) {
    if (rect.isEmpty()) {
        return;
    }
    drawCheckerboard(painter, rect);
    painter->fillRect(rect, color);
    // A faint outline keeps white and clear swatches apart from the row.
    painter->setPen(QPen(QColor(0, 0, 0, 90), 1.0));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(rect.adjusted(0.5, 0.5, -0.5, -0.5));
}

} // namespace velo
