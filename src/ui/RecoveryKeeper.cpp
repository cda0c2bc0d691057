#include "ui/RecoveryKeeper.h"

#include "platform/Log.h"

#include <algorithm>

namespace velo {

RecoveryKeeper::RecoveryKeeper(RecoveryFolder& folder, VeloDocument& document, QObject* parent)
    : QObject(parent), folder_(folder), document_(document), slot_(folder.newSlot()) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &RecoveryKeeper::keepNow);
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
    writer_.post([this, &folder = folder_, slot = slot_, archive = document_.archiveSnapshot(),
                  original = originalPath_.toStdString(), &logged = failureLogged_,
                  retrySeconds = retryMs_ / 1000] {
        std::optional<std::string> error = folder.write(slot, archive, original);
        if (!error) {
            logged = false;
            return;
        }
        // Said once: the user's own saving still works, and says why it fails.
        if (!logged.exchange(true)) {
            logMessage("Could not keep an unsaved document for recovery (trying again every " +
                       std::to_string(retrySeconds) + " s): " + *error);
        }
        QMetaObject::invokeMethod(this, &RecoveryKeeper::retryLater, Qt::QueuedConnection);
    });
}

// Unless an edit has already scheduled the next write.
void RecoveryKeeper::retryLater() {
    if (!timer_.isActive() && document_.isDocumentEdited()) {
        timer_.start(retryMs_);
    }
}

void RecoveryKeeper::forget() {
    timer_.stop();
    firstUnwritten_.invalidate();
    writer_.post([&folder = folder_, slot = slot_] { folder.remove(slot); });
}

} // namespace velo
