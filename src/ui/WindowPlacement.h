#pragma once

#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>

namespace velo {

// The name of a new untitled document: "Untitled", or "Untitled N" with the
// smallest N from 2 that no open window has.
QString nextUntitledName(const QStringList& openNames, const QString& untitled);

// Where a new window goes: a step right and down from the last one, back to
// the area's top left when the step would leave it.
QPoint cascadedPosition(QPoint last, QSize window, QRect area);

} // namespace velo
