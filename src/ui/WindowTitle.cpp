#include "ui/WindowTitle.h"

#include <QCoreApplication>

#include <cmath>

namespace velo {

QString progressTitle(float share) {
    double percent = std::floor(static_cast<double>(share) * 100.0);
    return QCoreApplication::translate("DocumentMainWindow", "adjusting %1%")
        .arg(percent, 0, 'f', 0);
}

} // namespace velo
