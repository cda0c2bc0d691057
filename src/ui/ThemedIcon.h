#pragma once

#include <QByteArray>
#include <QColor>
#include <QIcon>
#include <QPalette>
#include <QString>

namespace velo {

// The toolbar's artwork draws its outlines in kOutline and its light panels
// in kPaper; on the desktop's palette they take the text and window colours,
// so that the icons read on a dark theme as on a light one.
inline constexpr const char* kOutline = "#3c4452";
inline constexpr const char* kPaper = "#f2f4f7";

// The SVG with those two colours replaced.
QByteArray recolouredSvg(QByteArray svg, const QColor& outline, const QColor& paper);

// The icon of an SVG resource in the palette's colours, sharp at every
// device pixel ratio up to 3.
QIcon themedIcon(const QString& resource, const QPalette& palette);

} // namespace velo
