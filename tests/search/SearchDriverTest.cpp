#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>

#include "support/EngineSession.h"
#include "support/PositionBuilder.h"

namespace zomar {
namespace {

using test::At;

using SearchDriverTest = EngineSession;

bool HasLineStartingWith(const std::vector<std::string>& lines, const std::string& start) {
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) { return line.rfind(start, 0) == 0; });
}

bool IsPictureLine(const std::string& line) {
    return line.rfind("MESSAGE ", 0) == 0 && line.size() > 12;
}

// Sets up a position stone by stone, the two sides alternating (with passes
// where one list is longer): toMove for the side that is on turn afterwards.
void SetUpPosition(ABPNSEngine& engine, const std::vector<Coord>& toMove, const std::vector<Coord>& other) {
    engine.NewBoard();
    for (std::size_t i = 0; i < std::max(toMove.size(), other.size()); ++i) {
        engine.PlayMove(i < toMove.size() ? toMove[i] : PassCoord, false);
        engine.PlayMove(i < other.size() ? other[i] : PassCoord, true);
    }
}


TEST_F(SearchDriverTest, OpeningMovesAreAnsweredWithoutSearch) {
    const SearchResult first = engine->ThinkMove();
    EXPECT_EQ(first.move, At(10, 10));
    EXPECT_EQ(first.value, 0);
    EXPECT_EQ(StatusOf(first), SCORE_UNKNOWN);
    EXPECT_TRUE(TakeLines().empty());

    engine->PlayMove(At(10, 10), true);
    const SearchResult second = engine->ThinkMove();
    EXPECT_NE(second.move, At(10, 10));
    EXPECT_TRUE(IsWithinFour(second.move, At(10, 10)));
    EXPECT_TRUE(TakeLines().empty());
}

TEST_F(SearchDriverTest, OwnFourIsCompletedWithThePicture) {
    SetUpPosition(*engine, {At(5, 5), At(6, 5), At(7, 5), At(8, 5)}, {At(4, 5), At(5, 6), At(6, 6), At(7, 7)});
    const SearchResult result = engine->ThinkMove();
    EXPECT_EQ(result.move, At(9, 5));
    EXPECT_EQ(StatusOf(result), SCORE_WIN);
    EXPECT_EQ(result.proofNumber, 0);
    EXPECT_EQ(result.disproofNumber, -1);
    EXPECT_EQ(result.value, 0);
    const std::vector<std::string> lines = TakeLines();
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_TRUE(std::all_of(lines.begin(), lines.end(), IsPictureLine));
}

TEST_F(SearchDriverTest, OpenThreeAgainstNothingIsAWinWithoutThePicture) {
    // An open four next move wins; no five can be made yet.
    SetUpPosition(*engine, {At(5, 5), At(6, 5), At(7, 5)}, {At(15, 15), At(3, 16), At(17, 2)});
    const SearchResult result = engine->ThinkMove();
    EXPECT_EQ(StatusOf(result), SCORE_WIN);
    EXPECT_EQ(TakeLines(), std::vector<std::string>{"MESSAGE :-))"});
}

TEST_F(SearchDriverTest, TwoOpenFoursAgainstUsAreALoss) {
    SetUpPosition(*engine, {At(1, 18), At(3, 18), At(18, 1)},
                  {At(5, 5), At(6, 5), At(7, 5), At(8, 5), At(12, 9), At(12, 10), At(12, 11), At(12, 12)});
    const SearchResult result = engine->ThinkMove();
    EXPECT_EQ(StatusOf(result), SCORE_LOSS);
    EXPECT_EQ(result.proofNumber, -1);
    EXPECT_EQ(result.disproofNumber, 0);
    EXPECT_EQ(TakeLines(), std::vector<std::string>{"MESSAGE :-(("});
}

