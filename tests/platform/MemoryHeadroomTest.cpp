#include <gtest/gtest.h>

#include <sys/resource.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "platform/Platform.h"

namespace zomar::platform {
namespace {

constexpr std::uint64_t MiB = 1024 * 1024;

// Exits with 0 when, under the two limits, the headroom is some room below the
// lower of them.
void ExitZeroWhenTheLowerLimitBounds(std::uint64_t addressSpace, std::uint64_t data) {
    const rlimit addressLimit{addressSpace, addressSpace};
    const rlimit dataLimit{data, data};
    if (setrlimit(RLIMIT_AS, &addressLimit) != 0 || setrlimit(RLIMIT_DATA, &dataLimit) != 0) std::exit(2);
    std::uint64_t headroom = 0;
    std::exit(QueryMemoryHeadroom(headroom) && headroom > 0 && headroom <= std::min(addressSpace, data) ? 0 : 1);
}

TEST(QueryMemoryHeadroom, IsBoundedByTheLowerOfTheProcessLimits) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "the sanitizer's shadow memory needs more address space";
#endif
    EXPECT_EXIT(ExitZeroWhenTheLowerLimitBounds(1024 * MiB, 512 * MiB), testing::ExitedWithCode(0), "");
    EXPECT_EXIT(ExitZeroWhenTheLowerLimitBounds(512 * MiB, 1024 * MiB), testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace zomar::platform
