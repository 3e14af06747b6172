#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "analysis/MoveGeneration.h"
#include "analysis/Score.h"
#include "board/Geometry.h"
#include "search/TreeSearch.h"
#include "support/AnalysisFixture.h"

namespace zomar {
namespace {

// o to move and must block x's four on (7, 7); nothing else is forced.
const std::vector<std::string> ForcedBlock = {
    ". . . . . . . . . .",
    ". . . . . . . . . .",
    ". . . . . . . . . .",
    ". . . . . . . . . .",
    ". . . . . . . . o .",
    ". . . . . . . . . .",
    ". . . . . . . . . .",
    ". . o x x x x . . .",
    ". . . . . . . . . o",
    ". . . . . o . . . .",
};

class AlphaBetaTest : public ::testing::Test {
protected:
    void SetUp() override { timer.SetDeadline(1000000000); }

    struct Outcome {
        std::int32_t value;
        Coord move;
        std::uint32_t stonesPlaced;
    };

    Outcome Search(ListBoard& board, std::int32_t depth, std::int32_t alpha = SCORE_LOSS,
                   std::int32_t beta = SCORE_WIN) {
        const std::uint64_t hash = board.hashKey;
        const std::uint32_t stones = board.moveCount;
        const std::uint32_t borderCount = board.borderCount;
        const std::uint32_t before = madeMoveCount;
        Outcome outcome{0, PassCoord, 0};
        outcome.value = search.AlphaBeta(board, depth, outcome.move, alpha, beta, timer);
        outcome.stonesPlaced = madeMoveCount - before;
        EXPECT_EQ(board.hashKey, hash);
        EXPECT_EQ(board.moveCount, stones);
        EXPECT_EQ(board.borderCount, borderCount);
        return outcome;
    }

    bool Stored(const ListBoard& board) {
        std::int32_t alpha = SCORE_LOSS;
        std::int32_t beta = SCORE_WIN;
        Coord move = 0;
        return table.ProbeTable(board.hashKey, 0, alpha, beta, move);
    }

