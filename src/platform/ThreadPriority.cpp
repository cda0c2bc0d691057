#include "platform/ThreadPriority.h"

#include <algorithm>
#include <atomic>

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace velo {

namespace {

std::atomic<bool> backgroundYields{false};

} // namespace

void setBackgroundThreadsYield(bool yield) {
    backgroundYields = yield;
}

void enterBackgroundPriority() {
    if (!backgroundYields) {
        return;
    }
    // Linux keeps a nice value per thread, addressed by its thread id; the
    // thread starts with its process's.
    const auto thread = static_cast<id_t>(syscall(SYS_gettid));
    setpriority(PRIO_PROCESS, thread, std::min(getpriority(PRIO_PROCESS, thread) + 10, 19));
}

} // namespace velo
