#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstdint>
#include <optional>
#include <ostream>
#include <sstream>

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

TimeBudget ABPNSEngine::ComputeTimeBudget() {
    return zomar::ComputeTimeBudget(matchClock.timeout_turn, matchClock.RemainingMs());
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
    transpositionTable = std::make_unique<TranspositionTable>(SearchTableEntries(max_memory, workingSet, headroom));
}

TimeBudget ABPNSEngine::BudgetWithTable() {
    TimeBudget budget = ComputeTimeBudget();
    if (!firstThinkDone) {
        MsTimer allocation;
        allocation.StartTimer();
        AllocateSearchMemory();
        firstThinkDone = true;
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
    SearchResult result = SearchPosition(*board, softLimit, hardLimit);
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
    if (searchThreads > 1) helpers.emplace(searchThreads - 1, *gameBoard, *transpositionTable, limits, hardLimit);
    TreeSearch search(*transpositionTable, counters, [this](const std::string& line) { SendLine(line); }, limits);
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
    if (helpers) SendLine(ThreadStatisticsLine(searchThreads, nodes + helperNodes, elapsed));
    const std::int32_t status = StatusOf(result);
    if (status == SCORE_WIN) {
        SendMessage("AB :-)");
    } else if (status == SCORE_LOSS) {
        SendMessage("AB :-(");
    }
    return result;
}

}  // namespace zomar
