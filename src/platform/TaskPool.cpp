#include "platform/TaskPool.h"

#include <algorithm>
#include <latch>
#include <memory>

namespace velo {

TaskPool::TaskPool(unsigned threads) {
    for (unsigned i = 0; i < std::max(threads, 1u); ++i) {
        threads_.emplace_back([this] { run(); });
    }
}

TaskPool::~TaskPool() {
    {
        std::lock_guard lock(mutex_);
        ending_ = true;
    }
    posted_.notify_all();
    for (std::thread& thread : threads_) {
        thread.join();
    }
}

TaskPool& TaskPool::shared() {
    static TaskPool pool(std::thread::hardware_concurrency());
    return pool;
}

void TaskPool::post(std::function<void()> task) {
    {
        std::lock_guard lock(mutex_);
        tasks_.push_back(std::move(task));
    }
    posted_.notify_one();
}

void TaskPool::run() {
    for (;;) {
        std::function<void()> task;
        {
            std::unique_lock lock(mutex_);
            posted_.wait(lock, [this] { return ending_ || !tasks_.empty(); });
            if (tasks_.empty()) {
                return;
            }
            task = std::move(tasks_.front());
            tasks_.pop_front();
        }
        task();
    }
}

void TaskPool::runInBands(int count, int bands,
                          const std::function<void(int first, int end)>& work) {
    bands = std::max(1, bands);
    auto band = [&](int index) {
        work(static_cast<int>(static_cast<long long>(count) * index / bands),
             static_cast<int>(static_cast<long long>(count) * (index + 1) / bands));
    };
    // Shared: a band may still be inside count_down() when wait() returns.
    auto done = std::make_shared<std::latch>(bands - 1);
    for (int index = 1; index < bands; ++index) {
        post([&band, done, index] {
            band(index);
            done->count_down();
        });
    }
    band(0);
    done->wait();
}

} // namespace velo
