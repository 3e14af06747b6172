#pragma once

#include <string>

#include "board/ListBoard.h"

namespace zomar {

// The answer to "threats": "THREATS " and, for every point row by row, two
// letters, the point category of ownColour then of the other colour ('a' is
// Win, 'b' the next category, ... 'r' Impossible); "--" marks a stone. Under
// renju black's letter is upper case on the points black may not play.
std::string ThreatMapLine(const ListBoard& board, int ownColour);

}  // namespace zomar
