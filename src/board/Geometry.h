#pragma once

#include <cstdint>
#include <memory>

#include "board/Coord.h"

namespace zomar {

// Process-wide geometry of the current board size, valid between one
// SetBoardSize and the next.
constexpr std::uint32_t MaxBoardSide = 127;

extern std::uint32_t boardWidth;
extern std::uint32_t boardHeight;
extern std::uint32_t boardArea;
extern std::int32_t directionStep[DirectionCount];

// N x N pair tables, entry p * N + q.
extern std::unique_ptr<std::int8_t[]> lineDistance;
extern std::unique_ptr<std::int32_t[]> lineDirection;
// N x 9: the adjacent points of each point, then N.
extern std::unique_ptr<std::uint16_t[]> neighbourList;
// N x 4 x 9: per point and direction, the points within 4 steps, then N.
extern std::unique_ptr<std::uint16_t[]> lineNeighbourList;
// 2N keys: entry p for a colour-1 stone on p, N + p for colour 2.
extern std::unique_ptr<std::uint64_t[]> zobristKey;

constexpr int NeighbourSlots = 9;

void SetBoardSize(std::uint32_t width, std::uint32_t height);
// Frees the four pair and list tables that are present.
void ReleaseGeometryTables();
void BuildZobristKeys();
void ReleaseZobristKeys();

Coord CoordFromXY(std::uint32_t x, std::uint32_t y);
std::int32_t DirectionStep(int direction);  // raises "Invalid Direction" above 3

inline std::int8_t LineDistance(std::uint32_t p, std::uint32_t q) {
    return lineDistance[static_cast<std::size_t>(p) * boardArea + q];
}
inline std::int32_t LineDirection(std::uint32_t p, std::uint32_t q) {
    return lineDirection[static_cast<std::size_t>(p) * boardArea + q];
}
inline const std::uint16_t* Neighbours(std::uint32_t p) {
    return &neighbourList[static_cast<std::size_t>(p) * NeighbourSlots];
}
inline const std::uint16_t* LineNeighbours(std::uint32_t p, int direction) {
    return &lineNeighbourList[(static_cast<std::size_t>(p) * DirectionCount + direction) * NeighbourSlots];
}
bool IsWithinFour(std::uint32_t p, std::uint32_t q);

}  // namespace zomar
