#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "support/EngineProcess.h"

namespace zomar {
namespace {

using test::EngineProcess;
using test::TemporaryDirectory;
using ::testing::MatchesRegex;

constexpr int Side = 15;
constexpr int TurnMs = 300;
using Points = std::vector<std::pair<int, int>>;

// The next line that is not a diagnostic.
std::string Answer(EngineProcess& engine) {
    for (;;) {
        const std::optional<std::string> line = engine.ReadLine();
        if (!line) return "(no answer)";
        if (line->rfind("DEBUG", 0) != 0 && line->rfind("MESSAGE", 0) != 0) return *line;
    }
}

// The stones of an answer: distinct, on the board, and none on a given stone.
void ExpectLegalStones(const std::string& answer, const Points& given) {
    std::set<std::pair<int, int>> taken(given.begin(), given.end());
    std::istringstream words(answer);
    for (std::string word; words >> word;) {
        if (word == "SWAP") continue;
        int x = -1;
        int y = -1;
        char comma = 0;
        std::istringstream(word) >> x >> comma >> y;
        EXPECT_TRUE(x >= 0 && y >= 0 && x < Side && y < Side) << answer;
        EXPECT_TRUE(taken.insert({x, y}).second) << answer;
    }
}

// Each case of SWAP2BOARD, with and without a field after the stones and
// under every rule, gets an answer of its own shape; BOARD then plays on.
TEST(Swap2Opening, EachCaseIsAnsweredInItsShapeWithLegalStones) {
    struct Case {
        Points stones;
        const char* pattern;
    };
    const Case cases[] = {
        {{}, "[0-9]+,[0-9]+ [0-9]+,[0-9]+ [0-9]+,[0-9]+"},
        {{{7, 7}, {8, 7}, {9, 9}}, "SWAP|[0-9]+,[0-9]+( [0-9]+,[0-9]+)?"},
        {{{7, 7}, {8, 7}, {9, 9}, {6, 9}, {8, 9}}, "SWAP|[0-9]+,[0-9]+"},
        {{{7, 7}, {7, 8}, {9, 7}, {8, 8}, {6, 7}}, "SWAP|[0-9]+,[0-9]+"},
    };
    for (const int rule : {0, 1, 4}) {
        TemporaryDirectory directory;
        EngineProcess engine(directory.Path().string());
        engine.Send("START " + std::to_string(Side));
        ASSERT_EQ(engine.ReadLine(), "OK");
        engine.Send("INFO timeout_turn " + std::to_string(TurnMs));
        engine.Send("INFO rule " + std::to_string(rule));
        for (const Case& c : cases) {
            for (const bool withField : {false, true}) {
                engine.Send("INFO time_left 100000");
                engine.Send("SWAP2BOARD");
                for (const auto& [x, y] : c.stones) {
                    engine.Send(std::to_string(x) + "," + std::to_string(y) + (withField ? ",2" : ""));
                }
                engine.Send("DONE");
                const std::string answer = Answer(engine);
                SCOPED_TRACE("rule " + std::to_string(rule) + ", " + std::to_string(c.stones.size()) + " stones");
                EXPECT_THAT(answer, MatchesRegex(c.pattern));
                ExpectLegalStones(answer, c.stones);
            }
        }
        engine.Send("BOARD");
        engine.Send("7,7,2");
        engine.Send("DONE");
        EXPECT_THAT(Answer(engine), MatchesRegex("[0-9]+,[0-9]+"));
        engine.Send("END");
        EXPECT_EQ(engine.WaitForExit(), 0);
    }
}

}  // namespace
}  // namespace zomar
