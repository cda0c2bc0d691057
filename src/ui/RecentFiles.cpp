#include "ui/RecentFiles.h"

#include <QFileInfo>
#include <QSettings>

namespace velo {

namespace {

const char* const kRecentFilesKey = "recentFiles";

} // namespace

QStringList RecentFiles::stored() const {
    return settings_.value(kRecentFilesKey).toStringList();
}

void RecentFiles::add(const QString& path) {
    QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList files = stored();
    files.removeAll(absolute);
    files.prepend(absolute);
    settings_.setValue(kRecentFilesKey, files.mid(0, kMaximumCount));
}

void RecentFiles::clear() {
    settings_.remove(kRecentFilesKey);
}

QStringList RecentFiles::files() const {
    QStringList existing;
    for (const QString& path : stored()) {
        if (QFileInfo::exists(path)) {
            existing << path;
        }
    }
    return existing;
}

} // namespace velo
