#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "support/EngineProcess.h"
#include "support/TemporaryDirectory.h"

namespace zomar::test {
namespace {

// Keeps the board of a game between two engines and judges every move.
class Referee {
public:
    Referee(int width, int height) : width(width), height(height), cells(width * height, 0) {}

    bool IsLegal(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height && Cell(x, y) == 0; }

    // Places a stone; true when it completes five or more in a row.
    bool Place(int x, int y, int colour) {
        cells[x + y * width] = colour;
        ++stones;
        static constexpr std::array<std::array<int, 2>, 4> steps = {{{1, 0}, {0, 1}, {1, 1}, {1, -1}}};
        for (const auto& step : steps) {
            const int run = 1 + RunFrom(x, y, step[0], step[1], colour) + RunFrom(x, y, -step[0], -step[1], colour);
            if (run >= 5) return true;
        }
        return false;
    }

    bool IsFull() const { return stones == width * height; }

private:
    int Cell(int x, int y) const { return cells[x + y * width]; }

    int RunFrom(int x, int y, int dx, int dy, int colour) const {
        int run = 0;
        for (x += dx, y += dy; x >= 0 && y >= 0 && x < width && y < height && Cell(x, y) == colour; x += dx, y += dy) {
            ++run;
        }
        return run;
    }

    int width;
    int height;
    std::vector<int> cells;
    int stones = 0;
};

struct Move {
    int x = -1;
    int y = -1;
};

// The engine's next move; fails the test on an error line or a missing answer.
std::optional<Move> ReadMove(EngineProcess& engine) {
    while (std::optional<std::string> line = engine.ReadLine()) {
        EXPECT_NE(line->rfind("ERROR", 0), 0u) << *line;
        if (line->rfind("MESSAGE ", 0) == 0 || line->rfind("DEBUG ", 0) == 0) continue;
        Move move;
        char end = 0;
        if (std::sscanf(line->c_str(), "%d,%d%c", &move.x, &move.y, &end) == 2) return move;
        ADD_FAILURE() << "not a move: " << *line;
        return std::nullopt;
    }
    ADD_FAILURE() << "no answer from the engine";
    return std::nullopt;
}

void Prepare(EngineProcess& engine, const std::string& startCommand) {
    for (const char* setting : {"info max_depth 3", "info timeout_turn 100000", "info time_left 100000000"}) {
        engine.Send(setting);
    }
    engine.Send(startCommand);
    EXPECT_EQ(engine.ReadLine(), std::optional<std::string>("OK"));
}

enum class Outcome { Five, FullBoard, Broken };

// Plays one game: first opens with "begin", then each side gets the other's
// move with "turn" until a five or a full board.
Outcome PlayGame(EngineProcess& first, EngineProcess& second, int width, int height) {
    Referee referee(width, height);
    EngineProcess* players[2] = {&first, &second};
    first.Send("begin");
    for (int turn = 0;; ++turn) {
        const std::optional<Move> move = ReadMove(*players[turn % 2]);
        if (!move) return Outcome::Broken;
        if (!referee.IsLegal(move->x, move->y)) {
            ADD_FAILURE() << "illegal move " << move->x << "," << move->y << " at turn " << turn;
            return Outcome::Broken;
        }
        if (referee.Place(move->x, move->y, turn % 2 + 1)) return Outcome::Five;
        if (referee.IsFull()) return Outcome::FullBoard;
        players[(turn + 1) % 2]->Send("turn " + std::to_string(move->x) + "," + std::to_string(move->y));
    }
}

struct GameSize {
    int width;
    int height;
};

void PrintTo(const GameSize& size, std::ostream* out) { *out << size.width << "x" << size.height; }

class RefereeTest : public ::testing::TestWithParam<GameSize> {};

TEST_P(RefereeTest, TwoEnginesPlayAGameToItsEnd) {
    const GameSize size = GetParam();
    const std::string startCommand =
        "rectstart " + std::to_string(size.width) + "," + std::to_string(size.height);
    TemporaryDirectory firstDirectory;
    TemporaryDirectory secondDirectory;
    EngineProcess first(firstDirectory.Path().string());
    EngineProcess second(secondDirectory.Path().string());
    Prepare(first, startCommand);
    Prepare(second, startCommand);

    EXPECT_NE(PlayGame(first, second, size.width, size.height), Outcome::Broken);

    first.Send("end");
    second.Send("end");
    EXPECT_EQ(first.WaitForExit(), 0);
    EXPECT_EQ(second.WaitForExit(), 0);
}

INSTANTIATE_TEST_SUITE_P(BoardSizes, RefereeTest,
                         ::testing::Values(GameSize{15, 15}, GameSize{20, 20}, GameSize{6, 5}, GameSize{2, 2}),
                         [](const ::testing::TestParamInfo<GameSize>& info) {
                             return std::to_string(info.param.width) + "x" + std::to_string(info.param.height);
                         });

}  // namespace
}  // namespace zomar::test
