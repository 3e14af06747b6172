#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "BoardOracle.h"
#include "board/Geometry.h"
#include "support/PositionBuilder.h"
#include "board/ListBoard.h"
#include "support/ErrorOf.h"

namespace zomar {
namespace {

using test::ErrorOf;
using test::At;

using oracle::Stone;


std::vector<Coord> Border(const ListBoard& board) {
    return {board.borderList.get(), board.borderList.get() + board.borderCount};
}

std::vector<Coord> Sorted(std::vector<Coord> points) {
    std::sort(points.begin(), points.end());
    return points;
}

std::vector<Coord> NeighboursOf(Coord p) {
    std::vector<Coord> points;
    for (const std::uint16_t* n = Neighbours(p); *n != boardArea; ++n) points.push_back(*n);
    return points;
}

class BorderListsTest : public ::testing::Test {
protected:
    void TearDown() override { test::UseTables(20, 20); }

    // Stones of one colour: the other side passes in between.
    void PlaceAll(std::initializer_list<Coord> points) {
        for (Coord p : points) {
            if (board.ToMoveColour() != Colour1) board.MakeSearchMove(PassCoord);
            ASSERT_TRUE(board.MakeSearchMove(p));
        }
    }

    bool IsCovered(Coord p) const { return board.borderState[p] == BorderExpanded && board.stone[p] == EmptyCell; }

