#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

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

// Every empty point of the engine's board against the judge, black being
// engine colour `black`; false at the first disagreement. Counts the
// forbidden points seen.
bool Agrees(const ListBoard& board, RenjuJudge& judge, int black, int& forbidden) {
    for (int y = 0; y < Side; ++y) {
        for (int x = 0; x < Side; ++x) {
            const Coord p = test::At(x, y);
            if (board.stone[p] != EmptyCell) continue;
            const bool engine = IsForbiddenPoint(board, p, black);
            if (engine != judge.IsForbidden({x, y})) {
                ADD_FAILURE() << "(" << x << "," << y << ") engine " << engine << ", black " << black << "\n"
                              << test::Diagram(board);
                return false;
            }
            forbidden += engine;
        }
    }
    return true;
}

// Half the positions are random stones crowded into a 9x9 corner of the board
// (dense black shapes, edges), half are prefixes of random games in which
// black never plays a point the judge forbids.
TEST(ForbiddenPointCrossCheck, EngineAgreesWithTheJudge) {
    test::UseTables(Side, Side, 4);
    std::mt19937 random(20261208);
    const int positions = PositionCount();
    int checked = 0;
    int forbidden = 0;
    while (checked < positions) {
        const int black = checked % 3 == 0 ? Colour2 : Colour1;
        const auto judgeColour = [&](int colour) { return colour == black ? Stone::Black : Stone::White; };
        auto board = test::EmptyBoard(Side, Side);
        RenjuJudge judge(Side, Side);
        if (checked % 2 == 0) {
            const int area = 4 + static_cast<int>(random() % 6);
            const int stones = static_cast<int>(random() % (area * area / 2 + 1));
            for (int i = 0; i < stones; ++i) {
                const int x = static_cast<int>(random() % area);
                const int y = static_cast<int>(random() % area);
                const Coord p = test::At(x, y);
                if (board->stone[p] != EmptyCell) continue;
                const int colour = random() % 5 < 3 ? black : 3 - black;
                if (board->ToMoveColour() != colour) board->MakeMove(PassCoord);
                board->MakeMove(p);
                judge.Set({x, y}, judgeColour(colour));
            }
            if (!Agrees(*board, judge, black, forbidden)) return;
            ++checked;
            continue;
        }
        // A game from the centre: every position on the way is compared.
        if (board->ToMoveColour() != black) board->MakeMove(PassCoord);
        for (int move = 0; move < 50 && checked < positions; ++move) {
            const int colour = board->ToMoveColour();
            int x = 0;
            int y = 0;
            do {
                x = Side / 2 - 4 + static_cast<int>(random() % 9);
                y = Side / 2 - 4 + static_cast<int>(random() % 9);
            } while (board->stone[test::At(x, y)] != EmptyCell ||
                     (colour == black && judge.IsForbidden({x, y})));
            if (colour == black && judge.MakesExactFive({x, y})) break;
            board->MakeMove(test::At(x, y));
            judge.Set({x, y}, judgeColour(colour));
            if (!Agrees(*board, judge, black, forbidden)) return;
            ++checked;
        }
    }
    // The sample must hold forbidden points in numbers to mean anything.
    EXPECT_GT(forbidden, positions / 10);
}

}  // namespace
}  // namespace zomar::referee
