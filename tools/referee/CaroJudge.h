#pragma once

#include <vector>

namespace zomar::referee {

// Caro (rule bit 8), judged from the rule alone: a row of exactly five whose
// two neighbouring points on its line both hold the opponent's stones does not
// win; the board's edge is no opponent stone. With bit 1 (rule 9) six or more
// never win; without it (rule 8) they always do.
class CaroJudge {
public:
    enum class Cell { Empty, Own, Opponent, Edge };

    explicit CaroJudge(bool exactlyFive) : exactlyFive(exactlyFive) {}

    // A line of cells holding the mover's stone at `at`: whether the row of own
    // stones through `at` wins. Cells past either end of `line` count as Edge.
    bool Wins(const std::vector<Cell>& line, int at) const;

private:
    bool exactlyFive;
};

}  // namespace zomar::referee
