#include <gtest/gtest.h>

#include <algorithm>

#include "analysis/Candidates.h"
#include "analysis/ForbiddenPoint.h"
#include "analysis/MoveGeneration.h"
#include "analysis/PatternTables.h"
#include "analysis/RenjuRestriction.h"
#include "analysis/Score.h"
#include "analysis/ThreatEvaluation.h"
#include "support/AnalysisFixture.h"

namespace zomar {
namespace {

// x (black) to move: (3, 3) would be a double three, (3, 1) is a plain three.
const std::vector<std::string> DoubleThreePoint = {
    ". . . . . . . .",
    ". . . . . . . .",
    ". . . x . . . .",
    ". x x . . . . .",
    ". . . x . . o o",
    ". . . . . . o o",
};

// Forbidden points leave black's list and score; counter-fours kept beside
// defences that were all forbidden become the moves.
TEST(RenjuRestriction, ForbiddenPointsAreNeitherMovesNorThreatsOfBlack) {
    test::UseTables(15, 15, 4);
    auto board = BuildPosition(DoubleThreePoint, OnBoard(15, 15, Colour1, BoardKind::Search));
    renjuBlack = 0;
    const std::int32_t unrestricted = Score(*board);
    renjuBlack = Colour1;
    ASSERT_TRUE(IsForbiddenPoint(*board, At(3, 3), Colour1));
    EXPECT_LT(Score(*board), unrestricted);
    GenerateSearchMoves(*board, EvalFull);
    ASSERT_GT(board->candidateCount, 0u);
    for (std::uint32_t i = 0; i < board->candidateCount; ++i) {
        EXPECT_FALSE(IsForbiddenPoint(*board, board->candidateList[i], Colour1)) << board->candidateList[i];
    }

    ClearCandidates(*board);
    AddCandidate(*board, At(3, 3));
    AddMarkedCandidate(*board, At(3, 1), MarkUnweightedCounterFour);
    board->listFinal = 1;
    EXPECT_EQ(RestrictToAllowedPoints(*board, EvalFull, SCORE_UNKNOWN), SCORE_UNKNOWN);
    ASSERT_EQ(board->candidateCount, 1u);
    EXPECT_EQ(board->candidateMark[At(3, 1)] & (MarkUnweightedCounterFour & ~MarkListed), 0);
    renjuBlack = 0;
    test::UseTables(20, 20);
}

// o (white) to move: o on (5, 5) makes a four whose only five point, (3, 3),
// is a double three of x's.
const std::vector<std::string> FourBlackCannotBlock = {
    ". . . . . . . . . . . . o",
    ". . . . . . . . .",
    ". . . x . . . . .",
    ". x x . . . . . .",
    ". . . x o . . . .",
    ". . . . . . . . .",
    ". . . . . . o . .",
    ". . . . . . . o .",
    ". . . . . . . . x",
};

// o to move: (4, 4) would be a double four of x's, no threat; o's double three
// on (8, 7) comes first.
const std::vector<std::string> ForbiddenDoubleFour = {
    ". . . . o . . . . . . . . . x",
    ". . . . x . . . .",
    ". . . . x . . . .",
    ". . . . x . . . .",
    "o x x x . . . . .",
    ". . . . . . . . o",
    ". . . . . . . . o",
    ". . . . . . o o .",
};

// x to move: o on (3, 4) or (6, 4) makes a straight four only because o wins
// with six as well; x blocks one of them.
const std::vector<std::string> OverlineThree = {
    "x . . . . . . . . . . . . . x",
    "x . . . . . . . . . . . . . x",
    ". . . . . . . . .",
    ". . . . . . . . .",
    ". . o . o o . o .",
};

class RenjuEvaluation : public ::testing::Test {
protected:
    void TearDown() override {
        renjuBlack = 0;
        test::UseTables(20, 20);
    }
    static std::unique_ptr<ListBoard> Position(const std::vector<std::string>& diagram, int toMove) {
        test::PositionOptions options = OnBoard(15, 15, toMove);
        options.rule = 4;
        auto board = BuildPosition(diagram, options);
        FollowRenjuBlack(*board);
        return board;
    }
    // The side to move's candidates, sorted, from an evaluation that finds no
    // decision.
    static std::vector<Coord> Answers(ListBoard& board) {
        EXPECT_EQ(EvaluateThreats(board, EvalFull), SCORE_UNKNOWN);
        std::vector<Coord> answers = CandidateList(board);
        std::sort(answers.begin(), answers.end());
        return answers;
    }
};

TEST_F(RenjuEvaluation, WhiteSeesAtOnceWhatBlackMayNotAnswer) {
    auto board = Position(FourBlackCannotBlock, Colour2);
    ASSERT_TRUE(IsForbiddenPoint(*board, At(3, 3), Colour1));
    for (const int mode : {EvalFull, EvalAttacker}) {
        EXPECT_EQ(EvaluateThreats(*board, mode), SCORE_WIN) << mode;
        EXPECT_EQ(board->candidateList[0], At(5, 5)) << mode;
    }
    // Blocking x's five point on (5, 5) makes the same four.
    for (const Coord p : {At(10, 5), At(6, 5), PassCoord, At(7, 5), PassCoord, At(8, 5), PassCoord, At(9, 5)}) {
        test::Play(*board, p);
    }
    EXPECT_EQ(EvaluateThreats(*board, EvalFull), SCORE_WIN);
    EXPECT_EQ(board->candidateList[0], At(5, 5));

    board = Position(ForbiddenDoubleFour, Colour2);
    ASSERT_TRUE(IsForbiddenPoint(*board, At(4, 4), Colour1));
    EXPECT_EQ(EvaluateThreats(*board, EvalFull), SCORE_UNKNOWN);
    EXPECT_EQ(board->candidateList[0], At(8, 7));
}

// x to move: its only straight four, (4, 2), is also a four down the column, a
// forbidden double four; o threatens a straight four on row 8.
const std::vector<std::string> ForbiddenStraightFour = {
    ". . . . . . . . .",
    ". . . . . . . . .",
    ". . x x . x . . .",
    ". . . . x . . . .",
    ". . . . x . . . .",
    ". . . . x . . . .",
    ". . . . o . . . .",
    ". . . . . . . . .",
    ". . . . . . . . . o o o . . .",
};

// x to move: what o can make of x's forbidden points calls for answers.
TEST_F(RenjuEvaluation, BlackAnswersWhatItsForbiddenPointsGiveWhite) {
    // o's four point (5, 5) could not be blocked once made: x takes it.
    auto board = Position(FourBlackCannotBlock, Colour1);
    EXPECT_EQ(Answers(*board), std::vector<Coord>{At(5, 5)});
    // o's three is a straight four only because o wins with six: x blocks an end.
    board = Position(OverlineThree, Colour1);
    EXPECT_EQ(Answers(*board), (std::vector<Coord>{At(3, 4), At(6, 4)}));
    // x's only straight four is forbidden and wins nothing: x answers o's three.
    board = Position(ForbiddenStraightFour, Colour1);
    ASSERT_TRUE(IsForbiddenPoint(*board, At(4, 2), Colour1));
    const std::vector<Coord> answers = Answers(*board);
    EXPECT_TRUE(std::binary_search(answers.begin(), answers.end(), At(8, 8)));
    EXPECT_TRUE(std::binary_search(answers.begin(), answers.end(), At(12, 8)));
}

}  // namespace
}  // namespace zomar
