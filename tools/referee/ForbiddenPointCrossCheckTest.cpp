#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <vector>

#include "analysis/ForbiddenPoint.h"
#include "board/Geometry.h"
#include "referee/RenjuJudge.h"
#include "support/PositionBuilder.h"

namespace zomar::referee {
namespace {

constexpr int Side = 15;

// Positions to compare; ZOMAR_FORBIDDEN_CHECK_POSITIONS sets a larger run by hand.
int PositionCount() {
    const char* text = std::getenv("ZOMAR_FORBIDDEN_CHECK_POSITIONS");
    return text != nullptr ? std::atoi(text) : 4000;
}

// Black's forbidden points once white has played w, as the engine reads them
// before the stone is on its board.
std::vector<bool> ForbiddenAfterWhite(const ListBoard& board, int black, Coord w) {
    std::vector<bool> points(boardArea);
    for (Coord q = 0; q < boardArea; ++q) {
        points[q] = q != w && board.stone[q] == EmptyCell && IsForbiddenAfterWhite(board, q, black, w);
    }
    return points;
}

// Every empty point of the engine's board against the judge, black being
// engine colour `black`, also as foreseen before white's last stone when
// given; false at the first disagreement. Counts the forbidden points seen.
bool Agrees(const ListBoard& board, RenjuJudge& judge, int black, int& forbidden,
            const std::vector<bool>& foreseen) {
    for (int y = 0; y < Side; ++y) {
        for (int x = 0; x < Side; ++x) {
            const Coord p = test::At(x, y);
            if (board.stone[p] != EmptyCell) continue;
            const bool engine = IsForbiddenPoint(board, p, black);
            if (engine != judge.IsForbidden({x, y}) || (!foreseen.empty() && foreseen[p] != engine)) {
                ADD_FAILURE() << "(" << x << "," << y << ") engine " << engine << ", black " << black << "\n"
                              << test::Diagram(board);
                return false;
            }
            forbidden += engine;
        }
    }
    return true;
}

// Stones dropped one by one into a window of 5 to 9 points square at the
// board's corner or centre, 3 black to 2 white, with passes where a colour
// repeats; every position on the way is compared, black being either colour.
TEST(ForbiddenPointCrossCheck, EngineAgreesWithTheJudge) {
    test::UseTables(Side, Side, 4);
    std::mt19937 random(20261208);
    const int positions = PositionCount();
    int checked = 0;
    int forbidden = 0;
    for (int game = 0; checked < positions; ++game) {
        const int black = game % 3 == 0 ? Colour2 : Colour1;
        const int window = 5 + static_cast<int>(random() % 5);
        const int corner = game % 2 == 0 ? 0 : (Side - window) / 2;
        auto board = test::EmptyBoard(Side, Side);
        RenjuJudge judge(Side, Side);
        for (int stone = 0; stone < window * window * 3 / 4 && checked < positions; ++stone) {
            const int x = corner + static_cast<int>(random() % window);
            const int y = corner + static_cast<int>(random() % window);
            if (board->stone[test::At(x, y)] != EmptyCell) continue;
            const int colour = random() % 5 < 3 ? black : 3 - black;
            const std::vector<bool> foreseen =
                colour == black ? std::vector<bool>() : ForbiddenAfterWhite(*board, black, test::At(x, y));
            if (board->ToMoveColour() != colour) board->MakeMove(PassCoord);
            board->MakeMove(test::At(x, y));
            judge.Set({x, y}, colour == black ? Stone::Black : Stone::White);
            if (!Agrees(*board, judge, black, forbidden, foreseen)) return;
            ++checked;
        }
    }
    // The sample must hold forbidden points in numbers to mean anything.
    EXPECT_GT(forbidden, positions / 10);
}

}  // namespace
}  // namespace zomar::referee
