#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <string>

#include "EngineSession.h"

namespace zomar {
namespace {

// The "threats" map against a brute-force oracle: a point is marked Win for a
// side exactly when its stone there completes five or more, the engine's own
// side first; stones are marked "--".
class ThreatsCommandTest : public EngineSession {
protected:
    bool MakesFive(std::uint32_t x, std::uint32_t y, int colour) const {
        const int steps[4][2] = {{1, 0}, {0, 1}, {1, 1}, {1, -1}};
        for (const auto& step : steps) {
            int run = 1;
            for (int sign : {1, -1}) {
                int cx = static_cast<int>(x) + sign * step[0];
                int cy = static_cast<int>(y) + sign * step[1];
                while (cx >= 0 && cy >= 0 && cx < 20 && cy < 20 && StoneAt(cx, cy) == colour) {
                    ++run;
                    cx += sign * step[0];
                    cy += sign * step[1];
                }
            }
            if (run >= 5) return true;
        }
        return false;
    }
};

TEST_F(ThreatsCommandTest, WinMarksAreExactlyThePointsThatCompleteFive) {
    std::mt19937 random(16);
    for (int trial = 0; trial < 20; ++trial) {
        // Distinct stones crowded into a 7 x 7 corner make many fours; the
        // engine's stones (field 1) show which colour is its own.
        std::vector<std::uint32_t> points(49);
        std::iota(points.begin(), points.end(), 0u);
        std::shuffle(points.begin(), points.end(), random);
        engine->HandleLine("board");
        for (std::uint32_t stone = 0; stone < 20; ++stone) {
            const std::uint32_t field = stone == 0 ? 1 : 1 + random() % 2;
            engine->HandleLine(MoveText(points[stone] % 7, points[stone] / 7) + "," + std::to_string(field));
        }
        engine->HandleLine("done");
        TakeLines();
        const int own = StoneAt(points[0] % 7, points[0] / 7);
        engine->HandleLine("threats");
        const std::vector<std::string> answers = TakeAnswers();
        ASSERT_EQ(answers.size(), 1u);
        const std::string map = answers[0].substr(std::string("THREATS ").size());
        ASSERT_EQ(map.size(), 2u * 400);
        for (std::uint32_t p = 0; p < 400; ++p) {
            const std::uint32_t x = p % 20, y = p / 20;
            if (StoneAt(x, y) != 0) {
                EXPECT_EQ(map.substr(2 * p, 2), "--");
                continue;
            }
            EXPECT_EQ(map[2 * p] == 'a', MakesFive(x, y, own)) << x << "," << y;
            EXPECT_EQ(map[2 * p + 1] == 'a', MakesFive(x, y, 3 - own)) << x << "," << y;
        }
    }
}

}  // namespace
}  // namespace zomar
