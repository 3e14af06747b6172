#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

#include "analysis/ForbiddenPoint.h"
#include "analysis/RenjuRestriction.h"
#include "search/EngineSession.h"

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

    // Black's and white's stones alternately, black first; the engine plays the
    // colour that is to move afterwards.
    void SetUpGame(const std::vector<XY>& black, const std::vector<XY>& white) {
        const bool engineIsBlack = black.size() == white.size();
        for (std::size_t i = 0; i < black.size(); ++i) {
            engine->PlayMove(CoordFromXY(black[i].first, black[i].second), !engineIsBlack);
            if (i < white.size()) engine->PlayMove(CoordFromXY(white[i].first, white[i].second), engineIsBlack);
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

// Dense random positions with black to move: the answer is never a point black
// may not play, whatever the search thought of it.
TEST_F(RenjuSearchTest, BlackNeverAnswersAForbiddenPoint) {
    std::mt19937 random(15);
    engine->limits.maxDepth = 2;
    for (int position = 0; position < 40; ++position) {
        engine->NewBoard();
        std::vector<XY> black;
        std::vector<XY> white;
        std::vector<bool> taken(15 * 15, false);
        while (black.size() < 12) {
            const XY p {4 + random() % 7, 4 + random() % 7};
            if (taken[p.first + 15 * p.second]) continue;
            taken[p.first + 15 * p.second] = true;
            (random() % 3 == 0 || white.size() >= black.size() ? black : white).push_back(p);
        }
        while (white.size() < black.size()) {
            const XY p {random() % 15, random() % 15};
            if (!taken[p.first + 15 * p.second]) taken[p.first + 15 * p.second] = true, white.push_back(p);
        }
        SetUpGame(black, white);
        const SearchResult result = engine->ThinkMove();
        ASSERT_LT(result.move, boardArea);
        EXPECT_FALSE(IsForbiddenPoint(*engine->gameBoard, result.move, renjuBlack)) << position;
    }
}

}  // namespace
}  // namespace zomar
