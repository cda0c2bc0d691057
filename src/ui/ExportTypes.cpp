#include "ui/ExportTypes.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace velo {

namespace {

const ExportType kExportTypes[] = {
    {QT_TRANSLATE_NOOP("ExportTypes", "TIFF image"), "tiff", {"tiff", "tif"}},
    {QT_TRANSLATE_NOOP("ExportTypes", "JPEG image"), "jpg", {"jpg", "jpeg"}},
    {QT_TRANSLATE_NOOP("ExportTypes", "BMP image"), "bmp", {"bmp"}},
    {QT_TRANSLATE_NOOP("ExportTypes", "GIF image"), "gif", {"gif"}},
    {QT_TRANSLATE_NOOP("ExportTypes", "PNG image"), "png", {"png"}},
};

} // namespace

std::span<const ExportType> exportTypes() {
    return kExportTypes;
}

QString filterOf(const ExportType& type) {
    QStringList patterns;
    for (const QString& extension : type.extensions) {
        patterns << "*." + extension;
    }
    return QString("%1 (%2)").arg(QCoreApplication::translate("ExportTypes", type.name),
                                  patterns.join(' '));
}

ExportTarget exportTarget(const QString& typed, const ExportType& chosen) {
    QString suffix = QFileInfo(typed).suffix().toLower();
    for (const ExportType& type : kExportTypes) {
        if (type.extensions.contains(suffix)) {
            return {typed, &type};
        }
    }
    return {typed + "." + chosen.extensions.first(), &chosen};
}

} // namespace velo
