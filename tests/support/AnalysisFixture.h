#pragma once

// Shared set-up of the analysis and search tests: the board helpers they all
// use, and the positions more than one search test plays through.

#include <string>
#include <vector>

#include "support/PositionBuilder.h"

namespace zomar {

using test::At;
using test::BuildPosition;
using test::CandidateList;
using test::EmptyBoard;
using test::OnBoard;

namespace test {

// x to move: the four on (6, 7), which o must block on (7, 7), turns the
// column into a closed three; then (6, 5) is a four in two lines. Only the
// threat search sees the win; the counts alone do not.
inline const std::vector<std::string> TwoAttackWin = {
    ". . . . . . . . . . .",
    ". . . . . . . . . . o",
    ". . . . . . . . . x .",
    ". . . . . . . . x . .",
    ". . . . . . . x . . .",
    ". . . . . . . . . . .",
    ". . . . . . . . . . .",
    ". . o x x x . . . . .",
    ". . . . . . x . . . .",
    ". . . . . . x . . . .",
    ". . . . . . o . . . .",
};

// Four stones with no threat on either side.
inline const std::vector<std::string> QuietSearchPosition = {
    ". . . . . . . . .",
    ". . . . . . . . .",
    ". . . . . . . . .",
    ". . . . . x . . .",
    ". . . . o x . . .",
    ". . . . . o . . .",
    ". . . . . . . . .",
};

// 5 x 5 with every point taken and no five: no move is left.
inline const std::vector<std::string> FullFiveByFive = {
    "x o x o x",
    "x o x o x",
    "o x o x o",
    "o x o x o",
    "x o x o x",
};

}  // namespace test
}  // namespace zomar
