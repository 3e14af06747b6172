// The engine's caro line tables against the referee's caro judge, on every
// line word: the ten cells around a point, off-board cells only at the ends.
#include <gtest/gtest.h>

#include <algorithm>
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

bool Wins(const CaroJudge& judge, Line line, int at) {
    line[at] = Cell::Own;
    return judge.Wins(line, at);
}

// The centre taken, one more own stone on an empty cell wins.
bool IsFour(const CaroJudge& judge, Line line) {
    line[Centre] = Cell::Own;
    for (int q = 0; q < static_cast<int>(line.size()); ++q)
        if (line[q] == Cell::Empty && Wins(judge, line, q)) return true;
    return false;
}

// A four that no opponent stone on one empty cell stops.
bool IsStraightFour(const CaroJudge& judge, Line line) {
    if (!IsFour(judge, line)) return false;
    for (Cell& c : line) {
        if (&c == &line[Centre] || c != Cell::Empty) continue;
        c = Cell::Opponent;
        if (!IsFour(judge, line)) return false;
        c = Cell::Empty;
    }
    return true;
}

// Words with the off-board cells of each side starting at `edge` (1..6 cells
// out, 6 for none) and the cells inside it running through 0..2.
void ForEachWord(auto&& visit) {
    for (int negativeEdge = 1; negativeEdge <= HalfLength + 1; ++negativeEdge)
        for (int positiveEdge = 1; positiveEdge <= HalfLength + 1; ++positiveEdge) {
            const int free = negativeEdge + positiveEdge - 2;
            int count = 1;
            for (int k = 0; k < free; ++k) count *= 3;
            for (int n = 0; n < count; ++n) {
                std::uint32_t word = 0;
                int digits = n;
                for (int k = 1; k <= HalfLength; ++k) {
                    const bool negativeOn = k < negativeEdge;
                    const bool positiveOn = k < positiveEdge;
                    std::uint32_t low = OffBoard, high = OffBoard;
                    if (negativeOn) low = static_cast<std::uint32_t>(digits % 3), digits /= 3;
                    if (positiveOn) high = static_cast<std::uint32_t>(digits % 3), digits /= 3;
                    word |= low << (10 - 2 * k) | high << (8 + 2 * k);
                }
                visit(word);
            }
        }
}

Line LineOf(std::uint32_t word, int colour) {
    Line line(2 * HalfLength + 1, Cell::Empty);
    for (int k = 1; k <= HalfLength; ++k) {
        for (const auto& [index, cell] : {std::pair {Centre - k, (word >> (10 - 2 * k)) & 3},
                                         std::pair {Centre + k, (word >> (8 + 2 * k)) & 3}}) {
            line[index] = cell == EmptyCell ? Cell::Empty
                          : cell == OffBoard ? Cell::Edge
                          : cell == static_cast<std::uint32_t>(colour) ? Cell::Own
                                                                        : Cell::Opponent;
        }
    }
    return line;
}

class CaroCrossCheck : public ::testing::TestWithParam<int> {
protected:
    void TearDown() override { test::UseTables(15, 15, 0); }
};
INSTANTIATE_TEST_SUITE_P(Rules, CaroCrossCheck, ::testing::Values(8, 9));

// Win points, fours and straight fours for both colours; the blocked fives
// seen keep the sample honest.
TEST_P(CaroCrossCheck, LineCategoriesAgreeWithTheJudgeOnEveryWord) {
    test::UseTables(15, 15, GetParam());
    const CaroJudge judge((GetParam() & 1) != 0);
    int failures = 0;
    int blockedFives = 0;
    ForEachWord([&](std::uint32_t word) {
        for (int colour : {Colour1, Colour2}) {
            const Line line = LineOf(word, colour);
            const ThreatCategory engine = LineCategory(colour, word);
            const bool win = Wins(judge, line, Centre);
            const bool four = !win && IsFour(judge, line);
            const bool straight = four && IsStraightFour(judge, line);
            blockedFives += std::count(line.begin() + Centre - 1, line.begin() + Centre + 4, Cell::Own) == 4 &&
                            line[Centre - 2] == Cell::Opponent && line[Centre + 4] == Cell::Opponent;
            const bool engineFour = engine == StraightFour || (engine >= FourDevelopFour && engine <= Four);
            if ((engine == Win) != win || engineFour != four || (engine == StraightFour) != straight) {
                if (++failures <= 10)
                    ADD_FAILURE() << "word " << std::hex << word << std::dec << " colour " << colour << ": engine "
                                  << int(engine) << ", judge win " << win << " four " << four << " straight "
                                  << straight;
            }
        }
    });
    EXPECT_EQ(failures, 0);
    EXPECT_GT(blockedFives, 0);
}

}  // namespace
}  // namespace zomar::referee
