#include <algorithm>
#include <cstdint>
#include <optional>
#include <ostream>
#include <sstream>

#include "analysis/MoveGeneration.h"
#include "board/GameRecord.h"
#include "board/Geometry.h"
#include "platform/Platform.h"
#include "search/ABPNSEngine.h"
#include "search/HelperThreads.h"

namespace zomar {

TimeBudget ComputeTimeBudget(std::int32_t timeoutTurn, std::int32_t remaining) {
    const std::int64_t hard = std::min<std::int64_t>(timeoutTurn, remaining) - TimeSafetyMs;
    TimeBudget budget;
    budget.hardLimit = static_cast<std::int32_t>(std::max<std::int64_t>(hard, 0));
    const std::int64_t soft = static_cast<std::int64_t>(remaining / MatchTimeShare) - TimeSafetyMs;
    budget.softLimit = static_cast<std::int32_t>(std::clamp<std::int64_t>(soft, 0, budget.hardLimit));
    return budget;
}

std::size_t SearchTableEntries(std::int32_t maxMemory, std::uint64_t workingSet) {
    // Managers send max_memory 0 for "no limit".
    const std::int64_t limit = maxMemory == 0 ? DefaultMaxMemory : maxMemory;
    const std::int64_t budget = limit - static_cast<std::int64_t>(workingSet) - ReservedMemoryBytes;
    // 3 % of the budget is held back; an entry takes 32 bytes.
    const double entries = static_cast<double>(budget) * 0.97 * 0.03125;
    if (entries < static_cast<double>(MinTableEntries)) return MinTableEntries;
    return static_cast<std::size_t>(entries);
}

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
    const std::int64_t remaining = -static_cast<std::int64_t>(matchClock.matchTimer.ElapsedMs());
    return zomar::ComputeTimeBudget(matchClock.timeout_turn,
                                    static_cast<std::int32_t>(std::min<std::int64_t>(remaining, INT32_MAX)));
}

void ABPNSEngine::AllocateSearchMemory() {
    std::uint64_t workingSet = 0;
    if (!platform::QueryWorkingSetSize(workingSet)) {
        SendError("Failed to call WinAPI GetProcessMemoryInfo, (win98 is not supported)");
        workingSet = 0;
    }
    transpositionTable.reset();
    transpositionTable = std::make_unique<TranspositionTable>(SearchTableEntries(max_memory, workingSet));
}

SearchResult ABPNSEngine::ThinkMove() {
    TimeBudget budget = ComputeTimeBudget();
    if (!firstThinkDone) {
        // The allocation's time is charged to this move.
        MsTimer allocation;
        allocation.StartTimer();
        AllocateSearchMemory();
        firstThinkDone = true;
        budget.hardLimit -= allocation.ElapsedMs();
        budget.softLimit = std::min(budget.softLimit, budget.hardLimit);
    }
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
    // A full board leaves nothing to play and nothing to search.
    if (board->moveCount >= boardArea) return NoMove();
    const std::int32_t status = GenerateSearchMoves(*board, 0);
    if (board->candidateCount == 0) return NoMove();

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
    return SearchPosition(*board, softLimit, hardLimit);
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
    TreeSearch search(*transpositionTable, counters, Output(), limits);
    const SearchResult result = search.IterativeDeepening(board, softLimit, hardLimit);
    const std::uint64_t helperNodes = helpers ? helpers->Stop() : 0;

    if (result.value != SCORE_WIN && result.value != SCORE_LOSS) {
        Output() << "DEBUG value = " << result.value << std::endl;
    }
    const std::uint32_t nodes = madeMoveCount - nodesBefore;
    const auto elapsed = static_cast<std::uint32_t>(stopwatch.ElapsedMs());
    if (elapsed > StatisticsMinMs) {
        Output() << SearchStatisticsLine(nodes, counters.vcfNodeCount, elapsed) << std::endl;
    }
    if (helpers) Output() << ThreadStatisticsLine(searchThreads, nodes + helperNodes, elapsed) << std::endl;
    const std::int32_t status = StatusOf(result);
    if (status == SCORE_WIN) {
        SendMessage("AB :-)");
    } else if (status == SCORE_LOSS) {
        SendMessage("AB :-(");
    }
    return result;
}

}  // namespace zomar
