#pragma once

#include <vector>

#include "referee/Openings.h"
#include "referee/Referee.h"

namespace zomar::referee {

struct BoardSize {
    int width = 15;
    int height = 15;
};

struct ScheduleOptions {
    int games = 12;
    std::vector<BoardSize> sizes = {{15, 15}, {20, 20}};
    std::vector<int> rules = {0, 1};
    std::vector<Opening> openings;
    // Every how many rounds of all sizes and rules opens with BEGIN; the rest
    // take the next openings that fit. 0: openings only (when there are any).
    int beginEvery = 2;
    bool swap2 = false;  // every game opens with swap2 instead
};

// Games are played in pairs with the same setup and colours swapped (brain A
// black first). Pair p takes size p mod S, rule (p / S) mod R, and opens with
// BEGIN or an opening by round p / (S R). Raises std::runtime_error when a
// pair needs an opening and none fits its board.
std::vector<GameSetup> BuildSchedule(const ScheduleOptions& options);

}  // namespace zomar::referee
