#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <mutex>

class QSocketNotifier;

namespace velo {

// Carries "stripes are finished" from the workers to the main thread: at
// most one notice waits, whatever the number of stripes, and nothing reaches
// the main thread once the mailbox is gone. The notice travels through an
// event descriptor and the flag through a mutex of ours, so the hand-over is
// plain to see for a thread checker too.
class StripeMailbox : public QObject {
    Q_OBJECT
  public:
    explicit StripeMailbox(QObject* parent = nullptr);
    ~StripeMailbox() override;

    // For the engine: safe to call on any thread, also after the mailbox is
    // gone.
    std::function<void()> sender() const;

  signals:
    void stripesFinished();

  private:
    struct Slot {
        std::mutex mutex;
        int descriptor = -1;
        bool pending = false;
        ~Slot();
    };
    void receive();

    std::shared_ptr<Slot> slot_;
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace velo
