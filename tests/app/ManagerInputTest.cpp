#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "support/EngineProcess.h"

namespace zomar {
namespace {

using test::RunEngine;
using test::TemporaryDirectory;
using ::testing::MatchesRegex;

constexpr const char* Move = "[0-9]+,[0-9]+";

// Odd but legal manager input, each answered in protocol and the run going on
// to "end": `expected` holds one pattern per answer line (diagnostics left out).
struct Case {
    const char* name;
    std::vector<std::string> input;
    std::vector<std::string> expected;
};

// A finished game on 8 x 15 under rule 1: no point is left on the engine's move
// lists, yet 51 points are empty.
constexpr const char* ListlessPosition =
    "1,4,2 2,4,1 1,3,2 1,5,1 2,5,1 7,12,2 3,3,1 2,8,2 4,2,1 1,10,2 5,1,1 2,2,1 5,6,2 2,3,1 2,1,1 7,0,2 1,1,1 "
    "3,10,2 4,4,1 3,0,2 0,0,1 2,7,2 4,8,2 3,1,1 7,5,2 4,3,1 6,6,2 5,3,1 6,3,1 2,9,1 5,12,2 3,9,1 1,13,2 6,10,2 "
    "4,6,1 3,11,2 5,4,2 5,2,1 3,2,1 2,10,2 1,2,1 7,13,2 3,4,1 5,7,2 4,11,2 3,5,1 4,5,1 0,1,1 0,10,2 0,5,1 6,2,1 "
    "0,7,2 7,1,1 0,9,1 6,4,2 1,9,1 4,9,1 3,12,2 5,10,2 5,8,1 4,7,2 2,13,1 0,6,2 6,13,2 7,14,1 7,7,2 4,14,2 1,6,1 "
    "1,7,2";

std::vector<std::string> BoardCommand(const std::string& stones) {
    std::vector<std::string> lines = {"board"};
    std::istringstream items(stones);
    for (std::string item; items >> item;) lines.push_back(item);
    lines.push_back("done");
    return lines;
}

std::vector<std::string> Join(std::vector<std::string> first, const std::vector<std::string>& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

const std::vector<Case> Cases = {
    {"EveryBoardWithAnEmptyPointGetsAMove", Join({"info rule 1", "rectstart 8,15"}, BoardCommand(ListlessPosition)),
     {"OK", Move}},
    // After an imposed move the engine has moved; the reply is its own colour,
    // which holds an open three.
    {"PlayLeavesTheOpponentToMove",
     {"start 15", "play 1,0", "play 2,0", "play 3,0", "turn 10,10"},
     {"OK", "1,0", "2,0", "3,0", "MESSAGE :-\\)\\)", Move}},
    {"TurnOntoAStoneIsRefused",
     {"start 15", "play 7,7", "turn 8,8", "turn 7,7", "turn 8,8", "turn 0,14"},
     {"OK", "7,7", Move, "ERROR Occupied point 7,7", "ERROR Occupied point 8,8", Move}},
    {"BoardNamingAPointTwiceKeepsTheFirstStone",
     {"start 15", "board", "7,7,2", "7,7,2", "done"},
     {"OK", "ERROR Occupied point 7,7", Move}},
    {"RulesNotPlayedAreReported",
     {"info rule 2", "info rule 4", "info rule 9", "start 15", "begin"},
     {"ERROR Rule 4 .*rule 0.*", "ERROR Rule 9 .*rule 1.*", "OK", Move}},
    {"MalformedSearchLimitsAreIgnored",
     {"info max_depth deep", "info max_node x", "start 15", "begin"},
     {"ERROR .*max_depth.*", "ERROR .*max_node.*", "OK", Move}},
};

void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

class ManagerInput : public ::testing::TestWithParam<Case> {};

TEST_P(ManagerInput, IsAnsweredAndTheRunGoesOn) {
    std::vector<std::string> input = {"info max_depth 2", "info timeout_turn 100000", "info time_left 100000000"};
    input.insert(input.end(), GetParam().input.begin(), GetParam().input.end());
    input.push_back("end");
    TemporaryDirectory directory;
    const test::EngineRun run = RunEngine(input, directory.Path().string());
    std::vector<std::string> answers;
    for (const std::string& line : run.lines) {
        if (line.rfind("DEBUG ", 0) != 0) answers.push_back(line);
    }
    ASSERT_EQ(answers.size(), GetParam().expected.size()) << ::testing::PrintToString(answers);
    for (std::size_t i = 0; i < answers.size(); ++i) EXPECT_THAT(answers[i], MatchesRegex(GetParam().expected[i]));
    EXPECT_EQ(run.exitCode, 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, ManagerInput, ::testing::ValuesIn(Cases),
                         [](const ::testing::TestParamInfo<Case>& info) { return info.param.name; });

TEST(ManagerInputScript, FolderNamedLikeTheScriptIsNoScript) {
    TemporaryDirectory directory;
    std::filesystem::create_directory(directory.Path() / "input.txt");
    const test::EngineRun run = RunEngine({"unknown", "end"}, directory.Path().string());
    EXPECT_EQ(run.lines, std::vector<std::string> {"UNKNOWN"});
}

}  // namespace
}  // namespace zomar
