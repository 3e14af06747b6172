// The engine's caro line tables against the referee's caro judge on every line
// word: the ten cells around an empty point, off-board cells only at the ends.
#include <gtest/gtest.h>

#include <vector>

#include "analysis/PatternTables.h"
#include "board/Geometry.h"
#include "referee/CaroJudge.h"
#include "support/PositionBuilder.h"

namespace zomar::referee {
namespace {

using Cell = CaroJudge::Cell;
using Line = std::vector<Cell>;
constexpr int Centre = HalfLength;

// The cells at -5..5 for `colour`; empty when an off-board cell lies inside an on-board one.
Line LineOf(std::uint32_t word, int colour) {
    Line line(2 * HalfLength + 1, Cell::Empty);
    for (int k = -HalfLength; k <= HalfLength; ++k) {
        const std::uint32_t cell = k == 0 ? EmptyCell : (word >> (k > 0 ? 2 * k + 8 : 2 * k + 10)) & 3;
        line[Centre + k] = cell == EmptyCell ? Cell::Empty
                           : cell == OffBoard ? Cell::Edge
                           : cell == static_cast<std::uint32_t>(colour) ? Cell::Own : Cell::Opponent;
    }
    for (int k = 1; k < HalfLength; ++k)
        for (int side : {-1, 1})
            if (line[Centre + side * k] == Cell::Edge && line[Centre + side * (k + 1)] != Cell::Edge) return {};
    return line;
}

bool Wins(const CaroJudge& judge, Line line, int at) {
    line[at] = Cell::Own;
    return judge.Wins(line, at);
}

// The centre taken, one more own stone wins.
bool IsFour(const CaroJudge& judge, Line line) {
    line[Centre] = Cell::Own;
    for (int q = 0; q < static_cast<int>(line.size()); ++q)
        if (line[q] == Cell::Empty && Wins(judge, line, q)) return true;
    return false;
}

class CaroCrossCheck : public ::testing::TestWithParam<int> {
protected:
    void TearDown() override { test::UseTables(15, 15, 0); }
};
INSTANTIATE_TEST_SUITE_P(Rules, CaroCrossCheck, ::testing::Values(8, 9));

// Win points, fours (one more stone wins) and straight fours (no opponent stone
// on one empty cell stops the four), both colours.
TEST_P(CaroCrossCheck, LineCategoriesAgreeWithTheJudgeOnEveryWord) {
    test::UseTables(15, 15, GetParam());
    const CaroJudge judge((GetParam() & 1) != 0);
    int failures = 0;
    for (std::uint32_t word = 0; word < (1u << (4 * HalfLength)) && failures < 10; ++word) {
        for (int colour : {Colour1, Colour2}) {
            Line line = LineOf(word, colour);
            if (line.empty()) continue;
            const bool win = Wins(judge, line, Centre);
            const bool four = !win && IsFour(judge, line);
            bool straight = four;
            for (Cell& c : line) {
                if (c != Cell::Empty || &c == &line[Centre] || !straight) continue;
                c = Cell::Opponent;
                straight = IsFour(judge, line);
                c = Cell::Empty;
            }
            const ThreatCategory engine = LineCategory(colour, word);
            const bool engineFour = engine == StraightFour || (engine >= FourDevelopFour && engine <= Four);
            if ((engine == Win) != win || engineFour != four || (engine == StraightFour) != straight)
                ADD_FAILURE() << ++failures << ": word " << std::hex << word << std::dec << " colour " << colour
                              << ": engine " << int(engine) << ", judge win " << win << " four " << four;
        }
    }
}

}  // namespace
}  // namespace zomar::referee
