#include "search/HelperThreads.h"

#include "board/GameRecord.h"

namespace zomar {

HelperThreads::HelperThreads(std::uint32_t count, const ListBoard& position, TranspositionTable& table,
                             SearchLimits limits, std::int32_t hardLimit)
    : mStones(count, 0), mErrors(count) {
    mThreads.reserve(count);
    try {
        for (std::uint32_t i = 0; i < count; ++i) {
            mThreads.emplace_back(&HelperThreads::Run, this, i, std::cref(position), std::ref(table), limits,
                                  hardLimit);
        }
    } catch (...) {
        Join();
        throw;
    }
}

HelperThreads::~HelperThreads() {
    Join();
}

void HelperThreads::Join() {
    mStop.store(true, std::memory_order_relaxed);
    for (std::thread& thread : mThreads) {
        if (thread.joinable()) thread.join();
    }
}

std::uint64_t HelperThreads::Stop() {
    Join();
    for (const std::exception_ptr& error : mErrors) {
        if (error) std::rethrow_exception(error);
    }
    std::uint64_t stones = 0;
    for (const std::uint32_t s : mStones) stones += s;
    return stones;
}

void HelperThreads::Run(std::uint32_t index, const ListBoard& position, TranspositionTable& table, SearchLimits limits,
                        std::int32_t hardLimit) {
    try {
        const std::unique_ptr<ListBoard> board = ListBoard::CopySearchBoard(position);
        const std::uint32_t before = madeMoveCount;
        SearchCounters counters;
        // Every other helper starts a ply deeper; helpers deepen until stopped.
        limits.stop = &mStop;
        TreeSearch search(table, counters, {}, limits, {(index + 1) % 2});
        search.IterativeDeepening(*board, hardLimit, hardLimit);
        mStones[index] = madeMoveCount - before;
    } catch (...) {
        mErrors[index] = std::current_exception();
    }
}

}  // namespace zomar
