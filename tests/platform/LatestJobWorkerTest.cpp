#include "platform/LatestJobWorker.h"

#include <gtest/gtest.h>

#include <future>
#include <string>
#include <vector>

namespace velo {
namespace {

TEST(LatestJobWorker, AWaitingJobIsReplacedByALaterOneAndTheLastRunsBeforeTheEnd) {
    std::vector<std::string> ran; // written by the worker, read once it is idle or gone
    std::promise<void> release;
    std::promise<void> started;
    {
        LatestJobWorker worker;
        worker.post([&] {
            started.set_value();
            release.get_future().wait();
            ran.push_back("first");
        });
        started.get_future().wait();
        worker.post([&] { ran.push_back("replaced"); });
        worker.post([&] { ran.push_back("latest"); });
        release.set_value();
        worker.waitUntilIdle();
        EXPECT_EQ(ran, (std::vector<std::string>{"first", "latest"}));
        worker.post([&] { ran.push_back("at the end"); });
    }
    EXPECT_EQ(ran.back(), "at the end");
}

} // namespace
} // namespace velo
