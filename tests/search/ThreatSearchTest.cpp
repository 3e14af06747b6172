#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "analysis/MoveGeneration.h"
#include "analysis/Score.h"
#include "board/Geometry.h"
#include "search/TreeSearch.h"
#include "support/AnalysisFixture.h"

namespace zomar {
namespace {

// One attack that wins nothing: the four on (4, 2) is blocked on (5, 2) and
// leaves only a closed three in the column.
const std::vector<std::string> LoneAttack = {
    ". . . . . .",
    ". . . . . .",
    "o x x x . .",
    ". . . . x .",
    ". . . . x .",
    ". . . . o .",
};

// count copies of LoneAttack, far enough apart not to touch, on a side x side board.
std::unique_ptr<ListBoard> IndependentAttacks(std::uint32_t count, std::uint32_t side) {
    constexpr std::uint32_t pitch = 7;
    std::vector<std::string> rows(side, std::string(side, '.'));
    for (std::uint32_t k = 0; k < count; ++k) {
        const std::uint32_t left = (k % (side / pitch)) * pitch;
        const std::uint32_t top = (k / (side / pitch)) * pitch;
        for (std::uint32_t y = 0; y < LoneAttack.size(); ++y) {
            std::uint32_t x = 0;
            for (const char cell : LoneAttack[y]) {
                if (cell == ' ') continue;
                rows[top + y][left + x++] = cell;
            }
        }
    }
    return BuildPosition(rows, OnBoard(side, side, Colour1, BoardKind::Search));
}

// Attack sequences tried when each level tries every attack once and never
// one that stands before the previous attack: the subsets of up to five.
std::uint32_t SubsetsUpToFive(std::uint32_t n) {
    std::uint32_t total = 0;
    std::uint32_t binomial = 1;
    for (std::uint32_t k = 1; k <= 5 && k <= n; ++k) {
        binomial = binomial * (n - k + 1) / k;
        total += binomial;
    }
    return total;
}

class ThreatSearchTest : public ::testing::Test {
protected:
    struct Outcome {
        std::int32_t value;
        Coord move;
        std::uint32_t stonesPlaced;
        std::uint32_t pliesReached;
    };

    Outcome Search(ListBoard& board, std::int32_t floor = -9, std::int32_t bound = SCORE_WIN,
                   Coord startMove = PassCoord) {
        const std::uint64_t hash = board.hashKey;
        const std::uint32_t stones = board.moveCount;
        const std::uint32_t before = madeMoveCount;
        counters.maxPlyReached = 0;
        Outcome outcome{0, startMove, 0, 0};
        outcome.value = search.ThreatSearch(board, 0, floor, outcome.move, bound, nullptr, clock);
        outcome.stonesPlaced = madeMoveCount - before;
        outcome.pliesReached = counters.maxPlyReached - board.moveCount;
        EXPECT_EQ(board.hashKey, hash);
        EXPECT_EQ(board.moveCount, stones);
        return outcome;
    }

    void SetUp() override { clock.SetDeadline(60000); }

