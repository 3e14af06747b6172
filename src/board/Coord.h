#pragma once

#include <cstdint>

namespace zomar {

// A point index p = x + y * boardWidth. The board area itself means "no point"
// and ends every point list.
using Coord = std::uint16_t;

// A move that only hands the turn to the other side.
constexpr Coord PassCoord = 0xFFFE;

// The four lines through a point, numbered as their steps in directionStep.
enum Direction : int {
    Horizontal = 0,    // step 1, x+1
    Vertical = 1,      // step W, y+1
    Diagonal = 2,      // step W+1, right and down
    AntiDiagonal = 3,  // step W-1, left and down
};
constexpr int DirectionCount = 4;

// lineDirection values beyond the four real directions.
constexpr int NoCommonLine = 4;
constexpr int SamePoint = 5;
// lineDistance of two points without a common line.
constexpr std::int8_t NoLineDistance = 127;

// Cell codes of the game record and of line words.
using StoneCode = std::uint8_t;
constexpr StoneCode EmptyCell = 0;
constexpr StoneCode Colour1 = 1;  // moves first
constexpr StoneCode Colour2 = 2;
constexpr StoneCode OffBoard = 3;

}  // namespace zomar
