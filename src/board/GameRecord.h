#pragma once

#include <cstdint>
#include <memory>

#include "board/Coord.h"

namespace zomar {

// Stones ever placed by the boards of this thread; the search's node counter.
// Each search thread counts its own, so that counting costs no shared write.
// Defined here, constant-initialised, so that every reader reaches it directly
// rather than through a thread-local wrapper call.
inline thread_local std::uint32_t madeMoveCount = 0;

// Which point holds which stone, whose turn it is, and the stones in play order.
// The only way back is to play the last stone's point again.
struct GameRecord {
    std::unique_ptr<std::uint8_t[]> stone;   // N: 0 empty, 1 or 2
    std::uint8_t sideToMove = 1;             // 1: colour 1 to move, 0: colour 2
    std::uint32_t moveCount = 0;
    std::unique_ptr<Coord[]> moveList;       // N, entries 0 .. moveCount-1 valid

    // An empty record on the current board size, colour 1 to move.
    GameRecord();
    // True when a stone was placed; false when the last stone was lifted or the
    // turn passed.
    bool PlayOrTakeBack(Coord c);
    Coord MoveAt(std::uint32_t i) const;
    // Colour (1 or 2) of the side to move.
    int ToMoveColour() const { return sideToMove ? 1 : 2; }
};

}  // namespace zomar