TEST_F(SearchDriverTest, SingleReplyIsAnsweredAtOnceWithAVerdictTheTableHolds) {
    // The opponent's four on row 5 is closed at (4, 5); only (9, 5) stops it.
    SetUpPosition(*engine, {At(4, 5), At(12, 12), At(14, 12)}, {At(5, 5), At(6, 5), At(7, 5), At(8, 5)});
    engine->AllocateSearchMemory();
    engine->firstThinkDone = true;
    const std::uint64_t key = engine->gameBoard->hashKey;

    // Nothing stored: the only reply, without a message.
    const SearchResult result = engine->ThinkMove();
    EXPECT_EQ(result.move, At(9, 5));
    EXPECT_EQ(StatusOf(result), SCORE_UNKNOWN);
    EXPECT_TRUE(TakeLines().empty());

    engine->transpositionTable->StoreTable(key, 1, SCORE_WIN, At(9, 5), BoundExact);
    engine->ThinkMove();
    EXPECT_EQ(TakeLines(), std::vector<std::string>{"MESSAGE :-)"});

    engine->transpositionTable->StoreTable(key, 1, SCORE_LOSS, At(9, 5), BoundUpper);
    engine->ThinkMove();
    EXPECT_EQ(TakeLines(), std::vector<std::string>{"MESSAGE :-("});

    // An open value in the table says nothing.
    engine->transpositionTable->StoreTable(key, 5, 1200, At(9, 5), BoundExact);
    engine->ThinkMove();
    EXPECT_TRUE(TakeLines().empty());
}

TEST_F(SearchDriverTest, NoTimeMeansNoSearch) {
    SetUpPosition(*engine, {At(9, 9), At(10, 11)}, {At(10, 10), At(11, 10)});
    engine->matchClock.timeout_turn = 80;
    const SearchResult result = engine->ThinkMove();
    EXPECT_EQ(StatusOf(result), SCORE_UNKNOWN);
    EXPECT_LT(result.move, boardArea);
    EXPECT_TRUE(TakeLines().empty());

    // A passed match deadline as well.
    engine->matchClock.timeout_turn = 100000;
    engine->matchClock.SetTimeLeft(-1000);
    engine->ThinkMove();
    EXPECT_TRUE(TakeLines().empty());
}

TEST_F(SearchDriverTest, OpenPositionIsSearchedAndItsValueReported) {
    SetUpPosition(*engine, {At(9, 9), At(10, 11)}, {At(10, 10), At(11, 10)});
    const SearchResult result = engine->ThinkMove();
    EXPECT_LT(result.move, boardArea);
    EXPECT_EQ(engine->gameBoard->stone[result.move], 0);
    const std::vector<std::string> lines = TakeLines();
    if (StatusOf(result) == SCORE_UNKNOWN) {
        EXPECT_TRUE(HasLineStartingWith(lines, "DEBUG value = " + std::to_string(result.value))) << result.value;
    } else {
        EXPECT_FALSE(HasLineStartingWith(lines, "DEBUG value = "));
    }
    // The game board is left as it was.
    EXPECT_EQ(engine->gameBoard->moveCount, 4u);
}

TEST_F(SearchDriverTest, AlmostFullBoardIsAnsweredWithoutSearch) {
    // Two empty points: a search would reach a full board below the root.
    test::UseTables(2, 2);
    engine->NewBoard();
    engine->PlayMove(0, true);
    engine->PlayMove(3, false);
    const SearchResult result = engine->ThinkMove();
    EXPECT_TRUE(result.move == 1 || result.move == 2) << result.move;
    EXPECT_TRUE(TakeLines().empty());
}

TEST_F(SearchDriverTest, TableIsBuiltOnceFromTheMemoryLimit) {
    engine->max_memory = 100000;
    engine->ThinkMove();
    ASSERT_NE(engine->transpositionTable, nullptr);
    EXPECT_EQ(engine->transpositionTable->EntryCount(), MinTableEntries);
    EXPECT_TRUE(engine->firstThinkDone);

    // The same limit keeps it; a later limit sizes it again.
    const TranspositionTable* table = engine->transpositionTable.get();
    engine->ThinkMove();
    EXPECT_EQ(engine->transpositionTable.get(), table);
    engine->max_memory = 0;
    engine->ThinkMove();
    EXPECT_GT(engine->transpositionTable->EntryCount(), MinTableEntries);
}

