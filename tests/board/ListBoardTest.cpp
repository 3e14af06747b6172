#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "support/BoardOracle.h"
#include "analysis/AnalysisSetup.h"
#include "analysis/PatternTables.h"
#include "board/Geometry.h"
#include "support/PositionBuilder.h"
#include "board/ListBoard.h"
#include "support/ErrorOf.h"

namespace zomar {
namespace {

using test::ErrorOf;
using test::At;

using oracle::Stone;


std::uint32_t LineField(const ListBoard& board, int colour, Coord p, int d) {
    return board.LineCategoryOf(colour, p, d);
}

// The lists of both colours in walking order, and every point's category.
struct ListState {
    std::vector<Coord> order[3][CategoryCount];
    std::vector<ThreatCategory> category[3];
    bool operator==(const ListState&) const = default;
};

ListState TakeLists(const ListBoard& board) {
    ListState state;
    for (int colour = 1; colour <= 2; ++colour) {
        for (int k = 0; k < CategoryCount; ++k) {
            state.order[colour][k] = oracle::ListInOrder(board, colour, static_cast<ThreatCategory>(k));
        }
        for (Coord p = 0; p < board.Area(); ++p) state.category[colour].push_back(board.PointCategoryOf(colour, p));
    }
    return state;
}

// The points a move filed anew, in filing order: `first`, then every other
// point whose category changed, ascending.
std::vector<Coord> ChangedPoints(const ListBoard& board, const ListState& before, int colour,
                                 const std::vector<Coord>& first) {
    std::vector<Coord> filed = first;
    for (Coord p = 0; p < board.Area(); ++p) {
        if (board.stone[p] == EmptyCell && board.PointCategoryOf(colour, p) != before.category[colour][p] &&
            std::find(first.begin(), first.end(), p) == first.end()) {
            filed.push_back(p);
        }
    }
    return filed;
}

// Each list holds the points filed into it, latest first, then its remaining
// points in their former order.
void ExpectListsAfter(const ListBoard& board, const ListState& before, const std::vector<Coord>& first) {
    for (int colour = 1; colour <= 2; ++colour) {
        const std::vector<Coord> filed = ChangedPoints(board, before, colour, first);
        ASSERT_GT(filed.size(), first.size());
        for (int k = 0; k < CategoryCount; ++k) {
            std::vector<Coord> expected;
            for (auto p = filed.rbegin(); p != filed.rend(); ++p) {
                if (board.PointCategoryOf(colour, *p) == k) expected.push_back(*p);
            }
            for (Coord p : before.order[colour][k]) {
                if (board.stone[p] == EmptyCell && std::find(filed.begin(), filed.end(), p) == filed.end()) {
                    expected.push_back(p);
                }
            }
            EXPECT_EQ(oracle::ListInOrder(board, colour, static_cast<ThreatCategory>(k)), expected)
                << "colour " << colour << ", category " << k;
        }
    }
}

class ListBoardTest : public ::testing::Test {
protected:
    void SetUp() override { test::UseTables(15, 15); }
    void TearDown() override { test::UseTables(20, 20); }

    // Plays the stones in order with the given colours, passing where needed.
    static void Play(ListBoard& board, const std::vector<Stone>& stones) {
        for (const Stone& s : stones) {
            if (board.ToMoveColour() != s.colour) board.MakeMove(PassCoord);
            ASSERT_TRUE(board.MakeMove(s.point));
        }
    }

