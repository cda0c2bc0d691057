#pragma once

#include "document/LutExport.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QSpinBox;

namespace velo {

// Asks how to export the recolouring as a lookup table: a .cube file of a
// size, or a Hald CLUT image of a level. Nothing is written here: the caller
// reads settings() once the dialog is accepted.
class ExportLutDialog : public QDialog {
    Q_OBJECT
  public:
    // aboutAlpha: the adjustments match on or change alpha, which the table
    // cannot hold; the dialog says so.
    explicit ExportLutDialog(bool aboutAlpha, QWidget* parent = nullptr);

    LutSettings settings() const;

  private:
    void showFormat();

    QComboBox* format_ = nullptr;
    QSpinBox* size_ = nullptr;
    QSpinBox* level_ = nullptr;
    QLabel* levelPixels_ = nullptr;
};

} // namespace velo
