#include "display/StripeMailbox.h"

#include <QSocketNotifier>
#include <cstdint>
#include <sys/eventfd.h>
#include <unistd.h>

namespace velo {

StripeMailbox::Slot::~Slot() {
    if (descriptor >= 0) {
        ::close(descriptor);
    }
}

StripeMailbox::StripeMailbox(QObject* parent) : QObject(parent), slot_(std::make_shared<Slot>()) {
    slot_->descriptor = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (slot_->descriptor >= 0) {
        notifier_ = new QSocketNotifier(slot_->descriptor, QSocketNotifier::Read, this);
        connect(notifier_, &QSocketNotifier::activated, this, &StripeMailbox::receive);
    }
}

StripeMailbox::~StripeMailbox() {
    std::lock_guard guard(slot_->mutex);
    slot_->pending = true; // no more notices
}

std::function<void()> StripeMailbox::sender() const {
    // The slot outlives the mailbox while a worker still holds the sender.
    std::shared_ptr<Slot> slot = slot_;
    return [slot] {
        std::lock_guard guard(slot->mutex);
        if (!slot->pending && slot->descriptor >= 0) {
            slot->pending = true;
            std::uint64_t one = 1;
            [[maybe_unused]] ssize_t written = ::write(slot->descriptor, &one, sizeof one);
        }
    };
}

void StripeMailbox::receive() {
    std::uint64_t count = 0;
    [[maybe_unused]] ssize_t read = ::read(slot_->descriptor, &count, sizeof count);
    {
        std::lock_guard guard(slot_->mutex);
        slot_->pending = false;
    }
    emit stripesFinished();
}

} // namespace velo
