#include "search/SearchBudget.h"

#include <algorithm>

#include "protocol/Communicator.h"

namespace zomar {

TimeBudget ComputeTimeBudget(std::int32_t timeoutTurn, std::int32_t remaining) {
    const std::int64_t hard = std::min<std::int64_t>(timeoutTurn, remaining) - TimeSafetyMs;
    TimeBudget budget;
    budget.hardLimit = static_cast<std::int32_t>(std::max<std::int64_t>(hard, 0));
    const std::int64_t soft = static_cast<std::int64_t>(remaining / MatchTimeShare) - TimeSafetyMs;
    budget.softLimit = static_cast<std::int32_t>(std::clamp<std::int64_t>(soft, 0, budget.hardLimit));
    return budget;
}

std::size_t SearchTableEntries(std::int64_t maxMemory, std::uint64_t workingSet, std::uint64_t headroom) {
    // Managers send max_memory 0 for "no limit".
    std::int64_t limit = maxMemory == 0 ? DefaultMaxMemory : maxMemory;
    // A limit beyond what the machine or the process limits can give would
    // end in a refused allocation, or in paging, on the first move.
    if (headroom < static_cast<std::uint64_t>(INT64_MAX) - workingSet) {
        limit = std::min(limit, static_cast<std::int64_t>(workingSet + headroom));
    }
    const std::int64_t budget = limit - static_cast<std::int64_t>(workingSet) - ReservedMemoryBytes;
    // 3 % of the budget is held back; an entry takes 32 bytes.
    const double entries = static_cast<double>(budget) * 0.97 * 0.03125;
    if (entries < static_cast<double>(MinTableEntries)) return MinTableEntries;
    return static_cast<std::size_t>(entries);
}

}  // namespace zomar
