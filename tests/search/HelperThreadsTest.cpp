#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>

#include "search/HelperThreads.h"

namespace zomar {
namespace {

TEST(HelperThreads, WorkRunsUntilStoppedAndAHelpersErrorReachesTheCaller) {
    HelperThreads helpers(3, [](std::uint32_t index, const std::atomic<bool>& stop) -> std::uint64_t {
        while (!stop.load()) std::this_thread::yield();
        if (index == 1) throw std::runtime_error("helper 1 failed");
        return 1;
    });
    EXPECT_EQ(helpers.Started(), 3u);
    try {
        helpers.Stop();
        ADD_FAILURE() << "no error";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "helper 1 failed");
    }
}

}  // namespace
}  // namespace zomar
