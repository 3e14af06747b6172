// The largest board: lists of thousands of points must pass through the
// gathering, counter-four and border buffers whole.

#include <gtest/gtest.h>

#include <vector>

#include "analysis/Candidates.h"
#include "analysis/CategoryWalk.h"
#include "analysis/MoveGeneration.h"
#include "analysis/Score.h"
#include "analysis/ThreatEvaluation.h"
#include "board/Geometry.h"
#include "support/PositionBuilder.h"

namespace zomar {
namespace {

using test::BuildPosition;
using test::OnBoard;

constexpr std::uint32_t Side = MaxBoardSide;

// Every third row holds "o x x x . ." groups: thousands of x's four points.
std::vector<std::string> ClosedThrees(bool openThreeOfO) {
    std::vector<std::string> rows(Side, std::string(Side, '.'));
    for (std::uint32_t y = 1; y < Side; y += 3) {
        for (std::uint32_t x = 0; x + 5 < Side; x += 6) {
            rows[y][x] = 'o';
            rows[y][x + 1] = rows[y][x + 2] = rows[y][x + 3] = 'x';
        }
    }
    if (openThreeOfO) rows[0][60] = rows[0][61] = rows[0][62] = 'o';
    return rows;
}

void ExpectSoundList(const ListBoard& board) {
    std::vector<bool> seen(boardArea, false);
    for (std::uint32_t i = 0; i < board.candidateCount; ++i) {
        const Coord p = board.candidateList[i];
        ASSERT_LT(p, boardArea);
        ASSERT_EQ(board.stone[p], EmptyCell);
        ASSERT_FALSE(seen[p]);
        seen[p] = true;
    }
}

TEST(LargeBoard, ThousandsOfPointsPassThroughEveryBuffer) {
    // A quiet position: category gathering takes every own point of the
    // listed categories.
    auto quiet = BuildPosition(ClosedThrees(false), OnBoard(Side, Side, 1));
    ASSERT_EQ(quiet->evalPointCount, static_cast<std::int32_t>(boardArea));
    EXPECT_EQ(EvaluateThreats(*quiet, EvalFull), SCORE_UNKNOWN);
    EXPECT_GT(quiet->candidateCount, 2000u);
    ExpectSoundList(*quiet);
    quiet->evalPointCount = 5;
    EvaluateThreats(*quiet, EvalFull);
    EXPECT_LT(quiet->candidateCount, 20u);
    quiet.reset();

    // o's open three: the two common blocks, then every x four as a counter.
    auto threatened = BuildPosition(ClosedThrees(true), OnBoard(Side, Side, 1));
    EXPECT_EQ(EvaluateThreats(*threatened, EvalFull), SCORE_UNKNOWN);
    EXPECT_GT(threatened->counterFourCount, 400);
    EXPECT_EQ(threatened->candidateCount, 2u + static_cast<std::uint32_t>(threatened->counterFourCount));
    EXPECT_EQ(threatened->candidateMark[threatened->candidateList[2]], MarkUnweightedCounterFour);
    ExpectSoundList(*threatened);
    threatened.reset();

    // Isolated stones six apart: a border of thousands, nothing else to play.
    std::vector<std::string> rows(Side, std::string(Side, '.'));
    for (std::uint32_t y = 3; y < Side; y += 6) {
        for (std::uint32_t x = 3; x < Side; x += 6) rows[y][x] = 'o';
    }
    auto sparse = BuildPosition(rows, OnBoard(Side, Side, 1, BoardKind::Search));
    ASSERT_GT(sparse->borderCount, 2000u);
    EXPECT_EQ(GenerateSearchMoves(*sparse, EvalFull), SCORE_UNKNOWN);
    ASSERT_EQ(sparse->candidateCount, 3u);
    for (std::uint32_t i = 0; i < 3; ++i) {
        EXPECT_EQ(sparse->candidateMark[sparse->candidateList[i]], MarkExtension);
        EXPECT_EQ(sparse->borderState[sparse->candidateList[i]], 1);
    }
}

}  // namespace
}  // namespace zomar
