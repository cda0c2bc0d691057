#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace velo {

// A few threads running posted tasks in the order posted. The threads sleep
// while nothing waits; destroying the pool runs what waits, then joins.
class TaskPool {
  public:
    explicit TaskPool(unsigned threads);
    ~TaskPool();
    TaskPool(const TaskPool&) = delete;
    TaskPool& operator=(const TaskPool&) = delete;

    // One thread a core, shared by the whole program.
    static TaskPool& shared();

    unsigned threads() const { return static_cast<unsigned>(threads_.size()); }
    void post(std::function<void()> task);

    // Splits [0, count) into `bands` parts of about the same size and runs
    // work(first, end) on each: the first on the calling thread, the others
    // on the pool; returns once all have.
    void runInBands(int count, int bands, const std::function<void(int first, int end)>& work);

  private:
    void run();

    std::mutex mutex_;
    std::condition_variable posted_;
    std::deque<std::function<void()>> tasks_;
    bool ending_ = false;
    std::vector<std::thread> threads_;
};

} // namespace velo
