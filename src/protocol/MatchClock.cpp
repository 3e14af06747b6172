#include "protocol/MatchClock.h"

#include <algorithm>
#include <climits>

namespace zomar {

void MatchClock::StartGame() {
    gameTimer.StartTimer();
    FollowTimeoutMatch();
}

void MatchClock::SetTimeoutMatch(std::int32_t ms) {
    timeout_match = ms;
    timeoutMatchSent = true;
    FollowTimeoutMatch();
}

void MatchClock::SetTimeLeft(std::int32_t ms) {
    timeLeftSent = true;
    matchTimer.SetDeadline(ms);
}

std::int32_t MatchClock::RemainingMs() {
    if (!timeLeftSent && (!timeoutMatchSent || timeout_match == 0)) return INT32_MAX;
    const std::int64_t remaining = -static_cast<std::int64_t>(matchTimer.ElapsedMs());
    return static_cast<std::int32_t>(std::min<std::int64_t>(remaining, INT32_MAX));
}

void MatchClock::FollowTimeoutMatch() {
    if (timeLeftSent) return;
    matchTimer = gameTimer;
    matchTimer.mark += static_cast<std::uint32_t>(timeout_match);
}

}  // namespace zomar
