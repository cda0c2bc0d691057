#pragma once

#include <QStringList>

class QSettings;

namespace velo {

// The files offered by Open Recent, the latest first, kept in the settings.
class RecentFiles {
  public:
    static constexpr int kMaximumCount = 10;

    explicit RecentFiles(QSettings& settings) : settings_(settings) {}

    // Puts the file first, once; the oldest beyond the maximum are dropped.
    void add(const QString& path);
    void clear();
    // The remembered files that still exist; a missing one stays remembered,
    // as it may come back (a disk not mounted yet).
    QStringList files() const;

  private:
    QStringList stored() const;

    QSettings& settings_;
};

} // namespace velo
