// The memory budget of the search subtracts the working set; the query must
// see memory the process really touches (on Linux and on Windows alike).
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>

#include "platform/Platform.h"

namespace zomar::platform {
namespace {

TEST(QueryWorkingSetSize, GrowsWithMemoryTheProcessTouches) {
    std::uint64_t before = 0;
    ASSERT_TRUE(QueryWorkingSetSize(before));
    EXPECT_GT(before, 0u);

    constexpr std::size_t touched = 64 << 20;
    std::unique_ptr<char[]> block(new char[touched]);
    std::memset(block.get(), 1, touched);
    std::uint64_t after = 0;
    ASSERT_TRUE(QueryWorkingSetSize(after));
    EXPECT_GE(after, before + touched / 2);
    EXPECT_EQ(block[touched - 1], 1);
}

}  // namespace
}  // namespace zomar::platform
