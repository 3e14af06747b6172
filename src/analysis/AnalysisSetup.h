#pragma once

#include <cstdint>
#include <memory>

namespace zomar {

struct BoardAnalysis;

// One sequence holding a point Q: its index p * 4 + d (below 0xFFFF on every
// accepted board), Q's low cell bit b in it and the category shift 5 * d.
// Four bytes, so that the lists of a large board stay small.
struct LineUpdate {
    std::uint16_t sequenceIndex;
    std::uint8_t cellBit;
    std::uint8_t shift;
};
constexpr int LineUpdateSlots = 5 * 8 + 1;  // 41 per point
constexpr std::uint16_t UpdateListEnd = 0xFFFF;

// Per point Q: one entry for every sequence holding Q, then one whose index is
// UpdateListEnd.
extern std::unique_ptr<LineUpdate[]> lineUpdateList;

// The orthogonal rays used by the border lists: 0 = +x, 1 = +y, 2 = -x, 3 = -y.
constexpr int RayCount = 4;
constexpr int MaxRayReach = 3;
// The stride of a ray in rayPoints: the points a ray can hold, at most
// MaxRayReach, so that the table grows with the area and not with the side.
extern std::uint32_t maxRay;
extern std::unique_ptr<std::uint32_t[]> rayLength;  // index r * N + p
extern std::unique_ptr<std::uint32_t[]> rayPoints;  // index (r * N + p) * maxRay + k

void BuildLineUpdateList();
void InitAnalysisTables();
// Releases every table that InitAnalysisTables builds, zobristKey included.
void ReleaseAnalysisTables();
// Allocates and fills a new board's analysis arrays for the empty position.
void InitBoardAnalysis(BoardAnalysis& board);

}  // namespace zomar