    TranspositionTable table{1024};
    MsTimer clock;
    SearchCounters counters;
    std::ostringstream out;
    TreeSearch search{table, counters, LinesTo(out)};
};

TEST_F(ThreatSearchTest, ResultsTheAttackerEvaluationProvesComeBackWithoutSearching) {
    // An open three: the straight four on (3, 7) or (7, 7) wins.
    auto board = BuildPosition({
        ". . . . . . . . . .",
        ". . . . . . . . . .",
        ". . . . . . . . . .",
        ". . . . . . . o . .",
        ". . . . . . . . . .",
        ". . . . . . o . . .",
        ". . . . . . . . . .",
        ". . . . x x x . . .",
        ". . . . . . . . . .",
        ". . . . . . . . . .",
    }, OnBoard(15, 15, Colour1, BoardKind::Search));
    const Outcome outcome = Search(*board);
    EXPECT_EQ(outcome.value, SCORE_WIN);
    EXPECT_TRUE(outcome.move == At(3, 7) || outcome.move == At(7, 7)) << outcome.move;
    EXPECT_EQ(outcome.stonesPlaced, 0u);
}

TEST_F(ThreatSearchTest, QuietPositionsGiveTheStaticScoreAndKeepTheCallersMove) {
    auto board = BuildPosition({
        ". . . . .",
        ". . x . .",
        ". . o x .",
        ". . . o .",
        ". . . . .",
    }, OnBoard(15, 15, Colour1, BoardKind::Search));
    const std::int32_t quiet = StaticScore(*board);
    const Outcome outcome = Search(*board, -9, SCORE_WIN, At(9, 9));
    EXPECT_EQ(outcome.value, quiet);
    EXPECT_EQ(outcome.move, At(9, 9));
    EXPECT_EQ(outcome.stonesPlaced, 0u);
}

TEST_F(ThreatSearchTest, ContinuousFoursFindTheWinAndStopAtTheWinningAttack) {
    auto board = BuildPosition(test::TwoAttackWin, OnBoard(15, 15, Colour1, BoardKind::Search));
    ASSERT_EQ(GenerateSearchMoves(*board, 0), SCORE_UNKNOWN) << "the win must need the search";
    const Outcome outcome = Search(*board);
    EXPECT_EQ(outcome.value, SCORE_WIN);
    EXPECT_EQ(outcome.move, At(6, 7));
    // The four and its block; the next level proves the win from its counts.
    EXPECT_EQ(outcome.stonesPlaced, 2u);
}

TEST_F(ThreatSearchTest, AFailedAttackLeavesAtLeastTheStaticScore) {
    auto board = IndependentAttacks(1, 15);
    const std::int32_t quiet = StaticScore(*board);
    const Outcome outcome = Search(*board);
    EXPECT_GE(outcome.value, quiet);
    EXPECT_LT(outcome.value, SCORE_WIN);
    EXPECT_EQ(outcome.move, At(4, 2));
}

TEST_F(ThreatSearchTest, AtMostFiveAttacksFollowOneAnother) {
    auto board = IndependentAttacks(6, 20);
    // Five attacks and five blocks; the sixth level only scores.
    EXPECT_EQ(Search(*board).pliesReached, 10u);
    // The limit comes from the floor: two more levels allow the sixth attack.
    EXPECT_EQ(Search(*board, -11).pliesReached, 12u);
}

TEST_F(ThreatSearchTest, EachSetOfAttacksIsTriedInOneOrderOnly) {
    for (const std::uint32_t attacks : {3u, 6u}) {
        auto board = IndependentAttacks(attacks, 20);
        // Every attack and its block, once per subset.
        EXPECT_EQ(Search(*board).stonesPlaced, 2 * SubsetsUpToFive(attacks)) << attacks << " attacks";
    }
}

// Past the hard deadline no attack is tried: the position only scores.
TEST_F(ThreatSearchTest, APassedDeadlineStopsTheSearch) {
    auto board = IndependentAttacks(6, 20);
    clock.SetDeadline(-1);
    const Outcome outcome = Search(*board);
    EXPECT_EQ(outcome.stonesPlaced, 0u);
    EXPECT_EQ(outcome.value, StaticScore(*board));
}

TEST_F(ThreatSearchTest, AnAttackScoringAboveTheBoundEndsTheLevel) {
    auto board = IndependentAttacks(3, 20);
    // Each level stops after its first attack: one line of three attacks.
    const Outcome outcome = Search(*board, -9, SCORE_LOSS);
    EXPECT_EQ(outcome.stonesPlaced, 6u);
    EXPECT_GT(outcome.value, SCORE_LOSS);
}

TEST_F(ThreatSearchTest, MoreAttacksThanTheListHoldsAreSearchedSafely) {
    // 49 attacks: more than a level tries, and more than its list can hand down.
    auto board = IndependentAttacks(49, 49);
    ASSERT_GT(board->categoryCount[Colour1][FourDevelopFour], 40);
    const Outcome outcome = Search(*board, -9, SCORE_LOSS);
    EXPECT_EQ(outcome.stonesPlaced, 10u);
    EXPECT_EQ(outcome.pliesReached, 10u);
}

}  // namespace
}  // namespace zomar
