#include "ui/ColorPanel.h"

#include "ui/QtColors.h"

#include <QColorDialog>

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

void ColorPanel::setLastActiveDocument(const VeloDocument* document) {
    lastActiveDocument_ = document;
}

void ColorPanel::documentClosed(const VeloDocument* document) {
    if (lastActiveDocument_ == document) {
        lastActiveDocument_ = nullptr;
    }
}

void ColorPanel::currentColorChanged(const QColor& color) {
    if (!showingColor_) {
        emit colorChanged(toColorRef(color));
    }
}

} // namespace velo
