#include "analysis/Candidates.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "analysis/Score.h"
#include "analysis/ThreatEvaluation.h"
#include "board/Geometry.h"
#include "support/AnalysisFixture.h"

namespace zomar {
namespace {

using test::Points;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

// Writes four line categories of p for colour directly, for the point tests.
void SetLineCategories(ListBoard& board, Coord p, int colour, std::initializer_list<ThreatCategory> lines) {
    std::uint32_t packed = 0;
    int d = 0;
    for (const ThreatCategory c : lines) packed |= static_cast<std::uint32_t>(c) << (CategoryBits * d++);
    board.SetPacked(colour, p, packed);
}

TEST(CandidateList, AddsEachPointOnceAndRemovesByMovingTheLastEntry) {
    auto board = EmptyBoard(15, 15);
    const Coord p = At(1, 1), q = At(2, 2), r = At(3, 3);
    EXPECT_TRUE(AddCandidate(*board, p));
    EXPECT_FALSE(AddCandidate(*board, p));
    AddCandidate(*board, q);
    AddCandidate(*board, r);
    EXPECT_THAT(CandidateList(*board), ElementsAre(p, q, r));

    RemoveCandidate(*board, 0);
    EXPECT_THAT(CandidateList(*board), ElementsAre(r, q));
    EXPECT_EQ(board->candidateMark[p] & MarkListed, 0);
    RemoveCandidate(*board, 1);
    EXPECT_THAT(CandidateList(*board), ElementsAre(r));
    // A removed point can be listed again.
    EXPECT_TRUE(AddCandidate(*board, p));
}

TEST(CandidateList, ClearingKeepsTheUpperMarkBitsAndTheMarksOfUnlistedPoints) {
    auto board = EmptyBoard(15, 15);
    const Coord listed = At(4, 4), unlisted = At(5, 5);
    AddCandidate(*board, listed);
    board->candidateMark[listed] |= 0xE0 | PlyThreatFlag;
    board->candidateMark[unlisted] = PlyThreatFlag;
    ClearCandidates(*board);
    EXPECT_EQ(board->candidateCount, 0u);
    EXPECT_EQ(board->candidateMark[listed], 0xE0);
    EXPECT_EQ(board->candidateMark[unlisted], PlyThreatFlag);
}

TEST(PointTests, DeadPointHasAtMostOneOpenLine) {
    auto board = EmptyBoard(15, 15);
    const Coord p = At(7, 7);
    SetLineCategories(*board, p, 1, {Impossible, Impossible, Impossible, Four});
    EXPECT_TRUE(IsDeadPoint(*board, p, 1));
    SetLineCategories(*board, p, 1, {Impossible, Impossible, Four, Four});
    EXPECT_FALSE(IsDeadPoint(*board, p, 1));
    // The other colour's categories are not read.
    EXPECT_FALSE(IsDeadPoint(*board, p, 2));
}

TEST(PointTests, WeakPointNeedsABlockedLineAndLittleElse) {
    auto board = EmptyBoard(15, 15);
    const Coord p = At(7, 7);
    const auto weak = [&](std::initializer_list<ThreatCategory> lines, int limit) {
        SetLineCategories(*board, p, 2, lines);
        return IsWeakPoint(*board, p, 2, limit);
    };
    EXPECT_TRUE(weak({Three, Impossible, Other, Other}, 1));
    EXPECT_FALSE(weak({Three, Three, Impossible, Other}, 1));
    EXPECT_TRUE(weak({TwoTwo, Impossible, Other, Other}, 0));
    EXPECT_FALSE(weak({TwoTwo, Impossible, Other, TwoDef}, 0));
    // Nothing blocked: never weak.
    EXPECT_FALSE(weak({Other, Other, Other, Other}, 1));
    // One closed two is tolerated, two are not.
    EXPECT_TRUE(weak({TwoDef, Impossible, Other, Other}, 0));
    EXPECT_FALSE(weak({TwoDef, TwoDef, Impossible, Other}, 0));
    // The single middle line is allowed only at limit 0.
    EXPECT_FALSE(weak({Two, Impossible, Other, Other}, 1));
}

// x to move. x has a FourThree point at (4,5) (closed three along row 5, two
// in column 4) and a 2xThree point at (12,11).
const std::vector<std::string> fourThreeAndDoubleThree = {
    ". . . . . . . . . . . . .", ". . . . . . . . . . . . .", ". . . . . . . . . . . . .",
    ". . . . . . . . . . . . .", ". . . . . . . . . . . . .", "o x x x . . . . . . . . .",
    ". . . . x . . . . . . . .", ". . . . x . . . . . . . .", ". . . . . . . . . . . . .",
    ". . . . . . . . . . . . x", ". . . . . . . . . . . . x", ". . . . . . . . . . x x .",
};

TEST(CategoryMoves, StrongerOwnCategoryComesFirstWhateverTheArrayOrder) {
    auto board = BuildPosition(fourThreeAndDoubleThree, OnBoard(15, 15, 1));
    ASSERT_EQ(board->ToMoveColour(), 1);
    ASSERT_EQ(board->PointCategoryOf(1, At(4, 5)), FourThree);
    ASSERT_EQ(board->PointCategoryOf(1, At(12, 11)), TwoThree);
    const std::uint8_t categories[] = {TwoThree, FourThree};
    CategoryMoves(*board, categories, 2);
    EXPECT_THAT(CandidateList(*board), ElementsAre(At(4, 5), At(12, 11)));
}

TEST(CategoryMoves, StopsAfterTheCategoryThatReachesThePointLimit) {
    auto board = BuildPosition(fourThreeAndDoubleThree, OnBoard(15, 15, 1));
    board->evalPointCount = 1;
    const std::uint8_t categories[] = {FourThree, TwoThree};
    CategoryMoves(*board, categories, 2);
    EXPECT_THAT(CandidateList(*board), ElementsAre(At(4, 5)));

    // A limit of zero or below adds nothing.
    ClearCandidates(*board);
    board->evalPointCount = 0;
    CategoryMoves(*board, categories, 2);
    EXPECT_EQ(board->candidateCount, 0u);
}

TEST(OpeningMove, EmptyBoardAndFirstStone) {
    auto empty = EmptyBoard(15, 15);
    EXPECT_TRUE(OpeningMove(*empty));
    EXPECT_THAT(CandidateList(*empty), ElementsAre(At(7, 7)));

    auto centre = EmptyBoard(15, 15);
    centre->MakeMove(At(7, 7));
    centre->listFinal = 0;
    EXPECT_TRUE(OpeningMove(*centre));
    EXPECT_THAT(CandidateList(*centre), ElementsAre(At(6, 7)));
    EXPECT_EQ(centre->listFinal, 1);

    auto corner = BuildPosition({"x"}, OnBoard(15, 15));
    EXPECT_TRUE(OpeningMove(*corner));
    EXPECT_THAT(CandidateList(*corner), ElementsAre(At(1, 0)));

    // Closer to the centre in rows than in columns: answered towards it.
    auto low = EmptyBoard(15, 15);
    low->MakeMove(At(6, 13));
    OpeningMove(*low);
    EXPECT_THAT(CandidateList(*low), ElementsAre(At(6, 12)));
}

TEST(OpeningMove, SecondStoneTakesTheLastNeighbourAwayFromTheOpponentLines) {
    auto board = EmptyBoard(15, 15);
    board->MakeMove(At(7, 7));
    board->MakeMove(At(8, 8));
    EXPECT_TRUE(OpeningMove(*board));
    EXPECT_THAT(CandidateList(*board), ElementsAre(At(6, 7)));

    auto far = EmptyBoard(15, 15);
    far->MakeMove(At(7, 7));
    far->MakeMove(At(0, 14));
    OpeningMove(*far);
    EXPECT_THAT(CandidateList(*far), ElementsAre(At(8, 8)));
}

TEST(OpeningMove, SecondStoneWithoutSuitableNeighbourLeavesThePositionQuiet) {
    // Every neighbour of the corner stone lies next to the second stone.
    auto board = EmptyBoard(15, 15);
    board->MakeMove(At(0, 0));
    board->MakeMove(At(1, 1));
    EXPECT_FALSE(OpeningMove(*board));
    EXPECT_EQ(board->candidateCount, 0u);

    // The evaluation then ends like any quiet position, with points to play.
    EXPECT_EQ(EvaluateThreats(*board, EvalFull), SCORE_UNKNOWN);
    EXPECT_EQ(board->listFinal, 0);
    EXPECT_EQ(board->candidateCount, 4u);
    for (const Coord p : CandidateList(*board)) {
        EXPECT_EQ(board->stone[p], EmptyCell);
        EXPECT_TRUE(std::abs(LineDistance(p, At(0, 0))) == 1 || std::abs(LineDistance(p, At(1, 1))) == 1) << p;
    }
}

TEST(OpeningMove, StandsAsideFromTheFourthStoneOn) {
    auto board = BuildPosition({"x o x"}, OnBoard(15, 15));
    EXPECT_FALSE(OpeningMove(*board));
    EXPECT_EQ(board->candidateCount, 0u);
}

TEST(Fillers, NearStonesStopAtTheLimitAndTakeOnlyPointsNextToStones) {
    auto board = BuildPosition({
                                   ". . . . . . .",
                                   ". . . . . . .",
                                   ". . x . . . .",
                                   ". . . o . . .",
                                   ". . . . x . .",
                               },
                               OnBoard(15, 15));
    FillNearStones(*board, 5);
    ASSERT_EQ(board->candidateCount, 5u);
    for (const Coord p : CandidateList(*board)) {
        bool touches = false;
        for (const std::uint16_t* n = Neighbours(p); *n != boardArea; ++n) touches |= board->stone[*n] != 0;
        EXPECT_TRUE(touches) << p;
    }
    FillNearStones(*board, 5);
    EXPECT_EQ(board->candidateCount, 5u);
}

// o to move; x holds two closed threes, each with a FourDevelopThree point
// (the four meets a two), and a ThreeDevelop point pair between them.
const std::vector<std::string> opponentThreats = {
    ". . . . . . . . . . . . . .", ". o x x x . . . . . . . . .", ". . . . . . x . . . . . . .",
    ". . . . . . . . . . . . . .", ". . . . . . . . . . . . . .", ". . . . . . . . . o x x x .",
    ". . . . . . . . . . . . . x",
};

TEST(Fillers, OpponentThreatsTakeTheFirstThreeOfTheStrongLists) {
    auto board = BuildPosition(opponentThreats, OnBoard(15, 15, 2));
    ASSERT_EQ(board->categoryCount[1][FourDevelopThree], 2);
    ASSERT_EQ(board->categoryCount[1][ThreeDevelop], 2);
    FillOpponentThreats(*board);
    const std::vector<Coord> list = CandidateList(*board);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(board->PointCategoryOf(1, list[0]), FourDevelopThree);
    EXPECT_EQ(board->PointCategoryOf(1, list[1]), FourDevelopThree);
    EXPECT_EQ(board->PointCategoryOf(1, list[2]), ThreeDevelop);
    // The plain four points are never taken.
    EXPECT_THAT(list, ::testing::Not(::testing::Contains(At(5, 1))));
}

TEST(Fillers, OpponentThreatsSkipPointsOffTheSearchBorder) {
    auto game = BuildPosition(opponentThreats, OnBoard(15, 15, 2));
    FillOpponentThreats(*game);
    const std::vector<Coord> all = CandidateList(*game);

    auto board = BuildPosition(opponentThreats, OnBoard(15, 15, 2, BoardKind::Search));
    ASSERT_EQ(board->borderState[all[0]], 1);
    board->borderState[all[0]] = 2;
    FillOpponentThreats(*board);
    const std::vector<Coord> list = CandidateList(*board);
    ASSERT_FALSE(list.empty());
    EXPECT_EQ(list[0], all[1]);
    EXPECT_THAT(list, ::testing::Not(::testing::Contains(all[0])));
    for (const Coord p : list) EXPECT_NE(board->borderState[p], 2) << p;
    board->borderState[all[0]] = 1;
}

}  // namespace
}  // namespace zomar
