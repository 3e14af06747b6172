#pragma once

#include <cstdint>

#include "board/ListBoard.h"

namespace zomar {

bool AddCandidate(ListBoard& board, Coord p);
void RemoveCandidate(ListBoard& board, std::uint32_t entry);
void ClearCandidates(ListBoard& board);

bool IsDeadPoint(const ListBoard& board, Coord p, int colour);
bool IsWeakPoint(const ListBoard& board, Coord p, int colour, int limit);

void CategoryMoves(ListBoard& board, const std::uint8_t* categories, int n);
void FillOpponentThreats(ListBoard& board);
void FillNearStones(ListBoard& board, std::uint32_t limit);
bool OpeningMove(ListBoard& board);

}  // namespace zomar
