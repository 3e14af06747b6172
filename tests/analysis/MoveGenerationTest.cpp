#include "analysis/MoveGeneration.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "analysis/Candidates.h"
#include "analysis/Score.h"
#include "analysis/ThreatEvaluation.h"
#include "board/Geometry.h"
#include "support/AnalysisFixture.h"

namespace zomar {
namespace {

using ::testing::ElementsAre;

// o to move, three quiet stones in the middle of the board.
const std::vector<std::string> quiet = {
    ". . . . . . . . .", ". . . . . . . . .", ". . . . . . . . .", ". . . . . . . . .",
    ". . . . . . . . .", ". . . . . . . . .", ". . . . . . . x .", ". . . . . . . o x",
};

TEST(GenerateSearchMoves, EmptyBoardGivesTheFinalCentre) {
    auto board = EmptyBoard(15, 15);
    EXPECT_EQ(GenerateSearchMoves(*board, EvalFull), SCORE_UNKNOWN);
    EXPECT_THAT(CandidateList(*board), ElementsAre(At(7, 7)));
    EXPECT_EQ(board->listFinal, 1);
}

TEST(GenerateSearchMoves, NoPointWhereFiveCanBeMadeIsLost) {
    // On 4 x 4 no line holds five cells.
    auto board = BuildPosition({"x o x ."}, OnBoard(4, 4));
    EXPECT_EQ(GenerateSearchMoves(*board, EvalFull), SCORE_LOSS);
    EXPECT_THAT(CandidateList(*board), ElementsAre(At(3, 0)));
    // Only the full evaluation draws that conclusion.
    EXPECT_EQ(GenerateSearchMoves(*board, EvalAttacker), SCORE_LOSS);
    EXPECT_EQ(board->candidateCount, 0u);
}

TEST(GenerateSearchMoves, FullBoardIsLeftWithoutMoves) {
    auto board = BuildPosition({"x o x o", "o x o x", "x o x o", "o x o x"}, OnBoard(4, 4));
    EXPECT_EQ(GenerateSearchMoves(*board, EvalFull), SCORE_UNKNOWN);
    EXPECT_EQ(board->candidateCount, 0u);
}

TEST(GenerateSearchMoves, ProvenResultsComeStraightFromTheEvaluation) {
    auto board = BuildPosition({". x x x x .", ". o o o o ."}, OnBoard(15, 15, 1, BoardKind::Search));
    EXPECT_EQ(GenerateSearchMoves(*board, EvalFull), SCORE_WIN);
    EXPECT_EQ(board->candidateCount, 1u);
}

TEST(ExtendMoves, QuietSearchBoardTakesThreeBorderPointsWhereTheOpponentIsStrongest) {
    auto board = BuildPosition(quiet, OnBoard(15, 15, 2, BoardKind::Search));
    ASSERT_EQ(board->neighbourCandidates, 0);
    EXPECT_EQ(GenerateSearchMoves(*board, EvalFull), SCORE_UNKNOWN);
    const std::vector<Coord> list = CandidateList(*board);
    ASSERT_EQ(list.size(), 3u);
    const auto key = [&](Coord p) { return 100 - board->PointCategoryOf(1, p); };
    int weakestChosen = 100;
    for (const Coord p : list) {
        EXPECT_EQ(board->candidateMark[p], MarkExtension);
        EXPECT_EQ(board->borderState[p], 1);
        weakestChosen = std::min(weakestChosen, key(p));
    }
    EXPECT_GE(key(list[0]), key(list[1]));
    EXPECT_GE(key(list[1]), key(list[2]));
    for (std::uint32_t i = 0; i < board->borderCount; ++i) {
        const Coord p = board->borderList[i];
        if (std::find(list.begin(), list.end(), p) == list.end()) {
            EXPECT_LE(key(p), weakestChosen) << p;
        }
    }
}

TEST(ExtendMoves, KeepsAwayFromCandidatesAndStopsAtSeven) {
    auto board = BuildPosition(quiet, OnBoard(15, 15, 2, BoardKind::Search));
    const Coord listed = At(6, 6);
    AddCandidate(*board, listed);
    ExtendMoves(*board);
    const std::vector<Coord> list = CandidateList(*board);
    ASSERT_EQ(list.size(), 4u);
    for (std::size_t i = 1; i < list.size(); ++i) EXPECT_GT(std::abs(LineDistance(list[i], listed)), 1) << list[i];

    ClearCandidates(*board);
    for (std::uint32_t x = 0; x < 7; ++x) AddCandidate(*board, At(x, 0));
    ExtendMoves(*board);
    EXPECT_EQ(board->candidateCount, 7u);

    // A game board has no border to take points from.
    auto game = BuildPosition(quiet, OnBoard(15, 15, 2));
    ExtendMoves(*game);
    EXPECT_EQ(game->candidateCount, 0u);
}

TEST(Score, WeighsOwnCategoriesAgainstThreeTimesTheOpponents) {
    // One stone far from everything; only the counts are read.
    auto board = EmptyBoard(15, 15);
    board->MakeMove(At(7, 7));
    for (const int colour : {1, 2}) {
        std::fill(std::begin(board->categoryCount[colour]), std::end(board->categoryCount[colour]), 0);
    }
    board->categoryCount[2][Three] = 1;  // colour 2 is to move
    board->categoryCount[1][Four] = 1;
    // Other and Impossible take no part.
    board->categoryCount[1][Other] = 50;
    board->categoryCount[2][Impossible] = 50;
    EXPECT_EQ(Score(*board), 200 - 110 * 3);

    // The previous ply found its answer: a bonus of 10000, then / 100.
    EXPECT_EQ(StaticScore(*board), 98);
    board->candidateMark[0] |= PlyThreatFlag;
    EXPECT_EQ(StaticScore(*board), -1);
}

TEST(Score, StaticScorePenalisesAStraightFourWithoutAnswer) {
    // x to move: two separate open threes of o, no common block, but a
    // FourDevelopFour at (11,8) to counter with.
    std::vector<std::string> rows(15, ". . . . . . . . . . . . . . .");
    rows[2] = ". . . o o o . . . . . . . . .";
    rows[8] = ". . . . . . . o x x x . . . .";
    rows[9] = ". . . . . . . . . . . x . . .";
    rows[10] = ". . . . . . . . . . . x . . .";
    rows[11] = ". . . o o o . . . . . o . . .";
    rows[13] = "x . . . . . . . . . . . . . .";
    rows[14] = "x . . . . . . . . . . . . . x";
    auto board = BuildPosition(rows, OnBoard(15, 15, 1));
    ASSERT_EQ(EvaluateThreats(*board, EvalFull), SCORE_UNKNOWN);
    ASSERT_EQ(board->evalFlags & NoAnswerToStraightFour, NoAnswerToStraightFour);
    EXPECT_THAT(CandidateList(*board), ElementsAre(At(11, 8)));
    ASSERT_FALSE(PlyThreatFlagSet(*board, board->moveCount - 1));
    EXPECT_EQ(StaticScore(*board), (Score(*board) - 100000 + 10000) / 100);
}

TEST(Score, StaticScorePassesProvenResultsOn) {
    auto board = BuildPosition({". x x x x .", ". o o o o ."}, OnBoard(15, 15, 2));
    EXPECT_EQ(StaticScore(*board), SCORE_WIN);
    EXPECT_EQ(board->candidateCount, 1u);
}

}  // namespace
}  // namespace zomar
