#pragma once

#include <vector>

#include "referee/GameRules.h"

namespace zomar::referee {

// Black's forbidden moves under renju, judged cell by cell from the rules and
// nothing else: the referee's check of the engine's own forbidden points.
// Exactly five wins whatever else the move makes; otherwise an overline, two or
// more fours (also two on one line) or two or more threes are forbidden, where
// a three counts only if the point that makes it a straight four is itself not
// forbidden (checked recursively with the stone in place).
class RenjuJudge {
public:
    RenjuJudge(int width, int height);

    void Set(Point point, Stone stone);
    Stone At(Point point) const;
    bool IsOnBoard(Point point) const;

    // For black playing the empty point `point`.
    bool MakesExactFive(Point point);
    bool IsForbidden(Point point);

private:
    // Black stones in a row through `point` (placed) along (dx, dy).
    int Run(Point point, int dx, int dy) const;
    bool FiveAlong(Point point, int dx, int dy) const;
    // Empty points on the line that give black exactly five together with
    // `point` (which holds black).
    std::vector<Point> FivePoints(Point point, int dx, int dy);
    int FoursAlong(Point point, int dx, int dy);
    bool IsStraightFourAlong(Point point, int dx, int dy);
    bool IsThreeAlong(Point point, int dx, int dy);

    int width;
    int height;
    std::vector<Stone> cells;
};

}  // namespace zomar::referee
