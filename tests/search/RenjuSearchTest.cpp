#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

#include "analysis/ForbiddenPoint.h"
#include "analysis/RenjuRestriction.h"
#include "support/EngineSession.h"

namespace zomar {
namespace {

using XY = std::pair<std::uint32_t, std::uint32_t>;

// An engine playing renju on 15 x 15.
class RenjuSearchTest : public EngineSession {
protected:
    void SetUp() override {
        EngineSession::SetUp();
        test::UseTables(15, 15, 4);
        engine->NewBoard();
    }

    // Black's and white's stones alternately, black first; the engine is white.
    void SetUpGame(const std::vector<XY>& black, const std::vector<XY>& white) {
        for (std::size_t i = 0; i < black.size(); ++i) {
            engine->PlayMove(CoordFromXY(black[i].first, black[i].second), true);
            if (i < white.size()) engine->PlayMove(CoordFromXY(white[i].first, white[i].second), false);
        }
    }
};

// White's only win is the four whose five point black may not take: a double
// three, then an overline.
TEST_F(RenjuSearchTest, WhiteWinsWithAFourBlackCannotBlock) {
    SetUpGame({{7, 5}, {7, 6}, {5, 7}, {6, 7}, {6, 6}, {12, 12}}, {{8, 8}, {9, 9}, {10, 10}, {0, 0}, {14, 0}});
    SearchResult result = engine->ThinkMove();
    EXPECT_EQ(result.move, CoordFromXY(11, 11));
    EXPECT_EQ(StatusOf(result), SCORE_WIN);

    engine->NewBoard();
    SetUpGame({{2, 7}, {3, 7}, {5, 7}, {6, 7}, {7, 7}, {8, 11}}, {{5, 8}, {6, 9}, {7, 10}, {0, 0}, {14, 0}});
    result = engine->ThinkMove();
    EXPECT_EQ(result.move, CoordFromXY(3, 6));
    EXPECT_EQ(StatusOf(result), SCORE_WIN);
}

// Black to move: white's four on (5, 5) would leave only (3, 3), a double three,
// to block; the engine as black takes (5, 5) first.
TEST_F(RenjuSearchTest, BlackPreventsAFourItCouldNotBlock) {
    SetUpGame({{3, 2}, {1, 3}, {2, 3}, {3, 4}, {8, 8}}, {{4, 4}, {6, 6}, {7, 7}, {12, 0}, {0, 14}});
    engine->limits.maxDepth = 4;
    EXPECT_EQ(engine->ThinkMove().move, CoordFromXY(5, 5));
}

// Random positions with black to move and strong: the answer is never a point
// black may not play, whatever the search thought of it.
TEST_F(RenjuSearchTest, BlackNeverAnswersAForbiddenPoint) {
    std::mt19937 random(15);
    engine->limits.maxDepth = 2;
    for (int position = 0; position < 40; ++position) {
        engine->NewBoard();
        // Black crowds the centre, white keeps to the edge rows.
        for (int stones = 0; stones < 16;) {
            const bool black = stones % 2 == 0;
            const Coord p = black ? CoordFromXY(4 + random() % 7, 4 + random() % 7)
                                  : CoordFromXY(random() % 15, 14 * (random() % 2));
            if (engine->gameBoard->stone[p] != EmptyCell) continue;
            engine->PlayMove(p, black);
            ++stones;
        }
        const SearchResult result = engine->ThinkMove();
        ASSERT_LT(result.move, boardArea);
        EXPECT_FALSE(IsForbiddenPoint(*engine->gameBoard, result.move, Colour1)) << position;
    }
}

}  // namespace
}  // namespace zomar