    // The tables come before the board that is built on them.
    bool onFifteen = (test::UseTables(15, 15), true);
    ListBoard board{BoardKind::Search};
};

TEST_F(BorderListsTest, FirstStoneBordersItsNeighboursInOrder) {
    const Coord centre = At(7, 7);
    board.MakeSearchMove(centre);
    EXPECT_EQ(Border(board), NeighboursOf(centre));
    for (Coord n : NeighboursOf(centre)) {
        EXPECT_EQ(board.borderOwner[n], centre);
        EXPECT_EQ(board.borderState[n], BorderListed);
    }
    EXPECT_EQ(board.borderState[centre], BorderExpanded);
    EXPECT_EQ(board.coverOwner[centre], centre);

    ListBoard corner(BoardKind::Search);
    corner.MakeSearchMove(At(14, 14));
    EXPECT_EQ(Border(corner), (std::vector<Coord>{At(13, 13), At(14, 13), At(13, 14)}));
}

// Placing on a border point appends its free neighbours, then the last entry
// fills its place; lifting restores the same points and owners.
TEST_F(BorderListsTest, StoneOnABorderPointLeavesTheList) {
    //   . . . . .      a = (7,7), b = (8,7)
    //   . n n n +      n: neighbours of a, + added by b
    //   . n a b +
    //   . n n n +
    const Coord a = At(7, 7), b = At(8, 7);
    board.MakeSearchMove(a);
    const oracle::Snapshot before = oracle::TakeSnapshot(board);
    board.MakeSearchMove(b);
    EXPECT_EQ(Border(board), (std::vector<Coord>{At(6, 6), At(7, 6), At(8, 6), At(6, 7), At(9, 8), At(6, 8),
                                                 At(7, 8), At(8, 8), At(9, 6), At(9, 7)}));
    EXPECT_EQ(board.borderOwner[b], a);  // kept from its time on the border
    EXPECT_EQ(board.borderOwner[At(9, 7)], b);
    board.MakeSearchMove(b);
    EXPECT_TRUE(oracle::TakeSnapshot(board) == before);
}

TEST_F(BorderListsTest, GapsOnAColumnAreCoveredAndWithdrawn) {
    const Coord top = At(3, 3), bottom = At(3, 6);
    PlaceAll({top});
    const std::vector<Coord> topBorder = Sorted(Border(board));
    PlaceAll({bottom});
    for (Coord gap : {At(3, 4), At(3, 5)}) {
        EXPECT_TRUE(IsCovered(gap));
        EXPECT_EQ(board.coverOwner[gap], bottom);
        EXPECT_EQ(std::count(board.borderList.get(), board.borderList.get() + board.borderCount, gap), 0);
    }
    EXPECT_EQ(board.borderOwner[At(3, 4)], top);
    EXPECT_EQ(board.borderOwner[At(3, 5)], bottom);

    board.MakeSearchMove(bottom);
    EXPECT_EQ(Sorted(Border(board)), topBorder);
    for (Coord p : topBorder) EXPECT_EQ(board.borderOwner[p], top);
    EXPECT_EQ(board.coverOwner[At(3, 4)], NoOwner);
    EXPECT_EQ(board.borderOwner[At(3, 5)], NoOwner);
}

// Rays run along rows and columns and reach three points.
TEST_F(BorderListsTest, OnlyNearStonesOnARowOrColumnCover) {
    PlaceAll({At(3, 3), At(6, 6)});  // diagonal
    EXPECT_FALSE(IsCovered(At(4, 4)));
    EXPECT_FALSE(IsCovered(At(5, 5)));

    ListBoard fourApart(BoardKind::Search);
    fourApart.MakeSearchMove(At(8, 7));
    fourApart.MakeSearchMove(At(4, 7));
    for (int x = 5; x <= 7; ++x) EXPECT_EQ(fourApart.coverOwner[At(x, 7)], NoOwner);

    PlaceAll({At(8, 10), At(5, 10)});  // three apart on a row
    EXPECT_EQ(board.coverOwner[At(6, 10)], At(5, 10));
    EXPECT_EQ(board.coverOwner[At(7, 10)], At(5, 10));
    std::vector<Stone> stones;
    for (Coord p : {At(3, 3), At(6, 6), At(8, 10), At(5, 10)}) stones.push_back({p, Colour1});
    EXPECT_TRUE(oracle::Matches(board, oracle::Recompute(stones)));
}

// A stone on a covered point leaves the cover with its owner: lifting it keeps
// the point covered, lifting the owner withdraws it.
TEST_F(BorderListsTest, StoneOnACoveredPoint) {
    PlaceAll({At(5, 5), At(5, 7)});
    const oracle::Snapshot covered = oracle::TakeSnapshot(board);
    board.MakeSearchMove(At(5, 6));
    EXPECT_EQ(board.coverOwner[At(5, 6)], At(5, 7));
    board.MakeSearchMove(At(5, 6));
    EXPECT_TRUE(oracle::TakeSnapshot(board) == covered);
}

TEST_F(BorderListsTest, PassesAndCoreMovesLeaveTheBorderAlone) {
    PlaceAll({At(7, 7), At(9, 7)});
    const oracle::Snapshot before = oracle::TakeSnapshot(board);
    EXPECT_FALSE(board.MakeSearchMove(PassCoord));
    EXPECT_NE(board.sideToMove, before.sideToMove);
    board.MakeSearchMove(PassCoord);
    EXPECT_TRUE(oracle::TakeSnapshot(board) == before);

    ASSERT_TRUE(board.MakeMove(At(10, 10)));
    EXPECT_EQ(Sorted(Border(board)), before.border);
    EXPECT_EQ(board.borderState[At(10, 10)], BorderOutside);
    board.MakeMove(At(10, 10));
    EXPECT_TRUE(oracle::TakeSnapshot(board) == before);
}

TEST_F(BorderListsTest, CopiesReplayTheSourceMoves) {
    ListBoard game(BoardKind::Game);
    const std::vector<Coord> moves = {At(7, 7), At(8, 8), At(7, 9), At(9, 7), At(7, 10), At(0, 0)};
    for (Coord p : moves) {
        game.MakeMove(p);
        board.MakeSearchMove(p);
    }
    const std::uint32_t made = madeMoveCount;
    const auto copy = ListBoard::CopySearchBoard(game);
    EXPECT_EQ(madeMoveCount, made + moves.size());
    EXPECT_EQ(copy->Kind(), BoardKind::Search);
    EXPECT_EQ(copy->neighbourCandidates, 1);
    EXPECT_EQ(copy->sideToMove, 1);
    EXPECT_TRUE(oracle::TakeSnapshot(*copy) == oracle::TakeSnapshot(board));
    EXPECT_TRUE(std::equal(board.borderList.get(), board.borderList.get() + board.borderCount,
                           copy->borderList.get()));

    const auto copyOfCopy = ListBoard::CopySearchBoard(*copy);
    EXPECT_TRUE(oracle::TakeSnapshot(*copyOfCopy) == oracle::TakeSnapshot(board));
}

// Passes leave no trace in the move list; the copy passes where the stones'
// colours demand it, so each side keeps its stones and its turn. A history
// that opens with a pass is replayed with the colours exchanged.
TEST_F(BorderListsTest, CopiesKeepTheSidesOfAHistoryWithPasses) {
    ListBoard game(BoardKind::Game);
    game.MakeMove(At(3, 4));
    game.MakeMove(PassCoord);
    game.MakeMove(At(5, 5));
    game.MakeMove(At(6, 6));
    const auto copy = ListBoard::CopySearchBoard(game);
    for (Coord p : {At(3, 4), At(5, 5), At(6, 6)}) EXPECT_EQ(copy->stone[p], game.stone[p]);
    EXPECT_EQ(copy->sideToMove, game.sideToMove);
    EXPECT_EQ(copy->hashKey, game.hashKey);

    ListBoard opened(BoardKind::Game);
    opened.MakeMove(PassCoord);
    opened.MakeMove(At(3, 4));
    opened.MakeMove(At(5, 5));
    const auto swapped = ListBoard::CopySearchBoard(opened);
    EXPECT_EQ(swapped->stone[At(3, 4)], Colour1);
    EXPECT_EQ(swapped->stone[At(5, 5)], Colour2);
    EXPECT_EQ(swapped->sideToMove, 1);
}

TEST_F(BorderListsTest, BrokenListsAndMisuseAreReported) {
    PlaceAll({At(7, 7)});
    board.borderCount = 0;
    EXPECT_EQ(ErrorOf([&] { board.MakeSearchMove(At(8, 8)); }), "Border list inconsintency(3).");

    ListBoard lifted(BoardKind::Search);
    lifted.MakeSearchMove(At(7, 7));
    lifted.borderCount = 0;
    EXPECT_EQ(ErrorOf([&] { lifted.MakeSearchMove(At(7, 7)); }), "Border list inconsintency(4).");

    EXPECT_EQ(ErrorOf([&] { board.MakeSearchMove(static_cast<Coord>(board.Area())); }), "Invalid Coord");
    ListBoard game(BoardKind::Game);
    EXPECT_EQ(ErrorOf([&] { game.MakeSearchMove(At(7, 7)); }), "Board has no border lists.");
}

}  // namespace
}  // namespace zomar
