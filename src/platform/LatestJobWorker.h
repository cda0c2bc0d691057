#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

namespace velo {

// Runs jobs one after another on a thread of its own, for work whose latest
// state is all that matters (keeping a file up to date): a job posted while
// another still waits replaces it. Destroying the worker runs what waits,
// then joins.
class LatestJobWorker {
  public:
    using Job = std::function<void()>;

    LatestJobWorker();
    ~LatestJobWorker();
    LatestJobWorker(const LatestJobWorker&) = delete;
    LatestJobWorker& operator=(const LatestJobWorker&) = delete;

    void post(Job job);
    // Blocks until nothing waits and nothing runs.
    void waitUntilIdle();

  private:
    void run();

    std::mutex mutex_;
    std::condition_variable changed_;
    std::optional<Job> waiting_;
    bool running_ = false;
    bool ending_ = false;
    std::thread thread_;
};

} // namespace velo
