#include "ui/ExportLutDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

namespace velo {

namespace {

QSpinBox* spinBox(const char* objectName, int low, int high, int value, QWidget* parent) {
    auto* box = new QSpinBox(parent);
    box->setObjectName(objectName);
    box->setRange(low, high);
    box->setValue(value);
    return box;
}

} // namespace

ExportLutDialog::ExportLutDialog(bool aboutAlpha, QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("Export LUT"));
    format_ = new QComboBox(this);
    format_->setObjectName("formatMenu");
    format_->addItem(tr("Cube LUT (.cube)"));
    format_->addItem(tr("Hald CLUT image (PNG)"));
    size_ = spinBox("sizeField", kMinCubeSize, kMaxCubeSize, kDefaultCubeSize, this);
    size_->setToolTip(tr("Points per axis; 17, 33 and 65 are the common sizes."));
    level_ = spinBox("levelField", kMinHaldLevel, kMaxHaldLevel, kDefaultHaldLevel, this);
    level_->setToolTip(tr("Level 16 holds every 8-bit colour: applying it gives Velo's result "
                          "exactly."));
    levelPixels_ = new QLabel(this);

    auto* form = new QFormLayout(this);
    form->addRow(tr("Format:"), format_);
    form->addRow(tr("Size:"), size_);
    form->addRow(tr("Level:"), level_);
    form->addRow(QString(), levelPixels_);
    if (aboutAlpha) {
        auto* warning = new QLabel(tr("These adjustments match on or change alpha, which a "
                                      "lookup table cannot hold: it gets their effect on opaque "
                                      "pixels only."),
                                   this);
        warning->setObjectName("alphaWarning");
        warning->setWordWrap(true);
        form->addRow(warning);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("Export…"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);

    connect(format_, &QComboBox::currentIndexChanged, this, &ExportLutDialog::showFormat);
    connect(level_, &QSpinBox::valueChanged, this, &ExportLutDialog::showFormat);
    showFormat();
}

LutSettings ExportLutDialog::settings() const {
    return {format_->currentIndex() == 0 ? LutFormat::Cube : LutFormat::Hald, size_->value(),
            level_->value()};
}

// Only the format's own number can be edited.
void ExportLutDialog::showFormat() {
    bool cube = settings().format == LutFormat::Cube;
    size_->setEnabled(cube);
    level_->setEnabled(!cube);
    int side = level_->value() * level_->value() * level_->value();
    levelPixels_->setText(cube ? QString() : tr("%1 × %1 pixels").arg(side));
}

} // namespace velo
