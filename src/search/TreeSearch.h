#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "board/Coord.h"
#include "board/ListBoard.h"
#include "protocol/MsTimer.h"
#include "search/SearchReporter.h"
#include "search/SearchResult.h"
#include "search/TranspositionTable.h"

namespace zomar {

// The managers' max_depth / max_node limits (0 means none) and the flag that
// ends the search at once when set: the manager's STOP for the first thread,
// the first thread's answer for a helper.
struct SearchLimits {
    std::uint32_t maxDepth = 0;
    std::uint32_t maxNodes = 0;
    const std::atomic<bool>* stop = nullptr;
};

// Statistics of one move's search, owned by the engine.
struct SearchCounters {
    std::int32_t vcfNodeCount = 0;
    std::uint32_t maxPlyReached = 0;
};

// A helper thread's part in a search run by several threads: how many plies
// deeper than the first thread its iterations start, so that the threads
// spread over the depths.
struct HelperRole {
    std::uint32_t depthShift = 0;
};

// Where a search's progress lines go, one whole line per call.
using ReportLine = std::function<void(const std::string&)>;
// Writes each line, ended and flushed, to out (which must outlive the search).
ReportLine LinesTo(std::ostream& out);

// The threat-space search tries at most this many attacks per level; its
// attack list holds as many entries, the terminator included.
constexpr std::uint32_t MaxThreatAttacks = 40;

// Iterative-deepening negamax alpha-beta with a transposition table and a
// threat-space search of continuous fours at the horizon.
//
// The move lists of the tree live in one stack owned by the search, sized by
// the outermost AlphaBeta call before it enters the tree; each node takes its
// list from the top and gives it back on return, so the tree allocates nothing.
class TreeSearch {
public:
    // report takes the search's progress lines (the engine sends them on as
    // protocol lines); an empty one drops them.
    TreeSearch(TranspositionTable& table, SearchCounters& counters, ReportLine report,
               SearchLimits limits = {}, HelperRole role = {});

    // The searches that follow tell reporter (when not null) of their progress
    // at the root and never play the excluded moves there (which must outlive
    // them).
    void WatchRoot(SearchReporter* reporter, std::span<const Coord> excluded);

    SearchResult IterativeDeepening(ListBoard& board, std::int32_t softLimit, std::int32_t hardLimit);
    SearchResult SearchRoot(ListBoard& board, std::int32_t depth, MsTimer& hardTimer);
    std::int32_t AlphaBeta(ListBoard& board, std::int32_t depth, Coord& bestMove,
                           std::int32_t alpha, std::int32_t beta, MsTimer& timer);
    // Stops trying attacks once HardLimitReached(timer): what it returns then is
    // thrown away with the rest of the iteration.
    std::int32_t ThreatSearch(ListBoard& board, std::int32_t level, std::int32_t floor,
                              Coord& bestMove, std::int32_t bound, const Coord* focus, MsTimer& timer);

private:
    // The hard deadline has passed, the node budget is spent, or the stop flag
    // is set.
    bool HardLimitReached(MsTimer& timer);
    bool NodeBudgetSpent() const;
    // Grows the move stack to `entries`, keeping the first `inUse`.
    void ReserveMoveStack(std::size_t entries, std::size_t inUse);
    std::int32_t HorizonValue(ListBoard& board, Coord& bestMove, std::int32_t beta, MsTimer& timer);
    // Builds the node's move list at stack position base; returns its length.
    std::size_t BuildMoveList(const ListBoard& board, Coord firstMove, std::size_t base);
    // With a depth limit every iteration that beats the hard deadline counts, so
    // fixed-depth searches do not depend on the machine's speed.
    bool AcceptsIteration(MsTimer& hardTimer, std::int32_t rel);
    bool StopsDeepening(std::uint32_t depth, std::int32_t rel, std::int32_t duration,
                        MsTimer& hardTimer);
    void ReportSelectiveDepth(const ListBoard& board, std::uint32_t depth);
    // The first root candidate not excluded; the board area when there is none.
    Coord FirstAllowedRootMove(const ListBoard& board) const;
    // Closes the excluded moves out of the list at stack position base; returns its new length.
    std::size_t DropExcludedMoves(std::size_t base, std::size_t count);
    void ReportRootMove(Coord move, std::int32_t value, bool best, MsTimer& timer);
    void ReportIteration(const ListBoard& board, std::uint32_t depth, const SearchResult& iteration);
    // Fills mLine with first and the moves the table holds after it; returns the length.
    std::size_t PrincipalLine(const ListBoard& board, Coord first);

    TranspositionTable& mTable;
    SearchCounters& mCounters;
    ReportLine mReport;
    SearchLimits mLimits;
    HelperRole mRole;
    std::uint32_t mNodeStart = 0;
    // Left uninitialised, so that only the part a search reaches takes memory.
    std::unique_ptr<Coord[]> mMoveStack;
    std::unique_ptr<std::int32_t[]> mNodeCounts;
    std::size_t mStackCapacity = 0;
    std::size_t mStackTop = 0;

    SearchReporter* mReporter = nullptr;
    std::span<const Coord> mExcluded;
    // Whether nodes look for the root at all: only a watched search pays for it.
    bool mWatchesRoot = false;
    std::uint32_t mRootPly = 0;
    std::int32_t mRootDepth = 0;
    std::array<Coord, 64> mLine{};
};

}  // namespace zomar
