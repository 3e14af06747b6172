#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>

#include "board/Coord.h"

namespace zomar {

// Process-wide geometry of the current board size, valid between one
// SetBoardSize and the next.

// The largest side: the pair distances are signed 8-bit and their largest value
// marks "no common line", so no real distance may reach it.
constexpr std::uint32_t MaxBoardSide = std::numeric_limits<std::int8_t>::max();

extern std::uint32_t boardWidth;
extern std::uint32_t boardHeight;
extern std::uint32_t boardArea;
extern std::int32_t directionStep[DirectionCount];

// How two points lie to each other depends only on their column and row
// differences (dx, dy): one entry per offset, (2W - 1) x (2H - 1) of them, so
// that the table grows with the area and not with its square.
struct LineRelation {
    std::int8_t distance;   // signed steps along the common line, NoLineDistance when none
    std::int8_t direction;  // a Direction, NoCommonLine or SamePoint
};
extern std::unique_ptr<LineRelation[]> lineRelation;
// Per point y * (2W - 1) + x: the difference of two keys is the offset of the
// two points, and lineRelationAtZero points at the entry of offset (0, 0).
extern std::unique_ptr<std::int32_t[]> offsetKey;
extern const LineRelation* lineRelationAtZero;
// N x 9: the adjacent points of each point, then N.
extern std::unique_ptr<std::uint16_t[]> neighbourList;
// N x 4 x 9: per point and direction, the points within 4 steps, then N.
extern std::unique_ptr<std::uint16_t[]> lineNeighbourList;
// 2N keys: entry p for a colour-1 stone on p, N + p for colour 2.
extern std::unique_ptr<std::uint64_t[]> zobristKey;

constexpr int NeighbourSlots = 9;

// Establishes the geometry of a width x height board, replacing the previous
// tables. Raises "Playing board too big, max size is 127" (leaving the previous
// geometry in place) or "Every coord must have at least 3 neighbours.".
void SetBoardSize(std::uint32_t width, std::uint32_t height);
// Frees the relation and list tables that are present.
void ReleaseGeometryTables();
// The same keys in every run for a given board size.
void BuildZobristKeys();
void ReleaseZobristKeys();

Coord CoordFromXY(std::uint32_t x, std::uint32_t y);
std::int32_t DirectionStep(int direction);  // raises "Invalid Direction" above 3

inline const LineRelation& RelationOf(std::uint32_t p, std::uint32_t q) {
    return lineRelationAtZero[offsetKey[q] - offsetKey[p]];
}
inline std::int8_t LineDistance(std::uint32_t p, std::uint32_t q) { return RelationOf(p, q).distance; }
inline std::int32_t LineDirection(std::uint32_t p, std::uint32_t q) { return RelationOf(p, q).direction; }
inline const std::uint16_t* Neighbours(std::uint32_t p) {
    return &neighbourList[static_cast<std::size_t>(p) * NeighbourSlots];
}
inline const std::uint16_t* LineNeighbours(std::uint32_t p, int direction) {
    return &lineNeighbourList[(static_cast<std::size_t>(p) * DirectionCount + direction) * NeighbourSlots];
}
// True when p and q share a line at most 4 steps apart, or are the same point.
inline bool IsWithinFour(std::uint32_t p, std::uint32_t q) {
    const int k = LineDistance(p, q);
    return k > -5 && k < 5;
}

}  // namespace zomar