    // A middle-game position with stones near both edges.
    static std::vector<Stone> MiddleGame() {
        const int cells[][2] = {{7, 7}, {8, 8}, {6, 8}, {8, 6}, {5, 9}, {4, 10}, {9, 9}, {6, 6}, {7, 9},
                                {0, 7}, {1, 8}, {14, 14}, {13, 13}, {7, 10}, {6, 11}, {10, 7}, {8, 7}};
        std::vector<Stone> stones;
        for (const auto& cell : cells) {
            stones.push_back({At(cell[0], cell[1]), stones.size() % 2 ? Colour2 : Colour1});
        }
        return stones;
    }
};

TEST_F(ListBoardTest, NewBoardsFileEveryPointOncePerColour) {
    test::UseTables(20, 20);
    ListBoard game(BoardKind::Game);
    ListBoard search(BoardKind::Search);
    for (const ListBoard* board : {&game, &search}) {
        EXPECT_TRUE(oracle::Matches(*board, oracle::Recompute({})));
        EXPECT_EQ(board->hashKey, 0u);
        for (int colour = 1; colour <= 2; ++colour) {
            int total = 0;
            for (int c = 0; c < CategoryCount; ++c) total += board->categoryCount[colour][c];
            EXPECT_EQ(total, 400);
        }
        EXPECT_EQ(board->evalPointCount, 400);
        EXPECT_EQ(board->candidateCount, 0u);
        EXPECT_TRUE(std::all_of(board->candidateMark.get(), board->candidateMark.get() + 400,
                                [](std::uint8_t mark) { return mark == 0; }));
    }
    EXPECT_EQ(game.neighbourCandidates, 1);
    EXPECT_EQ(game.borderStateRef, nullptr);
    EXPECT_EQ(search.neighbourCandidates, 0);
    EXPECT_EQ(search.borderStateRef, search.borderState.get());
    EXPECT_EQ(search.borderCount, 0u);
}

// Every empty point of a middle-game position played and lifted again.
TEST_F(ListBoardTest, PlacingAndLiftingRestoresEveryArray) {
    ListBoard board(BoardKind::Search);
    for (const Stone& s : MiddleGame()) {
        ASSERT_TRUE(board.MakeSearchMove(s.point));
    }
    const oracle::Snapshot before = oracle::TakeSnapshot(board);
    for (Coord p = 0; p < board.Area(); ++p) {
        if (board.stone[p] != EmptyCell) continue;
        ASSERT_TRUE(board.MakeSearchMove(p));
        ASSERT_FALSE(board.MakeSearchMove(p));
        ASSERT_TRUE(oracle::TakeSnapshot(board) == before) << "after playing and lifting " << p;
    }
}

// The search fetches a child's table slot before the move is made.
TEST_F(ListBoardTest, KeyAfterPlacingForeseesTheHashOfEitherSide) {
    ListBoard board(BoardKind::Game);
    ListBoardTest::Play(board, MiddleGame());
    for (bool passed : {false, true}) {
        if (passed) board.MakeMove(PassCoord);
        for (Coord p = 0; p < board.Area(); ++p) {
            if (board.stone[p] != EmptyCell) continue;
            const std::uint64_t foreseen = board.KeyAfterPlacing(p);
            board.MakeMove(p);
            ASSERT_EQ(board.hashKey, foreseen) << "point " << p << (passed ? " after a pass" : "");
            board.MakeMove(p);
        }
    }
}

TEST_F(ListBoardTest, RefusedMovesLeaveTheBoardUnchanged) {
    ListBoard board(BoardKind::Game);
    ListBoardTest::Play(board, MiddleGame());
    const oracle::Snapshot before = oracle::TakeSnapshot(board);
    EXPECT_EQ(ErrorOf([&] { board.MakeMove(static_cast<Coord>(board.Area())); }), "Invalid Coord");
    EXPECT_EQ(ErrorOf([&] { board.MakeMove(0xFFFF); }), "Invalid Coord");
    EXPECT_EQ(ErrorOf([&] { board.MakeMove(At(7, 7)); }),
              "Kernel doesn't allow to take moves back throw another way than the way it was proceeded in forward "
              "direction.");
    EXPECT_TRUE(oracle::TakeSnapshot(board) == before);

    EXPECT_FALSE(board.MakeMove(PassCoord));
    EXPECT_EQ(board.sideToMove, before.sideToMove ? 0 : 1);
    board.sideToMove = before.sideToMove;
    EXPECT_TRUE(oracle::TakeSnapshot(board) == before);
}

// A stone on the edge: the next point's line keeps its four off-board cells.
TEST_F(ListBoardTest, StoneOnTheEdgeKeepsOffBoardCells) {
    ListBoard board(BoardKind::Game);
    board.MakeMove(At(0, 7));
    EXPECT_EQ(board.sequence[At(1, 7) * 4 + Horizontal] & 0x3FF, 0x1FFu);  // 3 3 3 3 1
    EXPECT_EQ(board.sequence[At(1, 8) * 4 + Diagonal] & 0x3FF, 0x1FFu);
    EXPECT_EQ(board.sequence[At(0, 8) * 4 + AntiDiagonal], board.sequence[At(0, 8) * 4 + AntiDiagonal] | 0xFFC00);
    EXPECT_TRUE(oracle::Matches(board, oracle::Recompute({{At(0, 7), Colour1}})));
}

// X . X . X . h on a row: h's line for X is at least a Three, and lifting the
// far stone, six steps from h, takes the correction back.
TEST_F(ListBoardTest, SplitShapeSixStepsAwayIsCorrectedAndUndone) {
    //   . X . X . X . h O . . . . . .     row 7
    ListBoard board(BoardKind::Game);
    const Coord h = At(7, 7);
    ListBoardTest::Play(board, {{At(3, 7), Colour1}, {At(8, 7), Colour2}, {At(5, 7), Colour1}});
    const std::uint32_t raw = LineCategory(1, board.sequence[h * 4 + Horizontal]);
    ASSERT_GT(raw, Three);
    EXPECT_EQ(LineField(board, 1, h, Horizontal), raw);

    ListBoardTest::Play(board, {{At(1, 7), Colour1}});
    EXPECT_EQ(LineField(board, 1, h, Horizontal), Three);
    board.MakeMove(At(1, 7));
    EXPECT_EQ(LineField(board, 1, h, Horizontal), raw);
}

TEST_F(ListBoardTest, SplitShapesOnBothSidesMakeATwoThree) {
    //   . X . X . X . h . X . X . X .     row 7, the last stone on the left
    ListBoard board(BoardKind::Game);
    const Coord h = At(7, 7);
    std::vector<Stone> stones;
    for (int x : {3, 5, 9, 11, 13, 1}) stones.push_back({At(x, 7), Colour1});
    ListBoardTest::Play(board, stones);
    const std::uint32_t raw = LineCategory(1, board.sequence[h * 4 + Horizontal]);
    ASSERT_GT(raw, TwoThree);
    EXPECT_EQ(LineField(board, 1, h, Horizontal), TwoThree);
    EXPECT_TRUE(oracle::MatchesCore(board, oracle::Recompute(stones)));

    board.MakeMove(At(1, 7));
    stones.pop_back();
    EXPECT_EQ(LineField(board, 1, h, Horizontal), std::min<std::uint32_t>(raw, Three));
    EXPECT_TRUE(oracle::MatchesCore(board, oracle::Recompute(stones)));
}

// Points whose category a move changes go directly after the head, in update
// order, so the most recent comes first; the rest keep their places. Lifting
// files the point itself first.
TEST_F(ListBoardTest, ListsTakeMovedPointsAtTheFront) {
    ListBoard board(BoardKind::Game);
    ListBoardTest::Play(board, MiddleGame());
    const Coord c = At(9, 8);
    ListState before = TakeLists(board);
    board.MakeMove(c);
    ExpectListsAfter(board, before, {});

    before = TakeLists(board);
    board.MakeMove(c);
    ExpectListsAfter(board, before, {c});
}

// Lifts from the undo log, and below its depth by re-rating, against a board
// that re-rates every lift: the same words, categories and lists, in order.
TEST_F(ListBoardTest, LiftingFromTheUndoLogLeavesWhatReRatingLeaves) {
    ListBoard logged(BoardKind::Game);
    ListBoard rerated(BoardKind::Game, 0);
    std::mt19937 rng(17);
    std::vector<Coord> played;
    // Up to twice the log's depth and down to the empty board, lifting and
    // placing on the way.
    for (std::uint32_t target : {2 * UndoLog::DefaultDepth, 0u}) {
        while (played.size() != target) {
            const bool lift = played.size() > target ? rng() % 4 != 0 : rng() % 4 == 0 && !played.empty();
            Coord c = lift ? played.back() : static_cast<Coord>(rng() % logged.Area());
            if (!lift && logged.stone[c] != EmptyCell) continue;
            ASSERT_EQ(logged.MakeMove(c), !lift);
            rerated.MakeMove(c);
            if (lift) played.pop_back(); else played.push_back(c);
            ASSERT_TRUE(oracle::TakeSnapshot(logged) == oracle::TakeSnapshot(rerated) &&
                        TakeLists(logged) == TakeLists(rerated))
                << "after " << (lift ? "lifting " : "placing ") << c;
        }
    }
}

TEST_F(ListBoardTest, FlatImageSizes) {
    for (auto [width, height] : {std::pair{20u, 20u}, std::pair{7u, 5u}}) {
        test::UseTables(width, height);
        const std::size_t n = width * height;
        ListBoard game(BoardKind::Game);
        ListBoard search(BoardKind::Search);
        EXPECT_EQ(game.FlatImageSize(), 38 * n + 216);
        EXPECT_EQ(search.FlatImageSize(), 48 * n + 216);
        search.MakeSearchMove(0);
        search.MakeSearchMove(static_cast<Coord>(n - 1));

        // Border arrays first, the game record last.
        std::vector<std::uint8_t> image(search.FlatImageSize() + 1, 0xAB);
        EXPECT_EQ(search.FlatCopy(image.data()), image.data() + search.FlatImageSize());
        EXPECT_EQ(image.back(), 0xAB);
        EXPECT_EQ(0, std::memcmp(image.data(), search.coverOwner.get(), 2 * n));
        EXPECT_EQ(0, std::memcmp(&image[search.FlatImageSize() - 3 * n], search.stone.get(), n));
        EXPECT_EQ(0, std::memcmp(&image[search.FlatImageSize() - 2 * n], search.moveList.get(), 2 * 2));
    }
    test::UseTables(20, 20);
    EXPECT_EQ(ListBoard(BoardKind::Game).FlatImageSize(), 15416u);
    EXPECT_EQ(ListBoard(BoardKind::Search).FlatImageSize(), 19416u);
}

TEST_F(ListBoardTest, ConstructionFailures) {
    const std::uint32_t area = boardArea;
    boardArea = MaxBoardArea + 1;
    try {
        ListBoard board(BoardKind::Game);
        ADD_FAILURE() << "an area above 65536 was accepted";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "Playing board too big, max area is 65536");
    }
    boardArea = area;

    ReleaseAnalysisTables();
    try {
        ListBoard board(BoardKind::Search);
        ADD_FAILURE() << "a board was built without tables";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "sequenceSize not initialized.");
    }
}

}  // namespace
}  // namespace zomar
