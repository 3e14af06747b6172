#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "board/ListBoard.h"
#include "protocol/Communicator.h"
#include "search/SearchBudget.h"
#include "search/SearchResult.h"
#include "search/TranspositionTable.h"
#include "search/TreeSearch.h"

namespace zomar {

class SearchEngine : public Communicator {
public:
    using Communicator::Communicator;
};

// A search board is copied as one flat image: a head of BoardImageOffset bytes
// for the board record, then its arrays, MAX_BOARD_SIZE_BYTES in all.
constexpr std::size_t MAX_BOARD_SIZE_BYTES = 40000;
constexpr std::size_t BoardImageOffset = 16384;

// The search driver: positions with fewer empty points are answered without a
// search.
constexpr std::uint32_t MinEmptyPointsToSearch = 3;
// A search shorter than this prints no node statistics.
constexpr std::uint32_t StatisticsMinMs = 50;

// The benchmark keeps at most this many stones of each position.
constexpr std::uint32_t TestPositionStones = 10;
constexpr std::int32_t TestSearchLimitMs = 3000;

// The "DEBUG AB: " line: stones placed, the threat search's share, speed.
std::string SearchStatisticsLine(std::uint32_t nodes, std::int32_t vcfNodes, std::uint32_t elapsedMs);
// The "DEBUG threads " line: stones placed by all search threads, speed.
std::string ThreadStatisticsLine(std::uint32_t threads, std::uint64_t nodes, std::uint32_t elapsedMs);

// The engine. Its methods live in five files:
//   search/ABPNSEngine.cpp     construction, the game board, extension commands and keys
//   protocol/GameCommands.cpp  the game commands of the protocol
//   search/SearchDriver.cpp    one move: budget, table, forced answers, the search
//   search/BenchmarkCommand.cpp  "testab": searches of position files
//   search/Swap2Opening.cpp    the swap2 opening: "swap2board", its stones, "done"
class ABPNSEngine : public SearchEngine {
public:
    // search/ABPNSEngine.cpp
    explicit ABPNSEngine(const std::string& programPath);
    ABPNSEngine(const std::string& programPath, std::istream& input, std::ostream& output);
    ~ABPNSEngine() override;
    virtual void PlayMove(Coord point, bool byOpponent);
    virtual void NewBoard();
    void OnMaxMemory(std::int32_t bytes) override;
    bool OnOtherCommand(const std::string& command, const std::string& arguments) override;
    void OnOtherInfo(const std::string& key, const std::string& value) override;

    // protocol/GameCommands.cpp
    void OnTurn(std::uint32_t x, std::uint32_t y) override;
    void OnBegin() override;
    void OnBoard(std::vector<BoardStone> stones) override;
    void OnStart(std::uint32_t width, std::uint32_t height) override;
    void OnRestart() override;
    void OnTakeback(std::uint32_t x, std::uint32_t y) override;
    void OnPlay(std::uint32_t x, std::uint32_t y) override;

    // search/SearchDriver.cpp
    virtual SearchResult ThinkMove();
    virtual void AllocateSearchMemory();
    TimeBudget ComputeTimeBudget();
    // The move's budget, the table allocated first on the first move (its time
    // charged to the move).
    TimeBudget BudgetWithTable();

    // search/BenchmarkCommand.cpp: searches every position file matching pattern.
    void RunSearchTest(const std::string& pattern);

    // search/Swap2Opening.cpp: true when the line starts, continues or ends a
    // swap2 list ("swap2board", stones "x,y" or "x,y,field", "done").
    bool TakesSwap2Line(const std::string& command);

    std::int32_t lastMover = 4;
    bool engineToMove = false;

    std::unique_ptr<ListBoard> gameBoard;
    bool firstThinkDone = false;
    std::unique_ptr<TranspositionTable> transpositionTable;
    SearchCounters counters;
    SearchLimits limits;
    // Search threads, from info thread_num.
    std::uint32_t searchThreads = 1;

private:
    // search/ABPNSEngine.cpp
    void CheckBoardImageSize();

    // protocol/GameCommands.cpp
    void ThinkAndAnswer();
    void PlaceBoardStone(std::uint32_t field, std::uint32_t x, std::uint32_t y);
    // Plays a stone for the engine (1) or the opponent (2), a pass first when
    // that side made the last move too.
    void PlayFor(std::int32_t mover, std::uint32_t x, std::uint32_t y);
    // Answers an ERROR line when the manager names a point that holds a stone.
    bool RefusesOccupiedPoint(std::uint32_t x, std::uint32_t y);

    // search/SearchDriver.cpp
    SearchResult DecideAtRoot(std::int32_t softLimit, std::int32_t hardLimit);
    SearchResult SearchPosition(ListBoard& board, std::int32_t softLimit, std::int32_t hardLimit);
    // The search's wins and losses against one probe of the table.
    void ReportStoredVerdict(const ListBoard& board);

    // search/BenchmarkCommand.cpp
    std::int32_t SearchTestPosition(const std::string& name);

    // search/Swap2Opening.cpp: the answer to a whole list.
    void AnswerSwap2(const std::vector<BoardStone>& stones);
    // The stones of a swap2 list being read; empty outside one.
    std::optional<std::vector<BoardStone>> swap2Stones;
};

}  // namespace zomar
