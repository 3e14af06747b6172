#pragma once

#include <string>

#include "board/ListBoard.h"

namespace zomar {

// The answer to "threats": "THREATS " and, for every point row by row, two
// letters, the point category of ownColour then of the other colour ('a' is
// Win, 'b' the next category, ... 'r' Impossible); "--" marks a stone. Under
// renju black's letter is upper case on the points black may not play.
std::string ThreatMapLine(const ListBoard& board, int ownColour);

// The answer to "yxshowforbid": "FORBID ", then every point black may not
// play as its column and row of two digits each, then a full stop; under
// renju with black to move only, "FORBID ." otherwise.
std::string ForbiddenPointsLine(const ListBoard& board);

}  // namespace zomar
