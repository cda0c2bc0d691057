#include "ui/WindowPlacement.h"

namespace velo {

namespace {

// About a title bar's height: each window's title stays in sight.
constexpr int kCascadeStep = 28;

} // namespace

QString nextUntitledName(const QStringList& openNames, const QString& untitled) {
    if (!openNames.contains(untitled)) {
        return untitled;
    }
    for (int n = 2;; ++n) {
        QString name = QStringLiteral("%1 %2").arg(untitled).arg(n);
        if (!openNames.contains(name)) {
            return name;
        }
    }
}

QPoint cascadedPosition(QPoint last, QSize window, QRect area) {
    QPoint next = last + QPoint(kCascadeStep, kCascadeStep);
    if (next.x() + window.width() > area.right() + 1 ||
        next.y() + window.height() > area.bottom() + 1) {
        return area.topLeft();
    }
    return next;
}

} // namespace velo
