#pragma once

#include <atomic>
#include <cstdint>
#include <exception>
#include <thread>
#include <vector>

#include "board/ListBoard.h"
#include "search/TranspositionTable.h"
#include "search/TreeSearch.h"

namespace zomar {

// The helper threads of a search run by several threads. Each searches the
// same position on its own board, with its own work area and node counter,
// sharing only the table with the first thread, until the first thread has
// answered; their results are not used, only what they leave in the table.
class HelperThreads {
public:
    // Starts count helpers on copies of position, which must stay unchanged
    // until Stop.
    HelperThreads(std::uint32_t count, const ListBoard& position, TranspositionTable& table, SearchLimits limits,
                  std::int32_t hardLimit);
    ~HelperThreads();
    HelperThreads(const HelperThreads&) = delete;
    HelperThreads& operator=(const HelperThreads&) = delete;

    // Ends the helpers and waits for them; returns the stones they placed.
    // Raises what a helper raised.
    std::uint64_t Stop();

private:
    void Run(std::uint32_t index, const ListBoard& position, TranspositionTable& table, SearchLimits limits,
             std::int32_t hardLimit);
    void Join();

    std::atomic<bool> mStop{false};
    std::vector<std::thread> mThreads;
    std::vector<std::uint32_t> mStones;
    std::vector<std::exception_ptr> mErrors;
};

}  // namespace zomar
