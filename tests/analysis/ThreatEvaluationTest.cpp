#include "analysis/ThreatEvaluation.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>

#include "analysis/Candidates.h"
#include "analysis/Score.h"
#include "board/Geometry.h"
#include "support/AnalysisFixture.h"

namespace zomar {
namespace {

using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;

std::unique_ptr<ListBoard> Position(const std::vector<std::string>& diagram, int toMove) {
    return BuildPosition(diagram, OnBoard(15, 15, toMove));
}

bool FlagOfThisPly(const ListBoard& board) { return PlyThreatFlagSet(board, board.moveCount); }

TEST(EvaluateThreats, OwnFiveBeatsTheOpponentsFive) {
    auto board = Position({
                              ". x x x x . .",
                              ". o o o o . .",
                          },
                          1);
    EXPECT_EQ(EvaluateThreats(*board, EvalFull), SCORE_WIN);
    EXPECT_THAT(CandidateList(*board), ElementsAre(At(0, 0)));
    EXPECT_EQ(board->listFinal, 1);
}

TEST(EvaluateThreats, TwoOpponentFivesAreLost) {
    auto board = Position({
                              ". x x x . . . .",
                              ". o o o o . . .",
                              ". . . . . . . .",
                              ". . . . . . . x",
                          },
                          1);
    EXPECT_EQ(EvaluateThreats(*board, EvalFull), SCORE_LOSS);
    EXPECT_THAT(CandidateList(*board), ElementsAre(At(0, 1)));
}

// o's closed four on row 5 has its one five point at (5,5); column 5 decides
// what blocking it gives x.
const std::vector<std::string> blockIntoStraightFour = {
    ". . . . . . .", ". . . . . . .", ". . . . . x .", ". . . . . x .", ". . . . . x .", "x o o o o . .",
};
const std::vector<std::string> blockIntoFour = {
    ". . . . . . .", ". . . . . o .", ". . . . . x .", ". . . . . x .", ". . . . . x .", "x o o o o . .",
    ". . . . . . .", ". . . . . . . . . . . . . . x",
};
const std::vector<std::string> blockIntoNothing = {
    ". . . . . . .", ". . . . . . .", ". . . . . . .", ". . . . . . .", ". . . . . . .", "x o o o o . .",
    ". . . . . . . . . . . x . . .", ". . . . . . . . . . . . . . x",
};

TEST(EvaluateThreats, BlockingTheOpponentsFiveIsJudgedByWhatTheBlockMakes) {
    auto straight = Position(blockIntoStraightFour, 1);
    EXPECT_EQ(EvaluateThreats(*straight, EvalFull), SCORE_WIN);
    EXPECT_THAT(CandidateList(*straight), ElementsAre(At(5, 5)));

    auto four = Position(blockIntoFour, 1);
    EXPECT_EQ(EvaluateThreats(*four, EvalFull), SCORE_UNKNOWN);
    EXPECT_EQ(EvaluateThreats(*four, EvalAttacker), SCORE_UNKNOWN);
    EXPECT_THAT(CandidateList(*four), ElementsAre(At(5, 5)));

    auto nothing = Position(blockIntoNothing, 1);
    EXPECT_EQ(EvaluateThreats(*nothing, EvalAttacker), SCORE_LOSS);
    EXPECT_EQ(EvaluateThreats(*nothing, EvalFull), SCORE_UNKNOWN);
    EXPECT_EQ(EvaluateThreats(*nothing, EvalDefender), SCORE_UNKNOWN);
    EXPECT_THAT(CandidateList(*nothing), ElementsAre(At(5, 5)));
    EXPECT_EQ(nothing->listFinal, 1);
}

TEST(EvaluateThreats, DefenderModeOnlyLooksForFives) {
    // x to move faces an open three, not a five: the attack has failed.
    auto board = Position({
                              ". . . . . . .",
                              ". o o o . . .",
                              ". . . . . . .",
                              ". . . . . . . . . . . . . x x",
                          },
                          1);
    EXPECT_EQ(EvaluateThreats(*board, EvalDefender), SCORE_WIN);
    EXPECT_EQ(board->candidateCount, 0u);
}

// x has a FourThree at (4,5): a closed three along row 5, a two in column 4.
const std::vector<std::string> ownFourThree = {
    ". . . . . . .", ". . . . . . .", ". . . . . . .", ". . . . . . .",
    ". . . . . . .", "o x x x . . .", ". . . . x . .", ". . . . x . .",
};

TEST(EvaluateThreats, OwnFourThreeWinsWhenTheOpponentHasNoFour) {
    auto board = Position(ownFourThree, 1);
    EXPECT_EQ(EvaluateThreats(*board, EvalFull), SCORE_WIN);
    EXPECT_THAT(CandidateList(*board), ElementsAre(At(4, 5)));
}

TEST(EvaluateThreats, OwnFourThreeWinsWhenBlockingItsFourGivesTheOpponentNoFour) {
    std::vector<std::string> rows = ownFourThree;
    rows.insert(rows.end(), {". . . . . . .", ". . . . . . .", ". . . . . . .", ". . . . . . .", ". . . x o o o"});
    auto board = Position(rows, 1);
    ASSERT_GT(board->categoryCount[2][Four], 0);
    EXPECT_EQ(EvaluateThreats(*board, EvalFull), SCORE_WIN);
    EXPECT_THAT(CandidateList(*board), ElementsAre(At(4, 5)));
}

TEST(EvaluateThreats, OwnFourThreeFailsWhenTheBlockMakesTheOpponentsFour) {
    // o's closed three in column 5 turns the block at (5,5) into a four.
    std::vector<std::string> rows = ownFourThree;
    rows[6] = ". . . . x o .";
    rows[7] = ". . . . x o .";
    rows.insert(rows.end(), {". . . . . o .", ". . . . . x ."});
    auto board = Position(rows, 1);
    ASSERT_EQ(board->PointCategoryOf(2, At(5, 5)), Four);
    EXPECT_EQ(EvaluateThreats(*board, EvalFull), SCORE_UNKNOWN);
    // The opponent's defences of the tried point stay in front of the list.
    const std::vector<Coord> list = CandidateList(*board);
    ASSERT_GE(list.size(), 2u);
    EXPECT_EQ(list[0], At(4, 5));
    EXPECT_EQ(list[1], At(5, 5));
}

TEST(EvaluateThreats, OpponentFourThreeIsAnsweredByItsDefencesAndLineSupport) {
    auto board = Position(ownFourThree, 2);
    EXPECT_EQ(EvaluateThreats(*board, EvalFull), SCORE_UNKNOWN);
    const std::vector<Coord> list = CandidateList(*board);
    ASSERT_GE(list.size(), 3u);
    EXPECT_EQ(list[0], At(4, 5));
    EXPECT_EQ(list[1], At(5, 5));
    EXPECT_EQ(board->listFinal, 1);
}

TEST(EvaluateThreats, AttackerModeListsOnlyDecisiveOwnPoints) {
    auto board = Position(ownFourThree, 2);
    // o has no point of categories 0 to 5: the attack has nothing.
    EXPECT_EQ(EvaluateThreats(*board, EvalAttacker), SCORE_LOSS);
    EXPECT_EQ(board->candidateCount, 0u);
}

TEST(EvaluateThreats, OpponentStraightFourPointIsAnsweredByItsDefences) {
    auto board = Position(
        {
            ". . . . . . . . .",
            ". . . . . . . . .",
            ". . . . . . . . .",
            ". . . o o o . x .",
            ". . . . . . . . .",
            ". . . . . . . . x",
        },
        1);
    ASSERT_EQ(board->categoryCount[2][StraightFour], 1);
    EXPECT_EQ(EvaluateThreats(*board, EvalFull), SCORE_UNKNOWN);
    EXPECT_THAT(CandidateList(*board), ElementsAre(At(2, 3), At(1, 3), At(6, 3)));
    EXPECT_FALSE(FlagOfThisPly(*board));
}

TEST(EvaluateThreats, OpponentDoubleStraightFourIsLost) {
    // o's threes cross at (7,7): two straight fours at once, and two more points.
    auto board = Position(
        {
            ". . . . . . . .", ". . . . . . . .", ". . . . . . . .", ". . . . . . . .",
            ". . . . . . . o", ". . . . . . . o", ". . . . . . . o", ". . . . o o o .",
        },
        1);
    ASSERT_EQ(board->categoryCount[2][TwoStraightFour] + board->categoryCount[2][StraightFourFour] +
                  board->categoryCount[2][StraightFour],
              3);
    EXPECT_EQ(EvaluateThreats(*board, EvalFull), SCORE_LOSS);
    EXPECT_THAT(CandidateList(*board), ElementsAre(At(7, 7)));
}

// o's open three on row 2; x may have a closed three on row 8 as counter-fours,
// and o a second open three on row 10.
std::vector<std::string> ThreesAndCounterFours(bool secondThree, bool counterFours) {
    std::vector<std::string> rows(15, ". . . . . . . . . . . . . . .");
    rows[2] = ". . . o o o . . . . . . . . .";
    if (counterFours) rows[8] = ". . . . . . . o x x x . . . .";
    if (secondThree) rows[10] = ". . . o o o . . . . . . . . .";
    rows[14] = "x . . . . . . . . . . . . . x";
    return rows;
}

TEST(EvaluateThreats, OpenThreeWithCounterFoursListsBlocksThenFours) {
    auto board = Position(ThreesAndCounterFours(false, true), 1);
    EXPECT_EQ(EvaluateThreats(*board, EvalFull), SCORE_UNKNOWN);
    EXPECT_THAT(CandidateList(*board), ElementsAre(At(2, 2), At(6, 2), At(12, 8), At(11, 8)));
    // Counter-fours without weight carry their own mark.
    EXPECT_EQ(board->candidateMark[At(11, 8)], MarkUnweightedCounterFour);
    EXPECT_EQ(board->candidateMark[At(2, 2)] & 0x1F, MarkListed);
    EXPECT_EQ(board->counterFourCount, 2);
    EXPECT_EQ(board->evalFlags, 0u);
}

TEST(EvaluateThreats, TwoOpenThreesWithoutCommonBlockAreLostAndFlagThePly) {
    for (const bool counterFours : {false, true}) {
        auto board = Position(ThreesAndCounterFours(true, counterFours), 1);
        EXPECT_EQ(EvaluateThreats(*board, EvalFull), SCORE_LOSS) << counterFours;
        EXPECT_EQ(board->candidateCount, 1u);
        EXPECT_EQ(board->PointCategoryOf(2, board->candidateList[0]), StraightFour);
        EXPECT_EQ(board->evalFlags & NoAnswerToStraightFour, NoAnswerToStraightFour);
        EXPECT_TRUE(FlagOfThisPly(*board));
    }
}

TEST(EvaluateThreats, FoundDefenceClearsThePlyFlag) {
    auto board = Position(ThreesAndCounterFours(false, false), 1);
    board->candidateMark[board->moveCount] |= PlyThreatFlag;
    EXPECT_EQ(EvaluateThreats(*board, EvalFull), SCORE_UNKNOWN);
    EXPECT_THAT(CandidateList(*board), ElementsAre(At(2, 2), At(6, 2)));
    EXPECT_FALSE(FlagOfThisPly(*board));
}

TEST(EvaluateThreats, OwnDoubleThreeWinsAgainstNoFours) {
    auto board = Position(
        {
            ". . . . . . . .", ". . . . . . . .", ". . . . . . . .", ". . . . . . . .",
            ". . . . . . . .", ". . . . . . . x", ". . . . . . . x", ". . . . . x x .",
        },
        1);
    ASSERT_EQ(board->categoryCount[1][TwoThree], 1);
    EXPECT_EQ(EvaluateThreats(*board, EvalFull), SCORE_WIN);
    EXPECT_THAT(CandidateList(*board), ElementsAre(At(7, 7)));
}

TEST(EvaluateThreats, TwoOpponentDoubleThreesOnALineAddTheGapAndEndTheList) {
    // x's double-three points (7,7) and (11,7) share row 7.
    auto board = Position(
        {
            ". . . . . . . . . . . . . .",
            ". . . . . . . . . . . . . .",
            ". . . . . . . . . . . . . .",
            ". . . . . . . . . . . . . .",
            ". . . . . . . . . . . . . .",
            ". . . . . . . x . . . . . .",
            ". . . . . . . x . . . . . .",
            ". . . . . x x . . . . . x x",
            ". . . . . . . . . . . x . .",
            ". . . . . . . . . . . x . .",
        },
        2);
    ASSERT_EQ(board->categoryCount[1][TwoThree], 2);
    EXPECT_EQ(EvaluateThreats(*board, EvalFull), SCORE_UNKNOWN);
    EXPECT_THAT(CandidateList(*board), ElementsAre(At(7, 7), At(11, 7), At(8, 7), At(9, 7), At(10, 7)));
    EXPECT_EQ(board->evalFlags, OpponentDoubleThrees);
    EXPECT_EQ(board->listFinal, 1);
}

TEST(EvaluateThreats, QuietPositionIsToppedUpWithPointsNextToStones) {
    auto board = Position(
        {
            ". . . . . . . . .",
            ". . . . . . . . .",
            ". . . . . . . . .",
            ". . . . . . . . .",
            ". . . . . . . . .",
            ". . . . . . . . .",
            ". . . . . . . x .",
            ". . . . . . . o x",
        },
        2);
    EXPECT_EQ(EvaluateThreats(*board, EvalFull), SCORE_UNKNOWN);
    EXPECT_EQ(board->listFinal, 0);
    ASSERT_EQ(board->candidateCount, 4u);
    for (const Coord p : CandidateList(*board)) EXPECT_EQ(board->PointCategoryOf(2, p), Two);

    // Without the neighbour rule the quiet list stays as the categories left it.
    board->neighbourCandidates = 0;
    EXPECT_EQ(EvaluateThreats(*board, EvalFull), SCORE_UNKNOWN);
    EXPECT_EQ(board->candidateCount, 0u);
}

TEST(EvaluateThreats, EmptyBoardAnswersTheCentre) {
    auto board = EmptyBoard(15, 15);
    EXPECT_EQ(EvaluateThreats(*board, EvalFull), SCORE_UNKNOWN);
    EXPECT_THAT(CandidateList(*board), ElementsAre(At(7, 7)));
    EXPECT_EQ(board->listFinal, 1);
}

TEST(EvaluateThreats, UnsupportedModesRaiseAfterClearingTheList) {
    auto board = EmptyBoard(15, 15);
    const auto message = [&](int mode) {
        AddCandidate(*board, At(3, 3));
        board->evalFlags = 3;
        try {
            EvaluateThreats(*board, mode);
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(board->candidateCount, 0u);
            EXPECT_EQ(board->evalFlags, 0u);
            return std::string(e.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(message(3), "mGoodPosition not supported");
    EXPECT_EQ(message(4), "Not implemented.");
    EXPECT_EQ(message(-3), "Not implemented.");
    EXPECT_EQ(message(2), "Not implemented.");
    EXPECT_EQ(message(-2), "Not implemented.");
}

// Under caro o's four on row 1 is also stopped beyond its five, at (6,1),
// where x's stone would end it on both sides; two such fours that share no
// block are lost.
TEST(EvaluateThreats, CaroFourIsStoppedAtItsFivePointOrBeyondIt) {
    test::PositionOptions options = OnBoard(15, 15, 1);
    options.rule = 9;
    auto board = BuildPosition({". . . . . . .", "x o o o o . .", ". . . . . . .", ". x x . . . ."}, options);
    EXPECT_EQ(EvaluateThreats(*board, EvalFull), SCORE_UNKNOWN);
    EXPECT_THAT(CandidateList(*board), UnorderedElementsAre(At(5, 1), At(6, 1)));
    board = BuildPosition({". . . . . . .", "x o o o o . .", "x o o o o . .", ". x x x . . ."}, options);
    EXPECT_EQ(EvaluateThreats(*board, EvalFull), SCORE_LOSS);
    test::UseTables(15, 15);
}

}  // namespace
}  // namespace zomar
