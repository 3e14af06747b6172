#pragma once

#include <cstdint>

#include "board/ListBoard.h"

namespace zomar {

// The candidate list of a board's work area. Membership is bit 0 of the point's
// mark byte, so adding, removing and testing never search the list.

// Appends p unless it is listed already; the mark byte becomes exactly 1.
bool AddCandidate(ListBoard& board, Coord p);
// Appends p with the given whole mark byte unless it is listed already.
bool AddMarkedCandidate(ListBoard& board, Coord p, std::uint8_t mark);
// Removes entry i; the last entry moves into its slot.
void RemoveCandidate(ListBoard& board, std::uint32_t entry);
// Empties the list, clearing mark bits 0 to 4 of every listed point.
void ClearCandidates(ListBoard& board);

// At most one line through p can still make five for colour.
bool IsDeadPoint(const ListBoard& board, Coord p, int colour);
// p offers colour little beyond what limit allows and is blocked in some line.
bool IsWeakPoint(const ListBoard& board, Coord p, int colour, int limit);

// Appends the side to move's points of the given categories, strongest first,
// at most evalPointCount of them.
void CategoryMoves(ListBoard& board, const std::uint8_t* categories, int n);
// Appends up to 3 of the opponent's four-making and double-three points, none
// of them forbidden for black.
void FillOpponentThreats(ListBoard& board);
// Appends the side to move's points next to a stone until the list holds limit.
void FillNearStones(ListBoard& board, std::uint32_t limit);
// The opening rule for the first three stones; false from the fourth stone on.
bool OpeningMove(ListBoard& board);

}  // namespace zomar
