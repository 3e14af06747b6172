#include "board/GameRecord.h"

#include <algorithm>
#include <stdexcept>

#include "board/Geometry.h"

namespace zomar {

GameRecord::GameRecord()
    : stone(new std::uint8_t[boardArea]), moveList(new Coord[boardArea]) {
    std::fill_n(stone.get(), boardArea, EmptyCell);
}

bool GameRecord::PlayOrTakeBack(Coord c) {
    if (c == PassCoord) {
        sideToMove = !sideToMove;
        return false;
    }
    if (c >= boardArea) throw std::runtime_error("Invalid Coord");
    if (stone[c] == EmptyCell) {
        moveList[moveCount++] = c;
        ++madeMoveCount;
        stone[c] = sideToMove ? Colour1 : Colour2;
        sideToMove = !sideToMove;
        return true;
    }
    if (moveCount == 0 || moveList[moveCount - 1] != c) {
        throw std::runtime_error(
            "Kernel doesn't allow to take moves back throw another way than the way it was proceeded in forward "
            "direction.");
    }
    --moveCount;
    stone[c] = EmptyCell;
    sideToMove = !sideToMove;
    return false;
}

Coord GameRecord::MoveAt(std::uint32_t i) const {
    if (i >= moveCount) throw std::runtime_error("Move number too big.");
    return moveList[i];
}

}  // namespace zomar
