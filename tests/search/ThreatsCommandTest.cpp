#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <string>
#include <utility>

#include "support/EngineSession.h"

namespace zomar {
namespace {

using ThreatsCommandTest = EngineSession;

// The "threats" map against a brute-force oracle: a point is marked Win for a
// side exactly when its stone there completes five or more, the engine's own
// side first; stones are marked "--". Random stones crowded into a 7 x 7
// corner make many fours; the engine's (field 1) show its colour.
TEST_F(ThreatsCommandTest, WinMarksAreExactlyThePointsThatCompleteFive) {
    std::mt19937 random(16);
    const std::pair<int, int> steps[] = {{1, 0}, {0, 1}, {1, 1}, {1, -1}};
    const auto makesFive = [&](int x, int y, int colour) {
        for (const auto& [dx, dy] : steps) {
            int run = 1;
            for (int sign : {1, -1}) {
                for (int k = 1; x + sign * k * dx >= 0 && y + sign * k * dy >= 0 && x + sign * k * dx < 20 &&
                                y + sign * k * dy < 20 && StoneAt(x + sign * k * dx, y + sign * k * dy) == colour;
                     ++k) {
                    ++run;
                }
            }
            if (run >= 5) return true;
        }
        return false;
    };
    for (int trial = 0; trial < 20; ++trial) {
        std::vector<std::uint32_t> points(49);
        std::iota(points.begin(), points.end(), 0u);
        std::shuffle(points.begin(), points.end(), random);
        engine->HandleLine("board");
        for (std::uint32_t i = 0; i < 20; ++i) {
            const std::uint32_t field = i == 0 ? 1 : 1 + random() % 2;
            engine->HandleLine(MoveText(points[i] % 7, points[i] / 7) + "," + std::to_string(field));
        }
        engine->HandleLine("done");
        TakeLines();
        const int own = StoneAt(points[0] % 7, points[0] / 7);
        engine->HandleLine("threats");
        const std::vector<std::string> answers = TakeAnswers();
        ASSERT_EQ(answers.size(), 1u);
        ASSERT_EQ(answers[0].size(), std::string("THREATS ").size() + 2 * 400);
        const std::string map = answers[0].substr(8);
        for (int p = 0; p < 400; ++p) {
            const int x = p % 20, y = p / 20;
            if (StoneAt(x, y) != 0) {
                EXPECT_EQ(map.substr(2 * p, 2), "--");
            } else {
                EXPECT_EQ(map[2 * p] == 'a', makesFive(x, y, own)) << x << "," << y;
                EXPECT_EQ(map[2 * p + 1] == 'a', makesFive(x, y, 3 - own)) << x << "," << y;
            }
        }
    }
}

}  // namespace
}  // namespace zomar
