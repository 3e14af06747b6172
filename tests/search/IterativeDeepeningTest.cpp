#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "analysis/MoveGeneration.h"
#include "analysis/Score.h"
#include "board/Geometry.h"
#include "search/TreeSearch.h"
#include "support/AnalysisFixture.h"

namespace zomar {
namespace {

constexpr std::int32_t Forever = 1000000000;

// From a game between two depth-3 searches: o to move looks fine at depth 2
// and is lost at depth 3.
const std::vector<std::string> LostAtDepthThree = {
    ". . . . . . . . . . .",
    ". . . . . . . . . . .",
    ". . . . . . . . . . .",
    ". . . . . . . . . . .",
    ". . . . . . . . . . .",
    ". . . . . x . . . . .",
    ". . . . . . . . . . .",
    ". . . . . o . . o . .",
    ". . . . . . x x o . o",
    ". . . . . . o x o x .",
    ". . . . . . . . x x .",
};
const std::vector<std::pair<std::uint32_t, std::uint32_t>> LostAtDepthThreeOrder = {
    {9, 9}, {8, 7}, {5, 5}, {8, 9}, {7, 8}, {6, 9}, {8, 10}, {10, 8}, {6, 8}, {8, 8}, {7, 9}, {5, 7}, {9, 10}};

std::unique_ptr<ListBoard> LostPosition() {
    test::PositionOptions options = OnBoard(15, 15, 0, BoardKind::Search);
    options.order = LostAtDepthThreeOrder;
    return BuildPosition(LostAtDepthThree, options);
}

Coord FirstCandidate(ListBoard& board) {
    GenerateSearchMoves(board, 0);
    return board.candidateList[0];
}

class IterativeDeepeningTest : public ::testing::Test {
protected:
    SearchResult Deepen(ListBoard& board, SearchLimits limits, std::int32_t softLimit = Forever) {
        const std::uint64_t hash = board.hashKey;
        const std::uint32_t borderCount = board.borderCount;
        TreeSearch search(table, counters, LinesTo(out), limits);
        const SearchResult result = search.IterativeDeepening(board, softLimit, Forever);
        EXPECT_EQ(board.hashKey, hash);
        EXPECT_EQ(board.borderCount, borderCount);
        return result;
    }

    static SearchLimits UpToDepth(std::uint32_t depth) { return SearchLimits{depth, 0}; }

    std::vector<std::string> Lines() {
        std::vector<std::string> lines;
        std::istringstream written(out.str());
        for (std::string line; std::getline(written, line);) lines.push_back(line);
        return lines;
    }

