#include <gtest/gtest.h>

#include <string>

#include "referee/GameRules.h"

namespace zomar::referee {
namespace {

// Plays the stones of one colour on row 7 at the given columns.
Placement PlayRow(GameBoard& board, std::initializer_list<int> columns, Stone colour) {
    Placement last = Placement::Placed;
    for (int x : columns) last = board.Place({x, 7}, colour);
    return last;
}

TEST(GameRules, FiveWinsInEveryDirection) {
    for (const auto& [dx, dy] : {std::pair {1, 0}, {0, 1}, {1, 1}, {1, -1}}) {
        // The fifth stone in the middle of the line joins both sides.
        GameBoard board(15, 15, 0);
        for (int i : {0, 1, 3, 4}) ASSERT_EQ(board.Place({5 + i * dx, 7 + i * dy}, Stone::Black), Placement::Placed);
        EXPECT_EQ(board.Place({5 + 2 * dx, 7 + 2 * dy}, Stone::Black), Placement::Five) << dx << "," << dy;
    }
}

TEST(GameRules, FourOrBrokenLineIsNoWin) {
    GameBoard board(15, 15, 0);
    EXPECT_EQ(PlayRow(board, {1, 2, 3, 4}, Stone::Black), Placement::Placed);
    EXPECT_EQ(board.Place({5, 7}, Stone::White), Placement::Placed);
    EXPECT_EQ(board.Place({6, 7}, Stone::Black), Placement::Placed);  // . X X X X O X
}

TEST(GameRules, OverlineWinsUnderRuleZeroOnly) {
    // X X X . X X: the gap makes six.
    GameBoard free(15, 15, 0);
    GameBoard exact(15, 15, 1);
    PlayRow(free, {1, 2, 3, 5, 6}, Stone::Black);
    PlayRow(exact, {1, 2, 3, 5, 6}, Stone::Black);
    EXPECT_EQ(free.Place({4, 7}, Stone::Black), Placement::Five);
    EXPECT_EQ(exact.Place({4, 7}, Stone::Black), Placement::Placed);
    // Exactly five still wins under rule 1, also along the board's edge.
    GameBoard edge(15, 15, 1);
    for (int y : {10, 11, 12, 13}) edge.Place({14, y}, Stone::White);
    EXPECT_EQ(edge.Place({14, 14}, Stone::White), Placement::Five);
}

TEST(GameRules, RenjuForbidsBlackShapesOnly) {
    // Black: an overline is forbidden, exactly five wins; white: six wins.
    GameBoard board(15, 15, 4);
    PlayRow(board, {1, 2, 3, 5, 6}, Stone::Black);
    EXPECT_EQ(board.Place({4, 7}, Stone::Black), Placement::Forbidden);
    for (int x : {1, 2, 3, 4}) board.Place({x, 11}, Stone::Black);
    EXPECT_EQ(board.Place({5, 11}, Stone::Black), Placement::Five);
    for (int x : {1, 2, 3, 5, 6}) board.Place({x, 3}, Stone::White);
    EXPECT_EQ(board.Place({4, 3}, Stone::White), Placement::Five);
}

TEST(GameRules, RefusesOffBoardAndOccupiedPoints) {
    GameBoard board(20, 15, 0);
    EXPECT_EQ(board.Place({20, 0}, Stone::Black), Placement::OffBoard);
    EXPECT_EQ(board.Place({0, 15}, Stone::Black), Placement::OffBoard);
    EXPECT_EQ(board.Place({-1, 3}, Stone::Black), Placement::OffBoard);
    EXPECT_EQ(board.Place({19, 14}, Stone::Black), Placement::Placed);
    EXPECT_EQ(board.Place({19, 14}, Stone::White), Placement::Occupied);
    EXPECT_EQ(board.StoneCount(), 1);
}

TEST(GameRules, FullBoardIsKnown) {
    GameBoard board(5, 5, 0);
    // Columns in pairs so that no colour gets five: X X O O X / O O X X O ...
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 5; ++x) {
            const bool black = ((x / 2) + y) % 2 == 0;
            EXPECT_NE(board.Place({x, y}, black ? Stone::Black : Stone::White), Placement::Five);
        }
    }
    EXPECT_TRUE(board.IsFull());
}

// Row 7 from a diagram ('x' black, 'o' white, from column 0), then black's
// last stone at `column`.
Placement CaroRow(int rule, const std::string& row, int column) {
    GameBoard board(15, 15, rule);
    for (int x = 0; x < static_cast<int>(row.size()); ++x)
        if (row[x] != '.' && x != column) board.Place({x, 7}, row[x] == 'x' ? Stone::Black : Stone::White);
    return board.Place({column, 7}, Stone::Black);
}

TEST(GameRules, CaroFiveWinsUnlessOpponentStonesEndItOnBothSides) {
    for (int rule : {8, 9}) {
        EXPECT_EQ(CaroRow(rule, ".oxxxxxo", 4), Placement::Placed) << rule;
        EXPECT_EQ(CaroRow(rule, "..oxxxxx.o", 4), Placement::Five) << rule;
        EXPECT_EQ(CaroRow(rule, "xxxxxo", 2), Placement::Five) << rule;  // the edge is no opponent stone
        EXPECT_EQ(CaroRow(rule, ".........oxxxxx", 14), Placement::Five) << rule;
    }
    EXPECT_EQ(CaroRow(8, ".oxxxxxxo", 4), Placement::Five);
    EXPECT_EQ(CaroRow(9, "..xxxxxx.", 4), Placement::Placed);
}

}  // namespace
}  // namespace zomar::referee
