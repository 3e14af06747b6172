#pragma once

#include <optional>
#include <string>
#include <vector>

#include "referee/GameRules.h"

namespace zomar::referee {

// One tournament opening: stone offsets from the board centre, first stone
// black, colours alternating.
struct Opening {
    std::string source;  // "file:line", for the game report
    std::vector<Point> offsets;
};

// Parses one line of the "offset" format: comma-separated numbers (blanks
// allowed around them) read as x,y pairs. Raises std::runtime_error on a
// malformed line; an empty or blank line gives no opening.
std::optional<Opening> ParseOpening(const std::string& line, const std::string& source);

// Every opening of a file, in file order.
std::vector<Opening> LoadOpenings(const std::string& path);

// The opening's stones on a width x height board (centre = floor(side / 2));
// nothing when a stone falls off the board, two stones share a point or the
// opening already holds a five.
std::optional<std::vector<Point>> PlaceOpening(const Opening& opening, int width, int height);

}  // namespace zomar::referee
