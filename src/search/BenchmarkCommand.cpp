#include <memory>
#include <ostream>
#include <stdexcept>

#include "analysis/RenjuRestriction.h"
#include "board/GameRecord.h"
#include "platform/Platform.h"
#include "search/ABPNSEngine.h"
#include "search/PositionFile.h"
#include "util/FileListing.h"

namespace zomar {

// The benchmark command (testab): searches position files one by one.

// Sets up one position file (its first stones only) and searches it; returns
// the stones the search placed.
std::int32_t ABPNSEngine::SearchTestPosition(const std::string& name) {
    ListBoard board(BoardKind::Search);
    for (const Coord move : ReadPositionFile(name)) board.MakeSearchMove(move);
    while (board.moveCount > TestPositionStones) board.MakeSearchMove(board.moveList[board.moveCount - 1]);
    FollowRenjuBlack(board);

    const std::uint32_t before = madeMoveCount;
    TreeSearch search(*transpositionTable, counters, [this](const std::string& line) { SendLine(line); }, limits);
    search.IterativeDeepening(board, TestSearchLimitMs, TestSearchLimitMs);
    return static_cast<std::int32_t>(madeMoveCount - before);
}

void ABPNSEngine::RunSearchTest(const std::string& pattern) {
    // The first move still builds its own table: firstThinkDone stays unset.
    if (!transpositionTable) AllocateSearchMemory();

    std::vector<std::string> names;
    if (ListMatchingFiles(pattern, names)) {
        SendError("failed to list direcoty " + pattern);
        return;
    }
    std::int32_t total = 0;
    for (const std::string& name : names) {
        SendLine(name);
        try {
            total += SearchTestPosition(name);
        } catch (const std::exception&) {
            SendLine(name + "failed" + std::to_string(total));
        }
    }
    SendMessage("total moves = " + std::to_string(total));
    platform::WaitForKeyPress();
}

}  // namespace zomar
