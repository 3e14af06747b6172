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
#include "search/DetailReport.h"
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
    void OnIdle() override;
    void OnTurn(std::uint32_t x, std::uint32_t y) override;
    void OnBegin() override;
    void OnBoard(std::vector<BoardStone> stones) override;
    void OnPosition(std::vector<BoardStone> stones) override;
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

    // What a think sized the table for: the memory limit and the board.
    struct TableSizing {
        std::int64_t memoryLimit = 0;
        std::uint32_t width = 0;
        std::uint32_t height = 0;
        bool operator==(const TableSizing&) const = default;
    };

    std::unique_ptr<ListBoard> gameBoard;
    bool firstThinkDone = false;
    TableSizing tableSizing;
    std::unique_ptr<TranspositionTable> transpositionTable;
    SearchCounters counters;
    SearchLimits limits;
    // Search threads, from info thread_num.
    std::uint32_t searchThreads = 1;
    // The table's memory limit from info hash_size, in kilobytes; 0: none.
    std::int64_t hashSizeKb = 0;
    // Whether the manager sent a max_memory limit (other than 0).
    bool maxMemorySent = false;
    // Root moves a think searches one after another (YXNBEST).
    std::uint32_t candidatesWanted = 1;
    // What info show_detail asks to be written while searching.
    DetailReporter detail{[this](const std::string& line) { SendLine(line); }};
    // From info pondering: search on the opponent's time.
    bool pondering = false;

private:
    // search/ABPNSEngine.cpp
    void CheckBoardImageSize();
    // The commands of analysis boards; false for any other.
    bool OnAnalysisCommand(const std::string& command, const std::string& arguments);
    // The next think starts from an empty table, built anew.
    void DropTable();

    // protocol/GameCommands.cpp
    void ThinkAndAnswer();
    void PlaceBoardStone(std::uint32_t field, std::uint32_t x, std::uint32_t y);
    // The position of a BOARD or YXBOARD list, the engine's side to move.
    void SetPosition(const std::vector<BoardStone>& stones);
    // Plays a stone for the engine (1) or the opponent (2), a pass first when
    // that side made the last move too.
    void PlayFor(std::int32_t mover, std::uint32_t x, std::uint32_t y);
    // Answers an ERROR line when the manager names a point that holds a stone.
    bool RefusesOccupiedPoint(std::uint32_t x, std::uint32_t y);

    // search/SearchDriver.cpp
    SearchResult DecideAtRoot(std::int32_t softLimit, std::int32_t hardLimit);
    SearchResult SearchPosition(ListBoard& board, std::int32_t softLimit, std::int32_t hardLimit);
    // The best `searches` root moves one after another, each later one with the
    // earlier ones excluded, each given an equal share of the time left;
    // answers the first.
    SearchResult SearchCandidates(ListBoard& board, std::uint32_t searches, std::int32_t softLimit,
                                  std::int32_t hardLimit);
    // The memory the table may take, from max_memory and hash_size.
    std::int64_t TableMemoryLimit() const;
    // Searches the position after the opponent's expected reply (the game
    // position when none is expected or the reply leaves nothing to search)
    // until a line arrives; only what it leaves in the table is used.
    void Ponder();
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
