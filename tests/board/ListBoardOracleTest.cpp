#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <utility>
#include <vector>

#include "BoardOracle.h"
#include "analysis/PatternTables.h"
#include "board/Geometry.h"
#include "support/PositionBuilder.h"
#include "board/ListBoard.h"

// Seeded random games on many board shapes under both rules: stones placed
// mostly near others and in split shapes, last stones taken back, passes, and
// excursions of plain MakeMove on the search board. After every step the board
// must equal a recomputation from scratch.

namespace zomar {
namespace {

using oracle::ExpectedBoard;
using oracle::Stone;

class RandomGame {
public:
    RandomGame(std::uint32_t seed, int steps) : rng(seed), steps(steps) {}

    void Play() {
        board = std::make_unique<ListBoard>(BoardKind::Search);
        expected = oracle::Recompute(stones);
        for (int step = 0; step < steps && !HasFailure(); ++step) {
            const std::uint32_t roll = Draw(100);
            if (stones.empty() || (roll < 60 && stones.size() < boardArea)) {
                Place(ChoosePoint());
            } else if (roll < 88) {
                LiftLast();
            } else if (roll < 93) {
                Pass();
            } else if (roll < 97) {
                Excursion();
            } else {
                SplitShapes();
            }
        }
    }

    int corrections = 0;

private:
    std::uint32_t Draw(std::uint32_t bound) { return static_cast<std::uint32_t>(rng() % bound); }

    bool IsEmpty(int x, int y) const {
        return x >= 0 && y >= 0 && x < static_cast<int>(boardWidth) && y < static_cast<int>(boardHeight) &&
               board->stone[x + y * boardWidth] == EmptyCell;
    }

    // Near a stone, two steps from an own stone along a line (building the
    // split shapes), or anywhere.
    Coord ChoosePoint() {
        static constexpr int lineX[8] = {1, 1, 0, -1, -1, -1, 0, 1};
        static constexpr int lineY[8] = {0, 1, 1, 1, 0, -1, -1, -1};
        for (int attempt = 0; attempt < 8 && !stones.empty(); ++attempt) {
            const Stone& from = stones[Draw(static_cast<std::uint32_t>(stones.size()))];
            const int x = from.point % boardWidth, y = from.point / boardWidth;
            int tx, ty;
            if (Draw(2) == 0) {
                if (from.colour != board->ToMoveColour()) continue;
                const std::uint32_t line = Draw(8);
                tx = x + 2 * lineX[line];
                ty = y + 2 * lineY[line];
            } else {
                tx = x + static_cast<int>(Draw(5)) - 2;
                ty = y + static_cast<int>(Draw(5)) - 2;
            }
            if (IsEmpty(tx, ty)) return static_cast<Coord>(tx + ty * boardWidth);
        }
        std::uint32_t p;
        do {
            p = Draw(boardArea);
        } while (board->stone[p] != EmptyCell);
        return static_cast<Coord>(p);
    }

    void Place(Coord p) {
        const StoneCode colour = static_cast<StoneCode>(board->ToMoveColour());
        const std::uint32_t made = madeMoveCount;
        frozen.push_back(oracle::FrozenAt(expected, p));
        ASSERT_TRUE(board->MakeSearchMove(p));
        EXPECT_EQ(madeMoveCount, made + 1);
        stones.push_back({p, colour});
        Check();
    }

    void LiftLast() {
        const Coord p = stones.back().point;
        ASSERT_FALSE(board->MakeSearchMove(p));
        stones.pop_back();
        frozen.pop_back();
        Check();
    }

    void Pass() {
        const std::uint64_t hash = board->hashKey;
        const std::uint8_t side = board->sideToMove;
        ASSERT_FALSE(Draw(2) ? board->MakeSearchMove(PassCoord) : board->MakeMove(PassCoord));
        EXPECT_NE(board->sideToMove, side);
        EXPECT_EQ(board->hashKey, hash);
        Check();
    }

