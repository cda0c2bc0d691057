#include "ui/Handbook.h"

#include <QDir>
#include <QFileInfo>

namespace velo {

QString builtHandbookPath() {
    return QStringLiteral(VELO_BUILD_HANDBOOK);
}

QString handbookPath(const QString& applicationDir, const QString& builtHandbook) {
    // Relative to the program, so a package or a prefix install finds its own.
    QString installed = QDir(applicationDir + QStringLiteral("/.."))
                            .filePath(QStringLiteral(VELO_INSTALLED_HANDBOOK "/index.html"));
    for (const QString& candidate : {installed, builtHandbook}) {
        if (!candidate.isEmpty() && QFileInfo(candidate).isFile()) {
            return QDir::cleanPath(QFileInfo(candidate).absoluteFilePath());
        }
    }
    return {};
}

} // namespace velo
