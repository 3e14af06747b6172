#pragma once

// Boards from diagrams, for tests.
//
// A diagram is one string per row, top row first: 'x' is a stone of colour 1
// (the side that moves first), 'o' a stone of colour 2, '.' an empty point.
// Spaces are ignored, so rows may be written "x . o". Unless a size is given,
// the board is as wide as the rows and as high as their number; a smaller
// diagram is placed at the top left of a larger board.
//
// Play order (it decides the side to move and the order of the category
// lists): without an explicit order, x and o stones are played alternately, x
// first, each colour's stones in reading order (left to right, top to bottom);
// when one colour runs out, the other's remaining stones are separated by
// passes. An explicit order lists every stone's (x, y); a pass goes in where two
// stones of one colour follow each other. Finally, when toMove names a colour
// that is not to move, one more pass is made.
//
//   auto board = BuildPosition({
//       ". . . . .",
//       ". x x x .",
//       ". o o . .",
//   }, OnBoard(15, 15));   // colour 2 to move, on 15 x 15

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "board/ListBoard.h"

namespace zomar::test {

struct PositionOptions {
    std::uint32_t width = 0;   // 0: the diagram's width
    std::uint32_t height = 0;  // 0: the diagram's height
    int rule = 0;              // the "rule" setting the tables are built for
    BoardKind kind = BoardKind::Game;
    int toMove = 0;            // 1 or 2 forces the side to move; 0 leaves it to the order
    std::vector<std::pair<std::uint32_t, std::uint32_t>> order;  // explicit (x, y) play order
};

// Options for a board of the given size, the rest as default.
PositionOptions OnBoard(std::uint32_t width, std::uint32_t height, int toMove = 0,
                        BoardKind kind = BoardKind::Game);

// Builds the process-wide tables for the size and the rule, unless they are
// current already.
void UseTables(std::uint32_t width, std::uint32_t height, int rule = 0);

std::unique_ptr<ListBoard> BuildPosition(const std::vector<std::string>& diagram,
                                         const PositionOptions& options = {});

// An empty board of the given size.
std::unique_ptr<ListBoard> EmptyBoard(std::uint32_t width, std::uint32_t height,
                                      BoardKind kind = BoardKind::Game, int rule = 0);

// Plays a stone (or lifts the last one) the way the board's kind requires.
void Play(ListBoard& board, Coord p);

// The point (x, y) of the current board size.
Coord At(std::uint32_t x, std::uint32_t y);

// The points (x, y), in the given order.
std::vector<Coord> Points(const std::vector<std::pair<std::uint32_t, std::uint32_t>>& xy);

// The board's candidate list, in order.
std::vector<Coord> CandidateList(const ListBoard& board);

// The board as a diagram, for failure messages.
std::string Diagram(const ListBoard& board);

}  // namespace zomar::test
