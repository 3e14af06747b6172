#include <gtest/gtest.h>

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

}  // namespace
}  // namespace zomar
