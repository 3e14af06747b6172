#include "search/TreeSearch.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <utility>

#include "analysis/MoveGeneration.h"
#include "analysis/Score.h"
#include "board/Geometry.h"

namespace zomar {

namespace {

// A node deeper than IidMinDepth that the table gives no move first searches
// IidReduction plies shallower to find one.
constexpr std::int32_t IidMinDepth = 6;
constexpr std::int32_t IidReduction = 4;
// The table keeps only nodes deeper than this.
constexpr std::int32_t MinStoreDepth = 2;
constexpr std::uint32_t FirstIterationDepth = 2;
// The value of a full board for either side.
constexpr std::int32_t DrawValue = 0;

Coord NoMove() { return static_cast<Coord>(boardArea); }
bool IsEmptyPoint(const ListBoard& board, Coord c) { return c < boardArea && board.stone[c] == EmptyCell; }

void RaisePlyReached(SearchCounters& counters, const ListBoard& board) {
    counters.maxPlyReached = std::max(counters.maxPlyReached, board.moveCount);
}

// Gives a node's move list back to the stack however the node is left.
class StackFrame {
public:
    explicit StackFrame(std::size_t& top) : mTop(top), mBase(top) {}
    ~StackFrame() { mTop = mBase; }
    StackFrame(const StackFrame&) = delete;
    StackFrame& operator=(const StackFrame&) = delete;
    std::size_t Base() const { return mBase; }

private:
    std::size_t& mTop;
    std::size_t mBase;
};

}  // namespace

ReportLine LinesTo(std::ostream& out) {
    return [&out](const std::string& line) { out << line << '\n' << std::flush; };
}

TreeSearch::TreeSearch(TranspositionTable& table, SearchCounters& counters, ReportLine report,
                       SearchLimits limits, HelperRole role)
    : mTable(table), mCounters(counters), mReport(std::move(report)), mLimits(limits), mRole(role),
      mNodeStart(madeMoveCount) {}

void TreeSearch::WatchRoot(SearchReporter* reporter, std::span<const Coord> excluded) {
    mReporter = reporter;
    mExcluded = excluded;
    mWatchesRoot = reporter != nullptr || !excluded.empty();
}

bool TreeSearch::NodeBudgetSpent() const {
    return mLimits.maxNodes > 0 && madeMoveCount - mNodeStart >= mLimits.maxNodes;
}

bool TreeSearch::HardLimitReached(MsTimer& timer) {
    return timer.ElapsedMs() >= 0 || NodeBudgetSpent() ||
           (mLimits.stop != nullptr && mLimits.stop->load(std::memory_order_relaxed));
}

void TreeSearch::ReserveMoveStack(std::size_t entries, std::size_t inUse) {
    if (mStackCapacity >= entries) return;
    auto moves = std::unique_ptr<Coord[]>(new Coord[entries]);
    auto counts = std::unique_ptr<std::int32_t[]>(new std::int32_t[entries]);
    if (inUse > 0) {
        std::copy_n(mMoveStack.get(), inUse, moves.get());
        std::copy_n(mNodeCounts.get(), inUse, counts.get());
    }
    mMoveStack = std::move(moves);
    mNodeCounts = std::move(counts);
    mStackCapacity = entries;
}

SearchResult TreeSearch::IterativeDeepening(ListBoard& board, std::int32_t softLimit,
                                            std::int32_t hardLimit) {
    mNodeStart = madeMoveCount;
    SearchResult result{0, 1, 1, NoMove()};
    GenerateSearchMoves(board, 0);
    // A full board has nothing to search; the caller sees that no move came back.
    if (board.candidateCount == 0) return result;
    mRootPly = board.moveCount;
    Coord fallback = FirstAllowedRootMove(board);
    if (fallback == NoMove()) return result;

    MsTimer softTimer;
    MsTimer hardTimer;
    softTimer.SetDeadline(softLimit);
    hardTimer.SetDeadline(hardLimit);
    std::int32_t last = softTimer.ElapsedMs();
    mCounters.maxPlyReached = board.moveCount;

    bool accepted = false;
    std::uint32_t depth = FirstIterationDepth + mRole.depthShift;
    for (;; ++depth) {
        mRootDepth = static_cast<std::int32_t>(depth);
        if (mReporter) mReporter->IterationStarted(depth);
        const SearchResult iteration = SearchRoot(board, static_cast<std::int32_t>(depth), hardTimer);
        result.value = iteration.value;
        const std::int32_t rel = softTimer.ElapsedMs();
        if (AcceptsIteration(hardTimer, rel)) {
            result = iteration;
            accepted = true;
            if (mReporter) ReportIteration(board, depth, iteration);
        }
        const std::int32_t duration = rel - last;
        last = rel;

        const std::int32_t status = StatusOf(result);
        // An iteration cut short by the clock may come back without a move.
        const bool movePlayable = IsEmptyPoint(board, result.move);
        if (status == SCORE_WIN) {
            if (movePlayable) fallback = result.move;
            break;
        }
        if (status == SCORE_LOSS) break;
        if (accepted && movePlayable) fallback = result.move;
        if (StopsDeepening(depth, rel, duration, hardTimer)) break;
        if (board.moveCount + depth >= boardArea - 1) break;
    }
    result.move = fallback;
    ReportSelectiveDepth(board, depth);
    return result;
}

// A depth limit only caps the search: the clock's rules hold with it too.
bool TreeSearch::AcceptsIteration(MsTimer& hardTimer, std::int32_t rel) {
    return rel < 0 && !HardLimitReached(hardTimer);
}

bool TreeSearch::StopsDeepening(std::uint32_t depth, std::int32_t rel, std::int32_t duration,
                                MsTimer& hardTimer) {
    if (mLimits.maxDepth > 0 && depth >= std::max(mLimits.maxDepth, FirstIterationDepth)) return true;
    if (rel >= 0 || HardLimitReached(hardTimer)) return true;
    // Another iteration would not finish in the soft time left.
    return 2 * static_cast<std::int64_t>(rel) >= -static_cast<std::int64_t>(duration);
}

void TreeSearch::ReportSelectiveDepth(const ListBoard& board, std::uint32_t depth) {
    const std::int64_t reached =
        static_cast<std::int64_t>(mCounters.maxPlyReached) - static_cast<std::int64_t>(board.moveCount);
    if (reached <= 0) return;
    if (mReport) {
        mReport("DEBUG deep = " + std::to_string(std::min<std::int64_t>(depth, reached)) + " - " +
                std::to_string(reached));
    }
}

Coord TreeSearch::FirstAllowedRootMove(const ListBoard& board) const {
    for (std::uint32_t i = 0; i < board.candidateCount; ++i) {
        const Coord c = board.candidateList[i];
        if (std::find(mExcluded.begin(), mExcluded.end(), c) == mExcluded.end()) return c;
    }
    return NoMove();
}

std::size_t TreeSearch::DropExcludedMoves(std::size_t base, std::size_t count) {
    Coord* moves = &mMoveStack[base];
    Coord* kept = std::remove_if(moves, moves + count, [this](Coord c) {
        return std::find(mExcluded.begin(), mExcluded.end(), c) != mExcluded.end();
    });
    return static_cast<std::size_t>(kept - moves);
}

void TreeSearch::ReportRootMove(Coord move, std::int32_t value, bool best, MsTimer& timer) {
    // Values of an iteration cut short prove nothing.
    const bool cut = HardLimitReached(timer);
    mReporter->RootMoveFinished(move, !cut && value == SCORE_LOSS);
    if (best && !cut) mReporter->BestMoveChanged(move);
}

void TreeSearch::ReportIteration(const ListBoard& board, std::uint32_t depth, const SearchResult& iteration) {
    IterationReport report;
    report.depth = depth;
    report.selectiveDepth = mCounters.maxPlyReached - board.moveCount;
    report.nodes = madeMoveCount - mNodeStart;
    report.value = iteration.value;
    report.line = mLine.data();
    report.lineLength = PrincipalLine(board, iteration.move);
    mReporter->IterationFinished(report);
}

// The keys along the line are the board's key with each stone added, so the
// board itself is not touched.
std::size_t TreeSearch::PrincipalLine(const ListBoard& board, Coord first) {
    std::uint64_t key = board.hashKey;
    bool colour1 = board.ToMoveColour() == Colour1;
    std::size_t length = 0;
    Coord move = first;
    while (length < mLine.size() && IsEmptyPoint(board, move) &&
           std::find(mLine.begin(), mLine.begin() + static_cast<std::ptrdiff_t>(length), move) ==
               mLine.begin() + static_cast<std::ptrdiff_t>(length)) {
        mLine[length++] = move;
        key ^= zobristKey[colour1 ? move : board.Area() + move];
        colour1 = !colour1;
        std::int32_t alpha = SCORE_LOSS;
        std::int32_t beta = SCORE_WIN;
        if (!mTable.ProbeTable(key, 0, alpha, beta, move)) break;
    }
    return length;
}

SearchResult TreeSearch::SearchRoot(ListBoard& board, std::int32_t depth, MsTimer& hardTimer) {
    Coord move = NoMove();
    const std::int32_t value = AlphaBeta(board, depth, move, SCORE_LOSS, SCORE_WIN, hardTimer);
    if (value == SCORE_WIN) return {value, 0, -1, move};
    if (value == SCORE_LOSS) return {value, -1, 0, move};
    return {value, 1, 1, move};
}

std::int32_t TreeSearch::HorizonValue(ListBoard& board, Coord& bestMove, std::int32_t beta, MsTimer& timer) {
    const std::uint32_t before = madeMoveCount;
    const std::int32_t threat = ThreatSearch(board, 0, -9, bestMove, beta, nullptr, timer);
    mCounters.vcfNodeCount += static_cast<std::int32_t>(madeMoveCount - before);
    const std::int32_t quiet = StaticScore(board);
    if (quiet < threat) return threat;
    bestMove = board.candidateCount > 0 ? board.candidateList[0] : NoMove();
    return quiet;
}

std::size_t TreeSearch::BuildMoveList(const ListBoard& board, Coord firstMove, std::size_t base) {
    Coord* moves = &mMoveStack[base];
    std::size_t count = 0;
    std::size_t unweighted = 0;
    if (IsEmptyPoint(board, firstMove)) moves[count++] = firstMove;
    for (std::uint32_t i = 0; i < board.candidateCount; ++i) {
        const Coord c = board.candidateList[i];
        if (c == firstMove) continue;
        if (board.candidateMark[c] & MarkUnweightedBit) ++unweighted;
        moves[count++] = c;
    }
    if (unweighted >= count) throw std::runtime_error("maskMoveGeneratedUknownGameOnlyCount >= movesCnt");
    return count;
}

std::int32_t TreeSearch::AlphaBeta(ListBoard& board, std::int32_t depth, Coord& bestMove,
                                   std::int32_t alpha, std::int32_t beta, MsTimer& timer) {
    bestMove = NoMove();
    RaisePlyReached(mCounters, board);
    // Colour 2 to move at the horizon still gets one full-width ply.
    if (depth <= 0 && board.sideToMove == 1) return HorizonValue(board, bestMove, beta, timer);

    // A watched search finds its root by the stones on the board; the table
    // knows the root without its exclusions, so it is not asked there.
    const bool atRoot = mWatchesRoot && board.moveCount == mRootPly;
    const bool excludesHere = atRoot && !mExcluded.empty();
    Coord tableMove = NoMove();
    if (!excludesHere && mTable.ProbeTable(board.hashKey, depth, alpha, beta, tableMove)) {
        bestMove = tableMove;
        if (alpha == beta) return alpha;
    }
    if (depth > IidMinDepth && bestMove == NoMove()) {
        Coord shallowMove = NoMove();
        const std::int32_t shallow = AlphaBeta(board, depth - IidReduction, shallowMove, alpha, beta, timer);
        bestMove = shallowMove;
        if (IsProven(shallow)) return shallow;
    }

    board.evalPointCount = depth + 5;
    const std::int32_t generated = GenerateSearchMoves(board, 0);
    if (IsProven(generated)) return generated;
    if (HardLimitReached(timer)) return StaticScore(board);
    // A line can run to the last point (a single reply keeps the depth): a full
    // board is a draw, not a node without moves.
    if (board.moveCount >= boardArea) return std::clamp(DrawValue, alpha, beta);

    // The outermost node sizes the stack for the whole tree: at most depth + 1
    // nodes on a line hold more than one move, the others one move each.
    if (mStackTop == 0) {
        ReserveMoveStack((static_cast<std::size_t>(std::max(depth, 0)) + 2) * boardArea, 0);
    }
    StackFrame frame(mStackTop);
    const std::size_t base = frame.Base();
    ReserveMoveStack(base + board.candidateCount + 1, base);
    std::size_t count = BuildMoveList(board, bestMove, base);
    if (excludesHere) {
        count = DropExcludedMoves(base, count);
        if (count == 0) {
            bestMove = NoMove();
            return SCORE_LOSS;
        }
    }
    mStackTop = base + count;
    const bool reportsRoot = atRoot && mReporter != nullptr && depth == mRootDepth;

    const std::int32_t childDepth = count == 1 ? depth : depth - 1;
    bestMove = mMoveStack[base];
    std::int32_t best = SCORE_LOSS;
    std::uint8_t bound = BoundUpper;
    for (std::size_t i = 0; i < count; ++i) {
        const Coord move = mMoveStack[base + i];
        const std::uint32_t mark = madeMoveCount;
        if (reportsRoot) mReporter->RootMoveStarted(move);
        mTable.PrefetchSlot(board.KeyAfterPlacing(move));
        board.MakeSearchMove(move);
        Coord childMove = NoMove();
        const std::int32_t value = -AlphaBeta(board, childDepth, childMove, -beta, -alpha, timer);
        if (reportsRoot) ReportRootMove(move, value, value > best, timer);
        if (value > best) {
            best = value;
            bestMove = move;
        }
        if (value >= beta) {
            board.MakeSearchMove(move);
            if (!HardLimitReached(timer) && !excludesHere) {
                mTable.StoreTable(board.hashKey, depth, beta, bestMove, BoundLower);
            }
            return beta;
        }
        board.MakeSearchMove(move);
        mNodeCounts[base + i] = static_cast<std::int32_t>(madeMoveCount - mark);
        if (value > alpha) {
            alpha = value;
            bound = BoundExact;
        }
    }
    // Every move loses: answer the one whose refutation took the most stones.
    if (best == SCORE_LOSS) {
        const std::int32_t* counts = &mNodeCounts[base];
        const auto longest = std::max_element(counts, counts + static_cast<std::ptrdiff_t>(count));
        bestMove = mMoveStack[base + static_cast<std::size_t>(longest - counts)];
    }
    if (!HardLimitReached(timer) && depth > MinStoreDepth && !excludesHere) {
        mTable.StoreTable(board.hashKey, depth, alpha, bestMove, bound);
    }
    return alpha;
}

}  // namespace zomar
