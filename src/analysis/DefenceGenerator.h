#pragma once

#include <cstdint>

#include "analysis/PatternTables.h"
#include "board/ListBoard.h"

namespace zomar {

// The most points one defence call produces: the threat point, then the
// answers of at most two lines, each listing at most a full defence order.
constexpr int MaxDefencePoints = 1 + 2 * DefenceStride;

// The defender's answers to the attacker's (the colour not to move) threat point
// x: written to output from its start, or added to the candidate list when
// output is null. Returns the number produced, duplicates included.
int GenerateDefences(ListBoard& board, Coord x, Coord* output);
int LineDefences(ListBoard& board, Coord x, Coord* output, bool centreOwn, int direction);
GroupCode LineCode(const ListBoard& board, Coord x, int direction);

}  // namespace zomar
