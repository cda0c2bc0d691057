#include "ui/ColorWell.h"

#include <QColorDialog>
#include <QPainter>
#include <QStyleOptionToolButton>
#include <QTimer>

#include <memory>

namespace velo {

ColorWell::ColorWell(QWidget* parent) : QToolButton(parent) {
    setToolTip(tr("Background color"));
    setFixedSize(sizeHint());
    connect(this, &QToolButton::clicked, this, [this] { chooseColor(window()); });
}

void ColorWell::setColor(const QColor& color) {
    if (color != color_) {
        color_ = color;
        update();
    }
}

QColor pickedColor(const QColor& previous, const QColor& picked) {
    bool newColor = picked.rgb() != previous.rgb();
    if (newColor && picked.alpha() == 0) {
        QColor opaque = picked;
        opaque.setAlpha(255);
        return opaque;
    }
    return picked;
}

// The dialog starts from the well's colour, its alpha included.
void ColorWell::chooseColor(QWidget* window) {
    auto* dialog = new QColorDialog(window);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setObjectName("backgroundColorDialog");
    dialog->setWindowTitle(tr("Background Color"));
    dialog->setOptions(QColorDialog::ShowAlphaChannel | QColorDialog::DontUseNativeDialog);
    dialog->setCurrentColor(color_);
    // The dialog shows the opaque colour as soon as it is picked: after the
    // dialog's own change, which a nested one would be overwritten by.
    auto shown = std::make_shared<QColor>(color_);
    connect(
        dialog, &QColorDialog::currentColorChanged, dialog, [dialog, shown](const QColor& picked) {
            QColor taken = pickedColor(*shown, picked);
            *shown = taken;
            if (taken != picked) {
                QTimer::singleShot(0, dialog, [dialog, taken] { dialog->setCurrentColor(taken); });
            }
        });
    // Also when OK comes before that.
    connect(dialog, &QColorDialog::colorSelected, this, [this](const QColor& selected) {
        QColor chosen = pickedColor(color_, selected);
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
