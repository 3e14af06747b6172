#pragma once

#include <cstddef>
#include <cstdint>

namespace zomar {

// The time and memory a move may take, from the manager's limits.
struct TimeBudget {
    std::int32_t softLimit = 0;
    std::int32_t hardLimit = 0;
};

// Limits of one move from the turn time and the time left in the match.
TimeBudget ComputeTimeBudget(std::int32_t timeoutTurn, std::int32_t remaining);

// Every move is answered this many milliseconds before its limits.
constexpr std::int32_t TimeSafetyMs = 80;
// The soft limit is this share of the time left in the match.
constexpr std::int32_t MatchTimeShare = 45;

// Memory the process keeps beside the table: 2 MiB and a little.
constexpr std::int64_t ReservedMemoryBytes = 2097208;
// The table never gets fewer entries than this, however small the budget.
constexpr std::size_t MinTableEntries = 1024;

// Table entries for a memory limit and the memory the process already uses.
// The limit is first lowered to what the process can still get (headroom
// bytes beyond its working set); the largest headroom means no such bound.
std::size_t SearchTableEntries(std::int64_t maxMemory, std::uint64_t workingSet,
                               std::uint64_t headroom = UINT64_MAX);

}  // namespace zomar
