#include "platform/LatestJobWorker.h"

namespace velo {

LatestJobWorker::LatestJobWorker() : thread_([this] { run(); }) {}

LatestJobWorker::~LatestJobWorker() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ending_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void LatestJobWorker::post(Job job) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        waiting_ = std::move(job);
    }
    changed_.notify_all();
}

void LatestJobWorker::waitUntilIdle() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return !waiting_ && !running_; });
}

void LatestJobWorker::run() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return waiting_ || ending_; });
        if (!waiting_) {
            return; // ending, and nothing left to do
        }
        Job job = std::move(*waiting_);
        waiting_.reset();
        running_ = true;
        lock.unlock();
        job();
        lock.lock();
        running_ = false;
        changed_.notify_all();
    }
}

} // namespace velo
