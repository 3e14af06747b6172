#pragma once

#include <cstdint>
#include <memory>

namespace zomar {

struct BoardAnalysis;

constexpr int LineUpdateSlots = 5 * 24 + 1;  // 121 per point
constexpr std::uint32_t UpdateListEnd = 0xFFFF;

// Per point Q: triples (p * 4 + d, 1 << b, 5 * d) for every sequence holding Q,
// then UpdateListEnd.
extern std::unique_ptr<std::uint32_t[]> lineUpdateList;

// The orthogonal rays used by the border lists: 0 = +x, 1 = +y, 2 = -x, 3 = -y.
constexpr int RayCount = 4;
constexpr int MaxRayReach = 3;
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
