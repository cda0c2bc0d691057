#pragma once

#include "document/DocumentObserver.h"
#include "document/RecoveryFolder.h"
#include "platform/LatestJobWorker.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <atomic>

namespace velo {

// Keeps one window's unsaved document in the recovery folder: written a
// moment after the user stops editing, never later than 30 s after the
// first edit not yet written, and only when something changed; removed once
// the work is saved or given up. The archive is made and written on a
// thread of its own (a large image takes seconds), from a snapshot taken on
// the main thread. It learns of edits from the document itself.
class RecoveryKeeper : public QObject, public DocumentObserver {
    Q_OBJECT
  public:
    static constexpr int kQuietMs = 2000;
    static constexpr int kLatestMs = 30000;
    static constexpr int kRetryMs = 30000;

    RecoveryKeeper(RecoveryFolder& folder, VeloDocument& document, QObject* parent);
    ~RecoveryKeeper() override;

    // The file the document came from, kept with it for its name.
    void setOriginalPath(const QString& path) { originalPath_ = path; }
    const QString& originalPath() const { return originalPath_; }

    void documentChanged(DocumentChange changes) override;
    // Writes (or removes) the entry now, whatever is scheduled.
    void keepNow();
    // The work is saved, or the user gave it up.
    void forget();
    // Blocks until the entry is as the last call left it.
    void waitUntilKept() { writer_.waitUntilIdle(); }
    void setRetryInterval(int ms) { retryMs_ = ms; }

    // How long to wait after an edit, given the time since the first edit
    // that is not yet written.
    static int delayAfterEdit(qint64 sinceFirstUnwrittenMs);

  private:
    void retryIfFailing();

    RecoveryFolder& folder_;
    VeloDocument& document_;
    RecoveryFolder::Slot slot_;
    QString originalPath_;
    QTimer timer_;
    QElapsedTimer firstUnwritten_;
    QTimer retry_; // after each write: whether to try again
    int retryMs_ = kRetryMs;
    std::atomic<bool> failing_{false}; // from a failed write to one that succeeds
    LatestJobWorker writer_;           // last: it ends, having run what waits, first
};

} // namespace velo
