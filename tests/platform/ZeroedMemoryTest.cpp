// The search table relies on zeroed memory that costs nothing until touched.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "platform/Platform.h"

namespace zomar::platform {
namespace {

TEST(ZeroedMemory, ReadsZeroAndBecomesResidentOnlyWhenTouched) {
    constexpr std::size_t size = 256 << 20;
    std::uint64_t before = 0, untouched = 0, touched = 0;
    ASSERT_TRUE(QueryWorkingSetSize(before));
    auto* block = static_cast<unsigned char*>(AllocateZeroedMemory(size));
    ASSERT_NE(block, nullptr);
    // Measured before the reads: a read touches a page too, and a large page
    // (2 MiB where the system grants them) counts whole.
    ASSERT_TRUE(QueryWorkingSetSize(untouched));
    for (std::size_t at = 0; at < size; at += size / 16) EXPECT_EQ(block[at] | block[at + 4095], 0) << at;
    std::memset(block, 1, size / 2);
    ASSERT_TRUE(QueryWorkingSetSize(touched));
    ReleaseZeroedMemory(block, size);
    EXPECT_LT(untouched, before + size / 8);
    EXPECT_GE(touched, before + size / 4);
}

}  // namespace
}  // namespace zomar::platform
