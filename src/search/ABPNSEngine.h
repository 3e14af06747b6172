#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "board/ListBoard.h"
#include "protocol/Communicator.h"
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

// Memory the process keeps beside the table: 2 MiB and a little.
constexpr std::int64_t ReservedMemoryBytes = 2097208;
// The table never gets fewer entries than this, however small the budget.
constexpr std::size_t MinTableEntries = 1024;

// Every move is answered this many milliseconds before its limits.
constexpr std::int32_t TimeSafetyMs = 80;
// The soft limit is this share of the time left in the match.
constexpr std::int32_t MatchTimeShare = 45;
// Positions with fewer empty points are answered without a search.
constexpr std::uint32_t MinEmptyPointsToSearch = 3;
// A search shorter than this prints no node statistics.
constexpr std::uint32_t StatisticsMinMs = 50;

// The benchmark keeps at most this many stones of each position.
constexpr std::uint32_t TestPositionStones = 10;
constexpr std::int32_t TestSearchLimitMs = 3000;

struct TimeBudget {
    std::int32_t softLimit = 0;
    std::int32_t hardLimit = 0;
};

// Limits of one move from the turn time and the time left in the match.
TimeBudget ComputeTimeBudget(std::int32_t timeoutTurn, std::int32_t remaining);

// Table entries for a memory limit and the memory the process already uses.
std::size_t SearchTableEntries(std::int32_t maxMemory, std::uint64_t workingSet);

// The "DEBUG AB: " line: stones placed, the threat search's share, speed.
std::string SearchStatisticsLine(std::uint32_t nodes, std::int32_t vcfNodes, std::uint32_t elapsedMs);
// The "DEBUG threads " line: stones placed by all search threads, speed.
std::string ThreadStatisticsLine(std::uint32_t threads, std::uint64_t nodes, std::uint32_t elapsedMs);

// The engine: game commands, the search driver and the benchmark command.
class ABPNSEngine : public SearchEngine {
public:
    explicit ABPNSEngine(const std::string& programPath);
    ABPNSEngine(const std::string& programPath, std::istream& input, std::ostream& output);
    ~ABPNSEngine() override;

    void OnTurn(std::uint32_t x, std::uint32_t y) override;
    void OnBegin() override;
    void OnBoard(std::vector<BoardStone> stones) override;
    void OnStart(std::uint32_t width, std::uint32_t height) override;
    void OnRestart() override;
    void OnTakeback(std::uint32_t x, std::uint32_t y) override;
    void OnPlay(std::uint32_t x, std::uint32_t y) override;
    void OnMaxMemory(std::int32_t bytes) override;
    bool OnOtherCommand(const std::string& command, const std::string& arguments) override;
    void OnOtherInfo(const std::string& key, const std::string& value) override;

    virtual SearchResult ThinkMove();
    virtual void PlayMove(Coord point, bool byOpponent);
    virtual void NewBoard();
    virtual void AllocateSearchMemory();

    TimeBudget ComputeTimeBudget();
    // The benchmark: searches every position file matching pattern.
    void RunSearchTest(const std::string& pattern);

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
    void CheckBoardImageSize();
    void ThinkAndAnswer();
    void PlaceBoardStone(std::uint32_t field, std::uint32_t x, std::uint32_t y);
    SearchResult DecideAtRoot(std::int32_t softLimit, std::int32_t hardLimit);
    SearchResult SearchPosition(ListBoard& board, std::int32_t softLimit, std::int32_t hardLimit);
    // The search's wins and losses against one probe of the table.
    void ReportStoredVerdict(const ListBoard& board);
    std::int32_t SearchTestPosition(const std::string& name);
};

}  // namespace zomar
