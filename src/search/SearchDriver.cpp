#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstdint>
#include <optional>
#include <ostream>
#include <sstream>
#include <vector>

#include "analysis/ForbiddenPoint.h"
#include "analysis/MoveGeneration.h"
#include "analysis/RenjuRestriction.h"
#include "board/GameRecord.h"
#include "board/Geometry.h"
#include "platform/Platform.h"
#include "search/ABPNSEngine.h"
#include "search/HelperThreads.h"

namespace zomar {

std::string SearchStatisticsLine(std::uint32_t nodes, std::int32_t vcfNodes, std::uint32_t elapsedMs) {
    const double nodeCount = static_cast<double>(nodes);
    const std::int64_t vcfShare =
        nodes == 0 ? 0 : static_cast<std::int64_t>(static_cast<double>(std::int64_t{vcfNodes} * 100) / nodeCount);
    const std::int64_t speed =
        elapsedMs == 0 ? 0 : static_cast<std::int64_t>(nodeCount / elapsedMs * 1000);
    std::ostringstream line;
    line << "DEBUG AB: " << nodeCount << " nodes (VCF " << vcfShare << "%)"
         << ", speed:" << speed << "/s";
    return line.str();
}

std::string ThreadStatisticsLine(std::uint32_t threads, std::uint64_t nodes, std::uint32_t elapsedMs) {
    std::ostringstream line;
    const std::uint64_t speed = elapsedMs == 0 ? 0 : nodes * 1000 / elapsedMs;
    line << "DEBUG threads " << threads << ": " << nodes << " nodes, speed:" << speed << "/s";
    return line.str();
}

// The turn's clock started when its command was read.
TimeBudget ABPNSEngine::ComputeTimeBudget() {
    const std::int64_t turn = std::int64_t{matchClock.timeout_turn} - lineWaitMs;
    return zomar::ComputeTimeBudget(static_cast<std::int32_t>(std::max<std::int64_t>(turn, INT32_MIN)),
                                    matchClock.RemainingMs());
}

void ABPNSEngine::AllocateSearchMemory() {
    // An earlier table is given back first, so that it counts neither in the
    // working set nor against the limits of the process.
    transpositionTable.reset();
    std::uint64_t workingSet = 0;
    if (!platform::QueryWorkingSetSize(workingSet)) {
        SendError("Failed to call WinAPI GetProcessMemoryInfo, (win98 is not supported)");
        workingSet = 0;
    }
    std::uint64_t headroom = UINT64_MAX;
    if (!platform::QueryMemoryHeadroom(headroom)) headroom = UINT64_MAX;
    transpositionTable =
        std::make_unique<TranspositionTable>(SearchTableEntries(TableMemoryLimit(), workingSet, headroom));
}

// hash_size sets the limit alone; with max_memory as well the smaller holds.
std::int64_t ABPNSEngine::TableMemoryLimit() const {
    if (hashSizeKb == 0) return max_memory;
    const std::int64_t bytes = hashSizeKb * 1024;
    return maxMemorySent ? std::min<std::int64_t>(bytes, max_memory) : bytes;
}

TimeBudget ABPNSEngine::BudgetWithTable() {
    TimeBudget budget = ComputeTimeBudget();
    // A new limit or board size sizes the table again, from what the tables
    // of that size leave: the limit holds for every game of the process.
    const TableSizing sizing{TableMemoryLimit(), boardWidth, boardHeight};
    if (!firstThinkDone || sizing != tableSizing) {
        // The allocation's time is charged to this move.
        MsTimer allocation;
        allocation.StartTimer();
        AllocateSearchMemory();
        firstThinkDone = true;
        tableSizing = sizing;
        budget.hardLimit -= allocation.ElapsedMs();
        budget.softLimit = std::min(budget.softLimit, budget.hardLimit);
    }
    return budget;
}

SearchResult ABPNSEngine::ThinkMove() {
    const TimeBudget budget = BudgetWithTable();
    return DecideAtRoot(budget.softLimit, budget.hardLimit);
}

namespace {

SearchResult ImmediateAnswer(std::int32_t status, const ListBoard& board) {
    SearchResult result;
    result.value = 0;
    if (status == SCORE_WIN) {
        result.proofNumber = 0;
        result.disproofNumber = -1;
    } else if (status == SCORE_LOSS) {
        result.proofNumber = -1;
        result.disproofNumber = 0;
    }
    result.move = board.candidateList[0];
    return result;
}

SearchResult NoMove() {
    SearchResult result;
    result.move = static_cast<Coord>(boardArea);
    return result;
}

// The empty point nearest the last stone (the centre on an empty board), the
// lowest index among equals: a legal answer where the move lists hold none.
SearchResult NearestEmptyPoint(const ListBoard& board) {
    const Coord from = board.moveCount > 0 ? board.moveList[board.moveCount - 1]
                                           : CoordFromXY(boardWidth / 2, boardHeight / 2);
    const auto fromX = static_cast<std::int32_t>(from % boardWidth);
    const auto fromY = static_cast<std::int32_t>(from / boardWidth);
    SearchResult result = NoMove();
    std::int32_t best = INT32_MAX;
    for (std::uint32_t p = 0; p < boardArea; ++p) {
        if (board.stone[p] != EmptyCell) continue;
        const std::int32_t distance = std::max(std::abs(static_cast<std::int32_t>(p % boardWidth) - fromX),
                                               std::abs(static_cast<std::int32_t>(p / boardWidth) - fromY));
        if (distance < best) {
            best = distance;
            result.move = static_cast<Coord>(p);
        }
    }
    return result;
}

// The first iteration looks two plies ahead and a single reply extends a line
// by one more: with fewer empty points the search would play on a full board.
bool HasRoomToSearch(const ListBoard& board) {
    return boardArea - board.moveCount >= MinEmptyPointsToSearch;
}

// A ponder search has no clock of its own: the next line ends it.
constexpr std::int32_t PonderLimitMs = 24 * 3600 * 1000;

// A decided position, or one with a single move, is answered at once.
bool NeedsSearch(const ListBoard& board, std::int32_t status) {
    return status != SCORE_WIN && status != SCORE_LOSS && board.candidateCount >= 2;
}

// The table's move for the position the opponent faces, if it is one of the
// opponent's candidates; the board area otherwise.
Coord ExpectedReply(const TranspositionTable& table, const ListBoard& board) {
    std::int32_t alpha = SCORE_LOSS;
    std::int32_t beta = SCORE_WIN;
    Coord reply = NoMove().move;
    table.ProbeTable(board.hashKey, 0, alpha, beta, reply);
    const Coord* begin = board.candidateList.get();
    const Coord* end = begin + board.candidateCount;
    return std::find(begin, end, reply) != end ? reply : NoMove().move;
}

bool CanCompleteFive(const ListBoard& board) {
    return board.categoryCount[board.ToMoveColour()][Win] > 0;
}

}  // namespace

// Forced positions are answered at once; only open ones are searched.
SearchResult ABPNSEngine::DecideAtRoot(std::int32_t softLimit, std::int32_t hardLimit) {
    if (!transpositionTable) AllocateSearchMemory();
    const std::unique_ptr<ListBoard> board = ListBoard::CopySearchBoard(*gameBoard);
    FollowRenjuBlack(*board);
    // A full board leaves nothing to play and nothing to search.
    if (board->moveCount >= boardArea) return NoMove();
    const std::int32_t status = GenerateSearchMoves(*board, 0);
    if (board->candidateCount == 0) return NearestEmptyPoint(*board);

    if (status == SCORE_WIN) {
        if (CanCompleteFive(*board)) {
            SendPicture();
        } else {
            SendMessage(":-))");
        }
        return ImmediateAnswer(status, *board);
    }
    if (status == SCORE_LOSS) {
        SendMessage(":-((");
        return ImmediateAnswer(status, *board);
    }
    if (board->candidateCount == 1) {
        ReportStoredVerdict(*board);
        return ImmediateAnswer(status, *board);
    }
    if (board->moveCount <= 1 || hardLimit <= 0 || !HasRoomToSearch(*board)) return ImmediateAnswer(status, *board);
    const std::uint32_t searches = std::min(candidatesWanted, board->candidateCount);
    detail.StartThink(std::max(searches, 1u));
    SearchResult result = searches > 1 ? SearchCandidates(*board, searches, softLimit, hardLimit)
                                       : SearchPosition(*board, softLimit, hardLimit);
    // Every list black searches is cleared of forbidden points; a table move
    // could still come from another position with the same key.
    if (board->ToMoveColour() == renjuBlack && result.move < boardArea &&
        IsForbiddenPoint(*board, result.move, renjuBlack)) {
        GenerateSearchMoves(*board, 0);
        result.move = board->candidateList[0];
    }
    return result;
}

void ABPNSEngine::ReportStoredVerdict(const ListBoard& board) {
    std::int32_t alpha = SCORE_LOSS;
    std::int32_t beta = SCORE_WIN;
    Coord stored = 0;
    transpositionTable->ProbeTable(board.hashKey, 1, alpha, beta, stored);
    if (alpha == SCORE_WIN) {
        SendMessage(":-)");
    } else if (beta == SCORE_LOSS) {
        SendMessage(":-(");
    }
}

SearchResult ABPNSEngine::SearchPosition(ListBoard& board, std::int32_t softLimit, std::int32_t hardLimit) {
    MsTimer stopwatch;
    stopwatch.StartTimer();
    const std::uint32_t nodesBefore = madeMoveCount;
    counters.vcfNodeCount = 0;

    std::optional<HelperThreads> helpers;
    if (searchThreads > 1) {
        helpers.emplace(searchThreads - 1, HelperSearch(*gameBoard, *transpositionTable, limits, hardLimit));
    }
    SearchLimits stoppable = limits;
    stoppable.stop = &StopRequest();
    TreeSearch search(*transpositionTable, counters, [this](const std::string& line) { SendLine(line); }, stoppable);
    if (detail.Shows()) search.WatchRoot(&detail, {});
    const SearchResult result = search.IterativeDeepening(board, softLimit, hardLimit);
    const std::uint64_t helperNodes = helpers ? helpers->Stop() : 0;

    if (result.value != SCORE_WIN && result.value != SCORE_LOSS) {
        SendLine("DEBUG value = " + std::to_string(result.value));
    }
    const std::uint32_t nodes = madeMoveCount - nodesBefore;
    const auto elapsed = static_cast<std::uint32_t>(stopwatch.ElapsedMs());
    if (elapsed > StatisticsMinMs) {
        SendLine(SearchStatisticsLine(nodes, counters.vcfNodeCount, elapsed));
    }
    if (helpers) SendLine(ThreadStatisticsLine(1 + helpers->Started(), nodes + helperNodes, elapsed));
    const std::int32_t status = StatusOf(result);
    if (status == SCORE_WIN) {
        SendMessage("AB :-)");
    } else if (status == SCORE_LOSS) {
        SendMessage("AB :-(");
    }
    return result;
}

SearchResult ABPNSEngine::SearchCandidates(ListBoard& board, std::uint32_t searches, std::int32_t softLimit,
                                           std::int32_t hardLimit) {
    MsTimer stopwatch;
    stopwatch.StartTimer();
    std::vector<Coord> found;
    SearchResult first;
    for (std::uint32_t i = 0; i < searches; ++i) {
        // A stopped think answers the first candidate.
        if (i > 0 && StopRequest().load()) break;
        const std::int32_t spent = stopwatch.ElapsedMs();
        const auto left = static_cast<std::int32_t>(searches - i);
        const std::int32_t hardShare = std::max(hardLimit - spent, 0) / left;
        const std::int32_t softShare = std::min(std::max(softLimit - spent, 0) / left, hardShare);
        detail.StartCandidate(i);
        if (i == 0) {
            first = SearchPosition(board, softShare, hardShare);
            found.push_back(first.move);
            continue;
        }
        SearchLimits stoppable = limits;
        stoppable.stop = &StopRequest();
        TreeSearch search(*transpositionTable, counters, {}, stoppable);
        search.WatchRoot(detail.Shows() ? &detail : nullptr, found);
        const SearchResult candidate = search.IterativeDeepening(board, softShare, hardShare);
        if (candidate.move >= boardArea) break;
        found.push_back(candidate.move);
    }
    return first;
}

void ABPNSEngine::Ponder() {
    std::unique_ptr<ListBoard> board = ListBoard::CopySearchBoard(*gameBoard);
    FollowRenjuBlack(*board);
    if (!HasRoomToSearch(*board) || !NeedsSearch(*board, GenerateSearchMoves(*board, 0))) return;
    // After the reply the last search expected, the table holds the next
    // position to the full depth when the opponent plays it; with the opponent
    // to move, every reply would be searched a ply shallower.
    const Coord reply = ExpectedReply(*transpositionTable, *board);
    if (reply < boardArea) {
        std::unique_ptr<ListBoard> after = ListBoard::CopySearchBoard(*board);
        after->MakeSearchMove(reply);
        if (HasRoomToSearch(*after) && NeedsSearch(*after, GenerateSearchMoves(*after, 0))) board = std::move(after);
    }
    std::optional<HelperThreads> helpers;
    if (searchThreads > 1) {
        helpers.emplace(searchThreads - 1, HelperSearch(*board, *transpositionTable, limits, PonderLimitMs));
    }
    SearchLimits stoppable = limits;
    stoppable.stop = &StopRequest();
    SearchCounters ponderCounters;
    TreeSearch search(*transpositionTable, ponderCounters, {}, stoppable);
    search.IterativeDeepening(*board, PonderLimitMs, PonderLimitMs);
    if (helpers) helpers->Stop();
}

}  // namespace zomar
