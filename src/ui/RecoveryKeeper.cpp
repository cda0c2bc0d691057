#include "ui/RecoveryKeeper.h"

#include "platform/Log.h"

#include <algorithm>
#include <utility>

namespace velo {

RecoveryKeeper::RecoveryKeeper(RecoveryFolder& folder, VeloDocument& document, QObject* parent)
    : QObject(parent), folder_(folder), document_(document), slot_(folder.newSlot()) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &RecoveryKeeper::keepNow);
}

RecoveryKeeper::~RecoveryKeeper() {
    forget();
}

int RecoveryKeeper::delayAfterEdit(qint64 sinceFirstUnwrittenMs) {
    return static_cast<int>(std::clamp<qint64>(kLatestMs - sinceFirstUnwrittenMs, 0, kQuietMs));
}

void RecoveryKeeper::documentEdited() {
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
    std::optional<std::string> error = folder_.write(slot_, document_, originalPath_.toStdString());
    // Said once: the user's own saving still works, and says why it fails.
    if (error && !std::exchange(failureLogged_, true)) {
        logMessage("Could not keep an unsaved document for recovery: " + *error);
    }
}

void RecoveryKeeper::forget() {
    timer_.stop();
    firstUnwritten_.invalidate();
    folder_.remove(slot_);
}

} // namespace velo
