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

TEST(MsTimer, DifferencesStayRightAcrossTheWrap) {
    MsTimer timer;
    timer.StartTimer();
    timer.mark -= 0x7FFF0000u;  // started long ago, the count having wrapped since
    EXPECT_GE(timer.ElapsedMs(), 0x7FFF0000);
    EXPECT_EQ(timer.now - timer.mark, static_cast<std::uint32_t>(timer.ElapsedMs()) - (timer.now - timer.mark) +
                                          (timer.now - timer.mark));
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
