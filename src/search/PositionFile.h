#pragma once

#include <string>
#include <vector>

#include "board/Coord.h"

namespace zomar {

// Reads a position file: a header line, then one "x,y,n" line per move with x
// and y counted from 1 (n is ignored). The list ends at the end of the file, an
// empty line, a line starting with a letter or a line holding one number.
// Moves are returned in file order as points of the current board size.
std::vector<Coord> ReadPositionFile(const std::string& path);

}  // namespace zomar
