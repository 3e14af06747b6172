#include "analysis/DefenceGenerator.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>

#include "analysis/Candidates.h"
#include "board/Geometry.h"
#include "support/AnalysisFixture.h"

namespace zomar {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::Each;

std::vector<Coord> DefencesOf(ListBoard& board, Coord x) {
    Coord output[MaxDefencePoints];
    const int n = GenerateDefences(board, x, output);
    return std::vector<Coord>(output, output + n);
}

TEST(DefenceGenerator, StraightFourLineIsBrokenAtThePointThenAtItsEnds) {
    // o: three stones left of X = (5,3), empty cells at -4 and +1, x beyond.
    auto board = BuildPosition({
                                   ". . . . . . . .",
                                   ". . . . . . . .",
                                   ". . . . . . . .",
                                   "x . o o o . . x",
                               },
                               OnBoard(15, 15, 1));
    const Coord x = At(5, 3);
    ASSERT_EQ(board->PointCategoryOf(2, x), StraightFour);
    EXPECT_THAT(DefencesOf(*board, x), ElementsAre(x, At(1, 3), At(6, 3)));

    // The same points into the candidate list, after what it holds already.
    AddCandidate(*board, At(14, 14));
    EXPECT_EQ(GenerateDefences(*board, x, nullptr), 3);
    EXPECT_THAT(CandidateList(*board), ElementsAre(At(14, 14), x, At(1, 3), At(6, 3)));
}

TEST(DefenceGenerator, DoubleStraightFourIsAnsweredOnlyAtThePoint) {
    auto board = BuildPosition(
        {
            ". . . . . . . .", ". . . . . . . .", ". . . . . . . .", ". . . . . . . .",
            ". . . . . . . o", ". . . . . . . o", ". . . . . . . o", ". . . . o o o .",
        },
        OnBoard(15, 15, 1));
    ASSERT_EQ(board->PointCategoryOf(2, At(7, 7)), TwoStraightFour);
    EXPECT_THAT(DefencesOf(*board, At(7, 7)), ElementsAre(At(7, 7)));
}

// x has a FourThree point at (4,5): a closed three along row 5 and an open two
// in column 4.
const std::vector<std::string> fourThree = {
    ". . . . . . .", ". . . . . . .", ". . . . . . .", ". . . . . . .",
    ". . . . . . .", "o x x x . . .", ". . . . x . .", ". . . . x . .",
};

TEST(DefenceGenerator, FourThreeListsThePointThenTheFourThenTheThree) {
    auto board = BuildPosition(fourThree, OnBoard(15, 15, 2));
    const Coord x = At(4, 5);
    ASSERT_EQ(board->PointCategoryOf(1, x), FourThree);
    const std::vector<Coord> defences = DefencesOf(*board, x);
    // X, the four's five point, then the three's blocks in column 4.
    ASSERT_GE(defences.size(), 4u);
    EXPECT_EQ(defences[0], x);
    EXPECT_EQ(defences[1], At(5, 5));
    for (std::size_t i = 2; i < defences.size(); ++i) {
        EXPECT_EQ(defences[i] % boardWidth, 4u) << i;
        EXPECT_EQ(board->stone[defences[i]], EmptyCell) << i;
    }
    EXPECT_THAT(defences, ::testing::IsSupersetOf({At(4, 4), At(4, 8)}));
}

TEST(DefenceGenerator, RefusesPointsThatAreNoStrongThreat) {
    auto board = BuildPosition(fourThree, OnBoard(15, 15, 2));
    // (5,5) only completes a plain four-class line; (10,10) is nothing.
    ASSERT_GE(board->PointCategoryOf(1, At(5, 5)), FourDevelopFour);
    ASSERT_LE(board->PointCategoryOf(1, At(5, 5)), Four);
    for (const Coord p : {At(5, 5), At(10, 10)}) {
        try {
            GenerateDefences(*board, p, nullptr);
            ADD_FAILURE() << "no error for " << p;
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ(e.what(), "Unexpected structure in defend generator.");
        }
    }
    EXPECT_EQ(board->candidateCount, 0u);
}

TEST(DefenceGenerator, DirectionsAboveThreeAreInvalid) {
    auto board = BuildPosition(fourThree, OnBoard(15, 15, 2));
    try {
        LineDefences(*board, At(4, 5), nullptr, false, 4);
        ADD_FAILURE();
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Invalid Direction");
    }
    EXPECT_THROW(LineCode(*board, At(4, 5), 4), std::runtime_error);
}

TEST(DefenceGenerator, RunsAtTheEdgeNeverProducePointsOffTheBoard) {
    // o's open threes touch the top edge and the left edge.
    auto board = BuildPosition({
                                   ". o o o . . . . .",
                                   ". . . . . . . . .",
                                   ". . . . . . . . .",
                                   "o . . . . . . . .",
                                   "o . . . . . . . .",
                                   "o . . . . . . . .",
                                   ". . . . . . . . .",
                                   ". . . . . . . . x",
                               },
                               OnBoard(9, 9, 1));
    int checked = 0;
    for (Coord x = 0; x < boardArea; ++x) {
        const ThreatCategory c = board->PointCategoryOf(2, x);
        if (board->stone[x] != EmptyCell || c == Win || (c > FourThree && c != TwoThree)) continue;
        ++checked;
        for (const Coord p : DefencesOf(*board, x)) {
            EXPECT_LT(p, boardArea);
            EXPECT_EQ(board->stone[p], EmptyCell);
            EXPECT_LE(std::abs(LineDistance(p, x)), 5) << p;
        }
    }
    EXPECT_GE(checked, 3);
}

}  // namespace
}  // namespace zomar
