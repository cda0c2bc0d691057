#include "ui/ThemedIcon.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QPixmap>

namespace velo {

QByteArray recolouredSvg(QByteArray svg, const QColor& outline, const QColor& paper) {
    svg.replace(kOutline, outline.name().toLatin1());
    svg.replace(kPaper, paper.name().toLatin1());
    return svg;
}

QIcon themedIcon(const QString& resource, const QPalette& palette) {
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    QByteArray svg = recolouredSvg(file.readAll(), palette.color(QPalette::WindowText),
                                   palette.color(QPalette::Window));
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48}) {
        for (int ratio : {1, 2, 3}) {
            QBuffer buffer(&svg);
            buffer.open(QIODevice::ReadOnly);
            QImageReader reader(&buffer, "svg");
            reader.setScaledSize(QSize(size, size) * ratio);
            QPixmap pixmap = QPixmap::fromImage(reader.read());
            if (pixmap.isNull()) {
                return QIcon(resource); // no SVG reader: the artwork as drawn
            }
            pixmap.setDevicePixelRatio(ratio);
            icon.addPixmap(pixmap);
        }
    }
    return icon;
}

} // namespace velo
