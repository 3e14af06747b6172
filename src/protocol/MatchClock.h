#pragma once

#include <cstdint>

#include "protocol/MsTimer.h"

namespace zomar {

// The stored "timeout_match" until the manager sends one; no deadline follows
// from it.
constexpr std::int32_t DefaultMatchTimeMs = 30000;

// The turn limit and the match deadline. Until the manager sends "time_left",
// the deadline lies timeout_match after the start of the game (0, or no
// "timeout_match" sent: none); from the first "time_left" on, each one sets
// the deadline from now.
struct MatchClock {
    std::int32_t timeout_turn = 1000;
    std::int32_t timeout_match = DefaultMatchTimeMs;
    MsTimer matchTimer;  // its mark is the match deadline
    MsTimer gameTimer;   // started with each game
    bool timeLeftSent = false;
    // A manager that limits the match sends one of the two; a person at a
    // board may send neither.
    bool timeoutMatchSent = false;

    void StartGame();
    void SetTimeoutMatch(std::int32_t ms);
    void SetTimeLeft(std::int32_t ms);
    // Milliseconds to the match deadline (negative once past); INT32_MAX when
    // there is none.
    std::int32_t RemainingMs();

private:
    void FollowTimeoutMatch();
};

}  // namespace zomar
