#pragma once

#include "board/BoardAnalysis.h"
#include "board/Coord.h"

namespace zomar {

// Renju: whether black (`black`, colour 1 or 2) may not play the empty point p.
// Exactly five always may; otherwise an overline, two or more fours (also two
// on one line) or two or more threes are forbidden, a three counting only when
// a point that turns it into a straight four is not forbidden itself (checked
// again with the stones in place). Reads only the board's line words; most
// points are ruled out by a stone count before any line is walked.
bool IsForbiddenPoint(const BoardAnalysis& board, Coord p, int black);
// What both checks require of p on the board as it stands: most points fail it.
bool MayBeForbiddenPoint(const BoardAnalysis& board, Coord p, int black);
// The same once white holds the empty point `white` as well.
bool IsForbiddenAfterWhite(const BoardAnalysis& board, Coord p, int black, Coord white);
// When white, playing the empty point p, makes a four black cannot stop (every
// point where white would then make five is forbidden for black): how many
// such five points there are, written to fivePoints when given (room for
// MaxFivePoints). Otherwise 0.
constexpr int MaxFivePoints = 2 * DirectionCount;
int UnblockableFivePoints(const BoardAnalysis& board, Coord p, int black, Coord* fivePoints = nullptr);
inline bool IsUnblockableFour(const BoardAnalysis& board, Coord p, int black) {
    return UnblockableFivePoints(board, p, black) > 0;
}

}  // namespace zomar
