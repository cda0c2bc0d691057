#include "platform/ConditionLock.h"

namespace velo {

void ConditionLock::unlock() {
    mutex_.unlock();
    changed_.notify_all();
}

void ConditionLock::unlockWithCondition(int condition) {
    condition_ = condition;
    unlock();
}

void ConditionLock::lockWhenCondition(int condition) {
    lockWhen([this, condition] { return condition_ == condition; });
}

bool ConditionLock::lockWhenCondition(int condition, Clock::time_point deadline) {
    return lockWhen([this, condition] { return condition_ == condition; }, deadline);
}

bool ConditionLock::lockWhen(const std::function<bool()>& ready, Clock::time_point deadline) {
    std::unique_lock<std::mutex> guard(mutex_);
    if (!changed_.wait_until(guard, deadline, ready)) {
        return false;
    }
    guard.release();
    return true;
}

void ConditionLock::lockWhen(const std::function<bool()>& ready) {
    std::unique_lock<std::mutex> guard(mutex_);
    changed_.wait(guard, ready);
    guard.release();
}

} // namespace velo