    TranspositionTable table{1 << 12};
    SearchCounters counters;
    std::ostringstream out;
    TreeSearch search{table, counters, LinesTo(out)};
    MsTimer timer;
};

TEST_F(AlphaBetaTest, TheHorizonAsksTheThreatSearchWhenColourOneIsToMove) {
    auto board = BuildPosition(test::TwoAttackWin, OnBoard(15, 15, Colour1, BoardKind::Search));
    const Outcome outcome = Search(*board, 0);
    EXPECT_EQ(outcome.value, SCORE_WIN);
    EXPECT_EQ(outcome.move, At(6, 7));
    // The attack and its block are charged to the threat search.
    EXPECT_EQ(counters.vcfNodeCount, 2);
    EXPECT_EQ(outcome.stonesPlaced, 2u);
}

TEST_F(AlphaBetaTest, ColourTwoAtTheHorizonGetsOneMoreFullPly) {
    auto board = BuildPosition(test::TwoAttackWin, OnBoard(15, 15, Colour2, BoardKind::Search));
    GenerateSearchMoves(*board, 0);
    const std::uint32_t replies = board->candidateCount;
    const Outcome outcome = Search(*board, 0);
    ASSERT_LT(outcome.move, boardArea);
    EXPECT_EQ(board->stone[outcome.move], EmptyCell);
    // Every reply is played, and x's threat search runs below it.
    EXPECT_GE(outcome.stonesPlaced, replies);
    EXPECT_GT(counters.vcfNodeCount, 0);
    EXPECT_GT(counters.maxPlyReached, board->moveCount);
}

TEST_F(AlphaBetaTest, ASingleReplyIsSearchedAtTheSameDepth) {
    auto board = BuildPosition(ForcedBlock, OnBoard(15, 15, Colour2, BoardKind::Search));
    ASSERT_EQ(GenerateSearchMoves(*board, 0), SCORE_UNKNOWN);
    ASSERT_EQ(test::CandidateList(*board), std::vector<Coord>{At(7, 7)});
    Search(*board, 3);
    // The table keeps nodes of depth 3 and more only: the position after the
    // block is there because the block did not use up a ply.
    EXPECT_TRUE(Stored(*board));
    board->MakeSearchMove(At(7, 7));
    EXPECT_TRUE(Stored(*board));
}

TEST_F(AlphaBetaTest, StoredBoundsEndANodeOnlyFromADeepEnoughSearch) {
    auto board = BuildPosition(test::QuietSearchPosition, OnBoard(15, 15, Colour1, BoardKind::Search));
    table.StoreTable(board->hashKey, 3, SCORE_WIN, At(2, 2), BoundLower);
    Outcome outcome = Search(*board, 3);
    EXPECT_EQ(outcome.value, SCORE_WIN);
    EXPECT_EQ(outcome.move, At(2, 2));
    EXPECT_EQ(outcome.stonesPlaced, 0u);

    // Deeper than the entry: searched, with the stored move tried first.
    table.StoreTable(board->hashKey, 3, SCORE_WIN, At(2, 2), BoundLower);
    outcome = Search(*board, 4);
    EXPECT_GT(outcome.stonesPlaced, 0u);
    EXPECT_LT(outcome.value, SCORE_WIN);
}

TEST_F(AlphaBetaTest, StoredProvenValuesEndANodeAtAnyDepth) {
    auto board = BuildPosition(test::QuietSearchPosition, OnBoard(15, 15, Colour1, BoardKind::Search));
    table.StoreTable(board->hashKey, 1, SCORE_LOSS, At(3, 3), BoundExact);
    const Outcome outcome = Search(*board, 7);
    EXPECT_EQ(outcome.value, SCORE_LOSS);
    EXPECT_EQ(outcome.move, At(3, 3));
    EXPECT_EQ(outcome.stonesPlaced, 0u);
}

TEST_F(AlphaBetaTest, FailingNodesReturnAndStoreTheBoundTheyMissed) {
    auto board = BuildPosition(test::QuietSearchPosition, OnBoard(15, 15, Colour1, BoardKind::Search));
    // No score of this quiet position comes near the window: fail low.
    EXPECT_EQ(Search(*board, 3, 100000, 100001).value, 100000);
    std::int32_t alpha = 100000;
    std::int32_t beta = 100001;
    Coord move = 0;
    ASSERT_TRUE(table.ProbeTable(board->hashKey, 3, alpha, beta, move));
    EXPECT_EQ(beta, 100000);

    // Fail high: the value is beta, stored as a lower bound.
    EXPECT_EQ(Search(*board, 3, -100001, -100000).value, -100000);
    alpha = -100001;
    beta = -100000;
    ASSERT_TRUE(table.ProbeTable(board->hashKey, 3, alpha, beta, move));
    EXPECT_EQ(alpha, -100000);
    EXPECT_LT(move, boardArea);
}

TEST_F(AlphaBetaTest, PastTheHardDeadlineANodeGivesItsStaticScoreAndStoresNothing) {
    auto board = BuildPosition(test::QuietSearchPosition, OnBoard(15, 15, Colour1, BoardKind::Search));
    const std::int32_t quiet = StaticScore(*board);
    timer.SetDeadline(-1000);
    const Outcome outcome = Search(*board, 5);
    EXPECT_EQ(outcome.value, quiet);
    EXPECT_EQ(outcome.stonesPlaced, 0u);
    EXPECT_FALSE(Stored(*board));
}

// A line that runs to the last point (single replies keep the depth) ends in
// a draw; it must not end the program as a node without moves.
TEST_F(AlphaBetaTest, AFullBoardIsADrawInsideTheWindow) {
    auto board = BuildPosition(test::FullFiveByFive, OnBoard(5, 5, 0, BoardKind::Search));
    ASSERT_EQ(board->moveCount, boardArea);
    Coord move = 0;
    EXPECT_EQ(search.AlphaBeta(*board, 3, move, SCORE_LOSS, SCORE_WIN, timer), 0);
    EXPECT_EQ(move, boardArea);
    EXPECT_EQ(search.AlphaBeta(*board, 3, move, 5, SCORE_WIN, timer), 5);
    EXPECT_EQ(search.AlphaBeta(*board, 3, move, SCORE_LOSS, -5, timer), -5);
}

}  // namespace
}  // namespace zomar
