#include "referee/CaroJudge.h"

namespace zomar::referee {

bool CaroJudge::Wins(const std::vector<Cell>& line, int at) const {
    const int size = static_cast<int>(line.size());
    auto cell = [&](int k) { return k < 0 || k >= size ? Cell::Edge : line[static_cast<std::size_t>(k)]; };
    int first = at;
    while (cell(first - 1) == Cell::Own) --first;
    int last = at;
    while (cell(last + 1) == Cell::Own) ++last;
    const int row = last - first + 1;
    if (row > 5) return !exactlyFive;
    if (row < 5) return false;
    return !(cell(first - 1) == Cell::Opponent && cell(last + 1) == Cell::Opponent);
}

}  // namespace zomar::referee
