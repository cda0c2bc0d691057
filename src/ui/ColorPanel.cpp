#include "ui/ColorPanel.h"

#include "ui/QtColors.h"

#include <QAbstractSpinBox>
#include <QColorDialog>
#include <QKeyEvent>
#include <QLineEdit>

#include <utility>

namespace velo {

ColorPanel& ColorPanel::shared() {
    // Lives as long as the process; Qt takes its window down with the
    // application.
    static ColorPanel* const panel = new ColorPanel;
    return *panel;
}

ColorPanel::ColorPanel() : dialog_(new QColorDialog) {
    dialog_->setWindowTitle(tr("Colors"));
    // Qt's own dialog reports every move; a native one may report only the end.
    dialog_->setOptions(QColorDialog::NoButtons | QColorDialog::DontUseNativeDialog);
    dialog_->setModal(false);
    // An open panel alone does not keep the application running.
    dialog_->setAttribute(Qt::WA_QuitOnClose, false);
    connect(dialog_, &QColorDialog::currentColorChanged, this, &ColorPanel::currentColorChanged);
    dialog_->installEventFilter(this);
    for (QWidget* part : dialog_->findChildren<QWidget*>()) {
        part->installEventFilter(this);
    }
    setEditedCell({});
}

bool ColorPanel::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        midGesture_ = true;
        break;
    case QEvent::MouseButtonRelease:
        endGesture();
        break;
    case QEvent::KeyPress: {
        int key = static_cast<QKeyEvent*>(event)->key();
        bool commits = key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Tab;
        // Typing into a field is one edit until it is committed.
        if (qobject_cast<QLineEdit*>(watched) || qobject_cast<QAbstractSpinBox*>(watched)) {
            commits ? endGesture() : void(midGesture_ = true);
        }
        break;
    }
    case QEvent::FocusOut:
        endGesture();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void ColorPanel::endGesture() {
    if (std::exchange(midGesture_, false)) {
        emit gestureEnded();
    }
}

void ColorPanel::setEditedCell(const QString& description) {
    dialog_->setWindowTitle(description.isEmpty() ? tr("Colors — no colour selected")
                                                  : tr("Colors — %1").arg(description));
}

void ColorPanel::setShowsAlpha(bool showsAlpha) {
    dialog_->setOption(QColorDialog::ShowAlphaChannel, showsAlpha);
}

void ColorPanel::showColor(const ColorRef& color) {
    if (color) {
        showingColor_ = true;
        dialog_->setCurrentColor(toQColor(color));
        showingColor_ = false;
    }
    orderFront();
}

void ColorPanel::orderFront() {
    dialog_->show();
    dialog_->raise();
}

void ColorPanel::setLastActiveDocument(const VeloDocument* document, QWidget* window) {
    lastActiveDocument_ = document;
    if (window && dialog_->parentWidget() != window) {
        // A tool window of the active document window: above it, and with it.
        bool shown = dialog_->isVisible();
        QPoint at = dialog_->pos();
        dialog_->setParent(window, Qt::Tool);
        if (shown) {
            dialog_->move(at);
            dialog_->show();
        }
    }
}

void ColorPanel::documentClosed(const VeloDocument* document, QWidget* window) {
    if (lastActiveDocument_ == document) {
        lastActiveDocument_ = nullptr;
        setEditedCell({});
    }
    if (window && dialog_->parentWidget() == window) {
        bool shown = dialog_->isVisible();
        dialog_->setParent(nullptr, Qt::Tool);
        dialog_->setVisible(shown);
    }
}

void ColorPanel::currentColorChanged(const QColor& color) {
    if (!showingColor_) {
        emit colorChanged(toColorRef(color));
    }
}

} // namespace velo
