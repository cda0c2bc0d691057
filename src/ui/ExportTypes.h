#pragma once

#include <QString>
#include <QStringList>

#include <span>

namespace velo {

// A raster type the adjusted image exports as.
struct ExportType {
    const char* name;       // the file dialog's filter, translated
    const char* typeName;   // the document's type name
    QStringList extensions; // the first is added to a name without one
};

std::span<const ExportType> exportTypes();

// "PNG image (*.png)".
QString filterOf(const ExportType& type);

// Where an export goes and as what: the type a typed name's extension names
// when it is a known one ("sunset.jpg" is a JPEG whichever filter is chosen),
// else the chosen filter's type, its extension added.
struct ExportTarget {
    QString path;
    const ExportType* type;
};
ExportTarget exportTarget(const QString& typed, const ExportType& chosen);

} // namespace velo
