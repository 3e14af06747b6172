#pragma once

#include <cstdint>

#include "analysis/ThreatCategory.h"
#include "board/Geometry.h"
#include "board/ListBoard.h"

namespace zomar {

inline int OwnColour(const ListBoard& board) { return board.ToMoveColour(); }
inline int OpponentColour(const ListBoard& board) { return 3 - board.ToMoveColour(); }

// A colour's category lists are walked from the head along the prev links, so
// the earliest inserted point comes first. The walk ends back at the head.
inline std::uint32_t ListHead(ThreatCategory category) { return boardArea + category; }

inline std::uint32_t FirstInList(const ListBoard& board, int colour, ThreatCategory category) {
    return board.Prev(colour, ListHead(category));
}

inline std::uint32_t NextInList(const ListBoard& board, int colour, std::uint32_t point) {
    return board.Prev(colour, point);
}

inline bool IsListEnd(std::uint32_t point) { return point >= boardArea; }

// The border state a filler sees: listed for every point of a board that keeps
// no border.
inline std::int32_t BorderStateOf(const ListBoard& board, Coord p) {
    return board.borderStateRef ? board.borderStateRef[p] : BorderListed;
}

inline bool IsListed(const ListBoard& board, Coord p) { return (board.candidateMark[p] & MarkListed) != 0; }

}  // namespace zomar
