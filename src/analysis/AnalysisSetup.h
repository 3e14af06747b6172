#pragma once

#include <climits>
#include <cstdint>
#include <memory>

namespace zomar {

struct BoardAnalysis;

// One sequence holding a point Q: its index p * 4 + d less Q * 4, Q's low cell
// bit b in it and the category shift 5 * d. Four bytes, and relative to Q, so
// that every point five or more cells from the edges shares one list.
struct LineUpdate {
    std::int16_t sequenceOffset;
    std::uint8_t cellBit;
    std::uint8_t shift;
};
constexpr int LineUpdateSlots = 5 * 8 + 1;  // at most 41 per point
constexpr std::int16_t UpdateListEnd = INT16_MIN;

// Per point Q, from lineUpdateStart[Q]: one entry for every sequence holding
// Q, in ascending order of the sequence's point, then one whose offset is
// UpdateListEnd. The shared list of the inner points comes first.
extern std::unique_ptr<LineUpdate[]> lineUpdateList;
extern std::unique_ptr<std::uint32_t[]> lineUpdateStart;
inline const LineUpdate* LineUpdatesOf(std::uint32_t q) { return &lineUpdateList[lineUpdateStart[q]]; }

// The orthogonal rays used by the border lists: 0 = +x, 1 = +y, 2 = -x, 3 = -y.
constexpr int RayCount = 4;
constexpr int MaxRayReach = 3;
// The stride of a ray in rayPoints: the points a ray can hold, at most
// MaxRayReach, so that the table grows with the area and not with the side.
extern std::uint32_t maxRay;
extern std::unique_ptr<std::uint8_t[]> rayLength;    // index r * N + p
extern std::unique_ptr<std::uint16_t[]> rayPoints;   // index (r * N + p) * maxRay + k

void BuildLineUpdateList();
void InitAnalysisTables();
// Releases every table that InitAnalysisTables builds, zobristKey included.
void ReleaseAnalysisTables();
// Allocates and fills a new board's analysis arrays for the empty position.
void InitBoardAnalysis(BoardAnalysis& board);

}  // namespace zomar