    TranspositionTable table{1 << 14};
    SearchCounters counters;
    std::ostringstream out;
};

TEST_F(IterativeDeepeningTest, AWinFoundByTheThreatSearchEndsTheDeepening) {
    auto board = BuildPosition(test::TwoAttackWin, OnBoard(15, 15, Colour1, BoardKind::Search));
    const SearchResult result = Deepen(*board, UpToDepth(6));
    EXPECT_EQ(result.value, SCORE_WIN);
    EXPECT_EQ(result.proofNumber, 0);
    EXPECT_EQ(result.disproofNumber, -1);
    EXPECT_EQ(result.move, At(6, 7));
    ASSERT_EQ(Lines().size(), 1u);
    EXPECT_EQ(Lines()[0].rfind("DEBUG deep = 2 - ", 0), 0u) << Lines()[0];
}

TEST_F(IterativeDeepeningTest, AProvenLossKeepsTheMoveOfTheLastOpenIteration) {
    auto board = LostPosition();
    const Coord first = FirstCandidate(*board);
    // The same iterations on a twin board and table, one by one.
    auto twinBoard = LostPosition();
    TranspositionTable twinTable(1 << 14);
    SearchCounters twinCounters;
    std::ostringstream twinOut;
    TreeSearch twin(twinTable, twinCounters, LinesTo(twinOut));
    MsTimer hard;
    hard.SetDeadline(Forever);
    const SearchResult depth2 = twin.SearchRoot(*twinBoard, 2, hard);
    const SearchResult depth3 = twin.SearchRoot(*twinBoard, 3, hard);
    ASSERT_EQ(StatusOf(depth2), SCORE_UNKNOWN);
    ASSERT_EQ(StatusOf(depth3), SCORE_LOSS);
    ASSERT_NE(depth2.move, first);
    ASSERT_NE(depth2.move, depth3.move);

    const SearchResult result = Deepen(*board, UpToDepth(5));
    EXPECT_EQ(result.value, SCORE_LOSS);
    EXPECT_EQ(result.proofNumber, -1);
    EXPECT_EQ(result.disproofNumber, 0);
    EXPECT_EQ(result.move, depth2.move);
    EXPECT_EQ(Lines().at(0).rfind("DEBUG deep = 3 - ", 0), 0u) << Lines()[0];
}

TEST_F(IterativeDeepeningTest, WithoutSoftTimeNoIterationCountsButItsValueIsReported) {
    auto board = BuildPosition(test::QuietSearchPosition, OnBoard(15, 15, Colour1, BoardKind::Search));
    const Coord first = FirstCandidate(*board);
    TranspositionTable twinTable(1 << 14);
    SearchCounters twinCounters;
    std::ostringstream twinOut;
    MsTimer hard;
    hard.SetDeadline(Forever);
    auto twinBoard = BuildPosition(test::QuietSearchPosition, OnBoard(15, 15, Colour1, BoardKind::Search));
    const SearchResult depth2 = TreeSearch(twinTable, twinCounters, LinesTo(twinOut)).SearchRoot(*twinBoard, 2, hard);
    ASSERT_NE(depth2.move, first);

    const SearchResult result = Deepen(*board, SearchLimits{}, 0);
    EXPECT_EQ(result.move, first);
    EXPECT_EQ(result.value, depth2.value);
    EXPECT_EQ(result.proofNumber, 1);
    EXPECT_EQ(result.disproofNumber, 1);
    for (const std::string& line : Lines()) EXPECT_EQ(line.rfind("DEBUG deep = 2 - ", 0), 0u) << line;
}

TEST_F(IterativeDeepeningTest, ADepthLimitStillStopsAtTheSoftTimeLimit) {
    auto board = BuildPosition(test::QuietSearchPosition, OnBoard(15, 15, Colour1, BoardKind::Search));
    const Coord first = FirstCandidate(*board);
    EXPECT_EQ(Deepen(*board, UpToDepth(6), 0).move, first);
    for (const std::string& line : Lines()) EXPECT_EQ(line.rfind("DEBUG deep = 2 - ", 0), 0u) << line;
}

TEST_F(IterativeDeepeningTest, ADepthLimitRunsEveryDepthUpToItAndNoFurther) {
    auto board = BuildPosition(test::QuietSearchPosition, OnBoard(15, 15, Colour1, BoardKind::Search));
    for (const auto& [limit, last] : {std::pair{1u, "2"}, std::pair{2u, "2"}, std::pair{4u, "4"}}) {
        out.str("");
        const SearchResult result = Deepen(*board, UpToDepth(limit));
        EXPECT_EQ(StatusOf(result), SCORE_UNKNOWN);
        EXPECT_LT(result.move, boardArea);
        ASSERT_EQ(Lines().size(), 1u);
        EXPECT_EQ(Lines()[0].rfind(std::string("DEBUG deep = ") + last + " - ", 0), 0u) << Lines()[0];
    }
}

TEST_F(IterativeDeepeningTest, ANodeBudgetEndsTheSearchLikeThePassedDeadline) {
    auto board = BuildPosition(test::QuietSearchPosition, OnBoard(15, 15, Colour1, BoardKind::Search));
    const Coord first = FirstCandidate(*board);
    const std::uint32_t before = madeMoveCount;
    const SearchResult result = Deepen(*board, SearchLimits{6, 1});
    // Each root move reaches a node past the budget, which only scores.
    EXPECT_LE(madeMoveCount - before, 2 + 5u);
    EXPECT_EQ(result.move, first);
    EXPECT_EQ(result.proofNumber, 1);
    EXPECT_EQ(result.disproofNumber, 1);
}

TEST_F(IterativeDeepeningTest, AFullBoardGivesNoMoveInsteadOfAnError) {
    auto board = BuildPosition(test::FullFiveByFive, OnBoard(5, 5, 0, BoardKind::Search));
    const SearchResult result = Deepen(*board, UpToDepth(4));
    EXPECT_EQ(result.move, boardArea);
    EXPECT_EQ(StatusOf(result), SCORE_UNKNOWN);
    EXPECT_TRUE(Lines().empty());
}

}  // namespace
}  // namespace zomar
