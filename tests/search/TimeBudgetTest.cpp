#include <gtest/gtest.h>

#include <climits>

#include "search/ABPNSEngine.h"
#include "support/EngineSession.h"

namespace zomar {
namespace {

TEST(TimeBudgetTest, LimitsFollowTurnTimeAndMatchShare) {
    const TimeBudget shortTurn = ComputeTimeBudget(1000, 30000);
    EXPECT_EQ(shortTurn.hardLimit, 920);
    EXPECT_EQ(shortTurn.softLimit, 586);

    const TimeBudget longTurn = ComputeTimeBudget(5000, 180000);
    EXPECT_EQ(longTurn.hardLimit, 4920);
    EXPECT_EQ(longTurn.softLimit, 3920);

    // Plenty of match time left, but a short turn.
    const TimeBudget budget = ComputeTimeBudget(500, 1000000);
    EXPECT_EQ(budget.hardLimit, 420);
    EXPECT_EQ(budget.softLimit, 420);
}

TEST(TimeBudgetTest, NoTimeLeftAnswersAtOnce) {
    EXPECT_EQ(ComputeTimeBudget(80, 30000).hardLimit, 0);
    EXPECT_EQ(ComputeTimeBudget(80, 30000).softLimit, 0);
    EXPECT_EQ(ComputeTimeBudget(1000, -5000).hardLimit, 0);
    EXPECT_EQ(ComputeTimeBudget(1000, -5000).softLimit, 0);
    // The match share runs out before the turn time does.
    EXPECT_EQ(ComputeTimeBudget(1000, 3000).hardLimit, 920);
    EXPECT_EQ(ComputeTimeBudget(1000, 3000).softLimit, 0);
}

TEST(TimeBudgetTest, ExtremeSettingsDoNotOverflow) {
    EXPECT_EQ(ComputeTimeBudget(INT_MIN, 30000).hardLimit, 0);
    const TimeBudget huge = ComputeTimeBudget(INT_MAX, INT_MAX);
    EXPECT_EQ(huge.hardLimit, INT_MAX - 80);
    EXPECT_EQ(huge.softLimit, INT_MAX / 45 - 80);
}

using MatchDeadline = EngineSession;

TEST_F(MatchDeadline, FollowsTimeoutMatchUntilTimeLeftArrives) {
    ABPNSEngine fresh("pbrain-test", input, output);
    fresh.ParseInfo("timeout_turn", "100000");
    fresh.ParseInfo("timeout_match", "0");
    EXPECT_EQ(fresh.ComputeTimeBudget().softLimit, ComputeTimeBudget(100000, INT_MAX).softLimit);
    fresh.ParseInfo("timeout_match", "600000");
    EXPECT_GT(fresh.ComputeTimeBudget().softLimit, ComputeTimeBudget(100000, 590000).softLimit);
    fresh.ParseInfo("time_left", "1000");
    fresh.ParseInfo("timeout_match", "0");
    EXPECT_EQ(fresh.ComputeTimeBudget().softLimit, ComputeTimeBudget(100000, 1000).softLimit);
}

}  // namespace
}  // namespace zomar
