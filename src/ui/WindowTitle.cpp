#include "ui/WindowTitle.h"

#include <QCoreApplication>

#include <cmath>

namespace velo {

QString progressTitle(float share) {
    double percent = std::floor(static_cast<double>(share) * 100.0);
    return QCoreApplication::translate("DocumentMainWindow", "adjusting %1%")
        .arg(percent, 0, 'f', 0);
}

QString colorPanelTarget(const VeloDocument& document) {
    int row = document.clickedColorTableRow();
    VeloDocument::ColorColumn column = document.clickedColorTableColumn();
    if (column == VeloDocument::ColorColumn::None || row < 0 ||
        row >= document.numberOfRowsInTableView()) {
        return {};
    }
    QString cell = column == VeloDocument::ColorColumn::Source
                       ? QCoreApplication::translate("DocumentMainWindow", "Source of row %1")
                       : QCoreApplication::translate("DocumentMainWindow", "Target of row %1");
    return QStringLiteral("%1 — %2").arg(cell.arg(row + 1),
                                         QString::fromStdString(document.displayName()));
}

} // namespace velo
