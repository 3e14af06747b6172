#include <gtest/gtest.h>

#include "protocol/MsTimer.h"

namespace zomar {
namespace {

MsTimer::Reading At(std::int64_t seconds, std::uint16_t milliseconds) {
    MsTimer::Reading reading;
    reading.seconds = seconds;
    reading.milliseconds = milliseconds;
    return reading;
}

TEST(MsTimer, ReadingsWrapInThirtyTwoBitMilliseconds) {
    EXPECT_EQ(MsTimer::ReadingMs(At(12, 345)), 12345u);
    EXPECT_EQ(MsTimer::ReadingMs(At((std::int64_t {1} << 32) + 5, 7)), 5007u);
    EXPECT_EQ(MsTimer::ReadingMs(At(4294967, 295)), 0xFFFFFFFFu);
    EXPECT_EQ(MsTimer::ReadingMs(At(4294967, 296)), 0u);
}

TEST(MsTimer, FarDeadlineStaysAheadWhereverTheCountWraps) {
    constexpr std::int32_t farAhead = 0x7FFF0000;
    MsTimer deadline;
    deadline.SetDeadline(farAhead);
    std::int32_t elapsed = deadline.ElapsedMs();
    EXPECT_LE(elapsed, -farAhead + 600000);
    EXPECT_GE(elapsed, -farAhead);
}

TEST(MsTimer, StopwatchCountsUpAndDeadlineCountsUpFromBelowZero) {
    MsTimer stopwatch;
    stopwatch.StartTimer();
    std::int32_t elapsed = stopwatch.ElapsedMs();
    EXPECT_GE(elapsed, 0);
    EXPECT_EQ(stopwatch.now, MsTimer::ReadingMs(stopwatch.reading));

    MsTimer deadline;
    deadline.SetDeadline(60000);
    std::int32_t beforeDeadline = deadline.ElapsedMs();
    EXPECT_LT(beforeDeadline, 0);
    EXPECT_GE(beforeDeadline, -60000);
    EXPECT_EQ(deadline.now - deadline.mark, static_cast<std::uint32_t>(beforeDeadline));
}

}  // namespace
}  // namespace zomar
