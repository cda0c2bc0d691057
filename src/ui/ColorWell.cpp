#include "ui/ColorWell.h"

#include <QColorDialog>
#include <QPainter>
#include <QStyleOptionToolButton>

namespace velo {

ColorWell::ColorWell(QWidget* parent) : QToolButton(parent) {
    setToolTip(tr("Background color"));
    setFixedSize(sizeHint());
    connect(this, &QToolButton::clicked, this, &ColorWell::chooseColor);
}

void ColorWell::setColor(const QColor& color) {
    if (color != color_) {
        color_ = color;
        update();
    }
}

void ColorWell::chooseColor() {
    auto* dialog = new QColorDialog(color_, window());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setObjectName("backgroundColorDialog");
    dialog->setWindowTitle(tr("Background Color"));
    dialog->setOptions(QColorDialog::ShowAlphaChannel | QColorDialog::DontUseNativeDialog);
    connect(dialog, &QColorDialog::colorSelected, this, [this](const QColor& chosen) {
        setColor(chosen);
        emit colorChosen(chosen);
    });
    dialog->open();
}

void paintCheckerboard(QPainter& painter, const QRect& rect) {
    constexpr int kSquare = 6;
    painter.save();
    painter.setClipRect(rect);
    painter.fillRect(rect, QColor(0xf0, 0xf0, 0xf0));
    for (int y = rect.top(); y <= rect.bottom(); y += kSquare) {
        for (int x = rect.left() + ((y - rect.top()) / kSquare % 2) * kSquare; x <= rect.right();
             x += 2 * kSquare) {
            painter.fillRect(QRect(x, y, kSquare, kSquare), QColor(0xb8, 0xb8, 0xb8));
        }
    }
    painter.restore();
}

void ColorWell::paintEvent(QPaintEvent* event) {
    QToolButton::paintEvent(event);
    QPainter painter(this);
    QRect swatch = rect().adjusted(6, 6, -6, -6);
    if (color_.alpha() < 255) {
        paintCheckerboard(painter, swatch);
    }
    painter.fillRect(swatch, isEnabled() ? color_ : color_.darker(130));
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(swatch.adjusted(0, 0, -1, -1));
}

} // namespace velo
