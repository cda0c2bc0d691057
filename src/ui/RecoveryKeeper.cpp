#include "ui/RecoveryKeeper.h"

#include "platform/Log.h"

#include <algorithm>

namespace velo {

RecoveryKeeper::RecoveryKeeper(RecoveryFolder& folder, VeloDocument& document, QObject* parent)
    : QObject(parent), folder_(folder), document_(document), slot_(folder.newSlot()) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &RecoveryKeeper::keepNow);
    retry_.setSingleShot(true);
    connect(&retry_, &QTimer::timeout, this, &RecoveryKeeper::retryIfFailing);
    document_.addObserver(this);
}

RecoveryKeeper::~RecoveryKeeper() {
    document_.removeObserver(this);
    forget();
}

int RecoveryKeeper::delayAfterEdit(qint64 sinceFirstUnwrittenMs) {
    return static_cast<int>(std::clamp<qint64>(kLatestMs - sinceFirstUnwrittenMs, 0, kQuietMs));
}

void RecoveryKeeper::documentChanged(DocumentChange changes) {
    if (!hasAny(changes, kSavedContent | DocumentChange::Edited)) {
        return;
    }
    if (!firstUnwritten_.isValid()) {
        firstUnwritten_.start();
    }
    timer_.start(delayAfterEdit(firstUnwritten_.elapsed()));
}

void RecoveryKeeper::keepNow() {
    timer_.stop();
    firstUnwritten_.invalidate();
    if (!document_.isDocumentEdited()) {
        forget();
        return;
    }
    writer_.post([&folder = folder_, slot = slot_, archive = document_.archiveSnapshot(),
                  original = originalPath_.toStdString(), &failing = failing_,
                  retrySeconds = retryMs_ / 1000] {
        std::optional<std::string> error = folder.write(slot, archive, original);
        // Said once a run of failures: the user's own saving still works, and
        // says why it fails.
        if (error && !failing.exchange(true)) {
            logMessage("Could not keep an unsaved document for recovery (trying again every " +
                       std::to_string(retrySeconds) + " s): " + *error);
        }
        if (!error) {
            failing = false;
        }
    });
    retry_.start(retryMs_);
}

// After a failed write, again; an edit may already have scheduled the next.
void RecoveryKeeper::retryIfFailing() {
    if (failing_ && !timer_.isActive()) {
        keepNow();
    }
}

void RecoveryKeeper::forget() {
    timer_.stop();
    retry_.stop();
    firstUnwritten_.invalidate();
    writer_.post([&folder = folder_, slot = slot_] { folder.remove(slot); });
}

} // namespace velo