// hash_size alone sets the limit, with max_memory the smaller holds; a new
// size or YXHASHCLEAR gives the next think a new table.
TEST_F(SearchDriverTest, HashSizeLimitsTheTableAsMaxMemoryDoes) {
    const auto entriesAfter = [&](const std::vector<std::string>& lines) {
        for (const std::string& line : lines) engine->HandleLine(line);
        engine->ThinkMove();
        return engine->transpositionTable->EntryCount();
    };
    const std::size_t atMaxMemory = entriesAfter({});
    EXPECT_EQ(entriesAfter({"info hash_size 100"}), MinTableEntries);
    EXPECT_GT(entriesAfter({"info hash_size 65536"}), atMaxMemory);
    EXPECT_EQ(entriesAfter({"info max_memory 100000", "info hash_size 32768"}), MinTableEntries);
    engine->HandleLine("yxhashclear");
    EXPECT_EQ(engine->transpositionTable, nullptr);
    EXPECT_EQ(entriesAfter({}), MinTableEntries);
}

TEST(SearchMemoryTest, TableSizeFollowsLimitAndWorkingSet) {
    EXPECT_EQ(SearchTableEntries(62914560, 3000000), 1752588u);
    EXPECT_LT(SearchTableEntries(62914560, 30000000), SearchTableEntries(62914560, 3000000));
    // Managers send 0 for "no limit": the start-up default applies.
    EXPECT_EQ(SearchTableEntries(0, 3000000), 1752588u);
}

TEST(SearchMemoryTest, TooSmallBudgetsStillGetAWorkingTable) {
    EXPECT_EQ(SearchTableEntries(1000, 3000000), MinTableEntries);
    EXPECT_EQ(SearchTableEntries(-1, 0), MinTableEntries);
    EXPECT_EQ(SearchTableEntries(INT_MIN, 0), MinTableEntries);
    // A working set beyond any 32-bit budget.
    EXPECT_EQ(SearchTableEntries(62914560, 0x100000000ull), MinTableEntries);
}

// What the process can still get acts as a lower limit, and only then.
TEST(SearchMemoryTest, LimitIsCappedAtWhatTheProcessCanGet) {
    const std::uint64_t workingSet = 3000000;
    for (std::uint64_t headroom : {0ull, 40000000ull, 1000000000ull}) {
        const auto cap = static_cast<std::int32_t>(workingSet + headroom);
        EXPECT_EQ(SearchTableEntries(INT32_MAX, workingSet, headroom), SearchTableEntries(cap, workingSet)) << headroom;
        EXPECT_EQ(SearchTableEntries(0, workingSet, headroom),
                  SearchTableEntries(std::min(cap, DefaultMaxMemory), workingSet)) << headroom;
    }
    EXPECT_EQ(SearchTableEntries(INT32_MAX, workingSet, UINT64_MAX - 1), SearchTableEntries(INT32_MAX, workingSet));
}

TEST(SearchStatisticsTest, LineShowsNodesShareAndSpeed) {
    EXPECT_EQ(SearchStatisticsLine(200000, 50000, 100), "DEBUG AB: 200000 nodes (VCF 25%), speed:2000000/s");
    // Node counts above six digits print in the stream's default notation.
    EXPECT_EQ(SearchStatisticsLine(1234567, 1, 1000), "DEBUG AB: 1.23457e+06 nodes (VCF 0%), speed:1234567/s");
    // Shares and speeds are truncated, not rounded.
    EXPECT_EQ(SearchStatisticsLine(3, 2, 51), "DEBUG AB: 3 nodes (VCF 66%), speed:58/s");
    EXPECT_EQ(SearchStatisticsLine(0, 0, 60), "DEBUG AB: 0 nodes (VCF 0%), speed:0/s");
}

}  // namespace
}  // namespace zomar