    // Own stones two, four and six steps from a point, on one or both sides,
    // passing where the other side would move.
    void SplitShapes() {
        static constexpr int lineX[DirectionCount] = {1, 0, 1, -1};
        static constexpr int lineY[DirectionCount] = {0, 1, 1, 1};
        if (stones.size() == boardArea) return;
        int offsets[6] = {-6, -4, -2, 2, 4, 6};
        for (int i = 5; i > 0; --i) std::swap(offsets[i], offsets[Draw(i + 1)]);
        const Coord centre = ChoosePoint();
        const int x = centre % boardWidth, y = centre / boardWidth;
        const int d = static_cast<int>(Draw(DirectionCount));
        const int colour = board->ToMoveColour();
        for (int k : offsets) {
            const int tx = x + k * lineX[d], ty = y + k * lineY[d];
            if (!IsEmpty(tx, ty) || HasFailure()) continue;
            if (board->ToMoveColour() != colour) Pass();
            Place(static_cast<Coord>(tx + ty * boardWidth));
        }
    }

    static bool HasFailure() { return ::testing::Test::HasFailure(); }

    // Moves as the threat search makes them: MakeMove alone, the border left
    // describing the position before; exact again once all are taken back.
    void Excursion() {
        const ExpectedBoard before = expected;
        const std::size_t depth = 1 + Draw(4);
        std::vector<Stone> line = stones;
        for (std::size_t i = 0; i < depth && line.size() < boardArea; ++i) {
            const Coord p = ChoosePoint();
            line.push_back({p, static_cast<StoneCode>(board->ToMoveColour())});
            ASSERT_TRUE(board->MakeMove(p));
            const ExpectedBoard inside = oracle::Recompute(line);
            ASSERT_TRUE(oracle::MatchesCore(*board, inside));
        }
        while (line.size() > stones.size()) {
            ASSERT_FALSE(board->MakeMove(line.back().point));
            line.pop_back();
        }
        ASSERT_TRUE(oracle::Matches(*board, before));
    }

    void Check() {
        expected = oracle::Recompute(stones);
        corrections += expected.corrections;
        ASSERT_TRUE(oracle::Matches(*board, expected)) << "after " << stones.size() << " stones";
        ASSERT_TRUE(oracle::BorderFollowsStones(expected));
        ASSERT_EQ(board->moveCount, stones.size());
        for (std::size_t i = 0; i < stones.size(); ++i) {
            ASSERT_EQ(board->moveList[i], stones[i].point);
            ASSERT_TRUE(oracle::KeepsFrozen(*board, stones[i].point, frozen[i]));
        }
    }

    std::mt19937 rng;
    int steps;
    std::unique_ptr<ListBoard> board;
    std::vector<Stone> stones;
    std::vector<oracle::FrozenPoint> frozen;
    ExpectedBoard expected;
};

class ListBoardOracleTest : public ::testing::Test {
protected:
    void TearDown() override { test::UseTables(20, 20, 0); }

    // Games on random shapes from 2 x 2 to 30 x 30; returns the corrections seen.
    int PlayGames(int rule, std::uint32_t seed, int games, int steps) {
        std::mt19937 shapes(seed);
        int corrections = 0;
        for (int g = 0; g < games && !HasFailure(); ++g) {
            const std::uint32_t width = 2 + shapes() % 29;
            const std::uint32_t height = g % 3 == 0 ? width : 2 + shapes() % 29;
            test::UseTables(width, height, rule);
            SCOPED_TRACE(::testing::Message() << width << " x " << height << ", rule " << rule << ", game " << g);
            RandomGame game(seed * 1000 + g, steps);
            game.Play();
            corrections += game.corrections;
        }
        return corrections;
    }
};

TEST_F(ListBoardOracleTest, RandomGamesUnderFreeRule) {
    EXPECT_GT(PlayGames(0, 17, 12, 400), 0);
}

TEST_F(ListBoardOracleTest, RandomGamesUnderExactFiveRule) {
    EXPECT_GT(PlayGames(1, 29, 8, 400), 0);
}

// Dense play on the usual boards, where long lines and the distance-six shapes
// come up most.
TEST_F(ListBoardOracleTest, LongGamesOnStandardBoards) {
    for (std::uint32_t side : {15u, 20u}) {
        test::UseTables(side, side, 0);
        RandomGame game(side, 1500);
        game.Play();
        EXPECT_GT(game.corrections, 0);
    }
}

}  // namespace
}  // namespace zomar
