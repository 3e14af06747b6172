#pragma once

#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <thread>
#include <vector>

#include "board/ListBoard.h"
#include "search/TranspositionTable.h"
#include "search/TreeSearch.h"

namespace zomar {

// The helper threads of a search run by several threads. Each runs the same
// work (a search of the position on its own board, sharing only the table with
// the first thread) until the first thread has answered; their results are not
// used, only what they leave in the table.
class HelperThreads {
public:
    // One helper's work: its index and the stop request it must follow until
    // it returns; returns the stones it placed.
    using Work = std::function<std::uint64_t(std::uint32_t index, const std::atomic<bool>& stop)>;

    // Starts up to count helpers. A helper the system cannot start (no thread,
    // no stack or memory for it) costs only itself: the search goes on with
    // those that started, and none start after it.
    HelperThreads(std::uint32_t count, Work work);
    ~HelperThreads();
    HelperThreads(const HelperThreads&) = delete;
    HelperThreads& operator=(const HelperThreads&) = delete;

    // The helpers that started.
    std::uint32_t Started() const { return static_cast<std::uint32_t>(mThreads.size()); }

    // Ends the helpers and waits for them; returns the stones they placed.
    // Raises what a helper raised.
    std::uint64_t Stop();

private:
    void Run(std::uint32_t index);
    void Join();

    Work mWork;
    std::atomic<bool> mStop{false};
    std::vector<std::thread> mThreads;
    std::vector<std::uint64_t> mStones;
    std::vector<std::exception_ptr> mErrors;
};

// A helper's search of position (unchanged until the helpers stop) on its
// own board, sharing table, deepening until stopped or hardLimit. Memory
// refused to it ends only this helper.
HelperThreads::Work HelperSearch(const ListBoard& position, TranspositionTable& table, SearchLimits limits,
                                 std::int32_t hardLimit);

}  // namespace zomar
