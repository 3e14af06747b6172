// The search table relies on zeroed memory that costs nothing until touched,
// and on a headroom figure to cap its size.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "platform/Platform.h"

namespace zomar::platform {
namespace {

TEST(ZeroedMemory, ReadsZeroAndTakesResidentMemoryOnlyWhenTouched) {
    constexpr std::size_t size = 256 << 20;
    std::uint64_t before = 0;
    ASSERT_TRUE(QueryWorkingSetSize(before));
    auto* block = static_cast<unsigned char*>(AllocateZeroedMemory(size));
    ASSERT_NE(block, nullptr);
    for (std::size_t at = 0; at < size; at += size / 16) EXPECT_EQ(block[at] | block[at + 4095], 0) << at;
    std::uint64_t untouched = 0;
    ASSERT_TRUE(QueryWorkingSetSize(untouched));
    EXPECT_LT(untouched, before + size / 8);

    std::memset(block, 1, size / 2);
    std::uint64_t touched = 0;
    ASSERT_TRUE(QueryWorkingSetSize(touched));
    EXPECT_GE(touched, before + size / 4);
    ReleaseZeroedMemory(block, size);

    std::uint64_t headroom = 0;
    ASSERT_TRUE(QueryMemoryHeadroom(headroom));
    EXPECT_GT(headroom, 0u);
}

}  // namespace
}  // namespace zomar::platform
