#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>

namespace velo {

// A lock carrying an integer condition: takers may wait until it holds a
// given value. Every unlock wakes the waiters so they test again; nobody
// polls.
class ConditionLock {
  public:
    using Clock = std::chrono::steady_clock;

    explicit ConditionLock(int condition) : condition_(condition) {}
    ConditionLock(const ConditionLock&) = delete;
    ConditionLock& operator=(const ConditionLock&) = delete;

    void lock() { mutex_.lock(); }
    void unlock();
    void unlockWithCondition(int condition);

    void lockWhenCondition(int condition);
    // False when the deadline passed first (the lock is then not held).
    bool lockWhenCondition(int condition, Clock::time_point deadline);

    // Waits until ready() holds, tested with the lock held; the lock is held
    // afterwards. False when the deadline passed first (not held then).
    bool lockWhen(const std::function<bool()>& ready, Clock::time_point deadline);
    void lockWhen(const std::function<bool()>& ready);

    // Only while the lock is held.
    int condition() const { return condition_; }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    int condition_;
};

} // namespace velo
