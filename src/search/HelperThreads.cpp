#include "search/HelperThreads.h"

#include <new>
#include <system_error>
#include <utility>

#include "board/GameRecord.h"

namespace zomar {

HelperThreads::HelperThreads(std::uint32_t count, Work work)
    : mWork(std::move(work)), mStones(count, 0), mErrors(count) {
    mThreads.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        // No thread, stack or thread state for it: under an address-space or
        // thread limit the next would fail too.
        try {
            mThreads.emplace_back(&HelperThreads::Run, this, i);
        } catch (const std::system_error&) {
            break;
        } catch (const std::bad_alloc&) {
            break;
        }
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
    for (const std::uint64_t s : mStones) stones += s;
    return stones;
}

void HelperThreads::Run(std::uint32_t index) {
    try {
        mStones[index] = mWork(index, mStop);
    } catch (...) {
        mErrors[index] = std::current_exception();
    }
}

HelperThreads::Work HelperSearch(const ListBoard& position, TranspositionTable& table, SearchLimits limits,
                                 std::int32_t hardLimit) {
    return [&position, &table, limits, hardLimit](std::uint32_t index, const std::atomic<bool>& stop) {
        const std::uint32_t before = madeMoveCount;
        try {
            const std::unique_ptr<ListBoard> board = ListBoard::CopySearchBoard(position);
            SearchCounters counters;
            SearchLimits own = limits;
            own.stop = &stop;
            // Every other helper starts a ply deeper; helpers deepen until stopped.
            TreeSearch search(table, counters, {}, own, {(index + 1) % 2});
            search.IterativeDeepening(*board, hardLimit, hardLimit);
        } catch (const std::bad_alloc&) {
            // Memory refused for its board or a deeper move stack, like a
            // stack refused for the thread, costs only this helper.
        }
        return std::uint64_t{madeMoveCount - before};
    };
}

}  // namespace zomar
