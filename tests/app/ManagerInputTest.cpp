#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "support/EngineProcess.h"

namespace zomar {
namespace {

std::vector<std::string> Split(const std::string& text) {
    std::vector<std::string> items;
    std::istringstream stream(text);
    for (std::string item; std::getline(stream, item, ';');) items.push_back(item);
    return items;
}

// Odd but legal manager input (lines split at ';'), each answered in protocol and
// the run going on to "end"; one pattern per answer line ("move": any move),
// diagnostics left out.
struct Case {
    const char* input;
    const char* expected;
    bool scriptFolder = false;  // a folder named input.txt in the working directory
    bool scriptFifo = false;    // a named pipe input.txt, which nobody writes to
};

void PrintTo(const Case& c, std::ostream* out) { *out << std::string(c.input).substr(0, 40); }

class ManagerInput : public ::testing::TestWithParam<Case> {};

TEST_P(ManagerInput, IsAnsweredAndTheRunGoesOn) {
    test::TemporaryDirectory directory;
    if (GetParam().scriptFolder) std::filesystem::create_directory(directory.Path() / "input.txt");
    if (GetParam().scriptFifo) {
        if (test::EngineProcess::RunsThroughLauncher()) GTEST_SKIP() << "named pipes are the host's";
        ASSERT_EQ(mkfifo((directory / "input.txt").c_str(), 0600), 0);
    }
    const test::EngineRun run = test::RunEngine(
        Split(std::string("info max_depth 2;info timeout_turn 100000;info time_left 100000000;") + GetParam().input + ";end"),
        directory.Path().string());
    std::vector<std::string> answers;
    for (const std::string& line : run.lines) {
        if (line.rfind("DEBUG ", 0) != 0) answers.push_back(line);
    }
    const std::vector<std::string> expected = Split(GetParam().expected);
    ASSERT_EQ(answers.size(), expected.size()) << ::testing::PrintToString(answers);
    for (std::size_t i = 0; i < answers.size(); ++i) {
        EXPECT_THAT(answers[i], ::testing::MatchesRegex(expected[i] == "move" ? "[0-9]+,[0-9]+" : expected[i]));
    }
    EXPECT_EQ(run.exitCode, 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, ManagerInput, ::testing::Values(
    // After PLAY the engine has moved: its reply is for its own open three.
    Case {"start 15;play 1,0;play 2,0;play 3,0;turn 10,10", "OK;1,0;2,0;3,0;MESSAGE :-\\)\\);move"},
    Case {"start 15;play 7,7;turn 8,8;turn 7,7;turn 8,8;turn 0,14",
          "OK;7,7;move;ERROR Occupied point 7,7;ERROR Occupied point 8,8;move"},
    Case {"start 15;board;7,7,2;7,7,2;done", "OK;ERROR Occupied point 7,7;move"},
    Case {"info rule 2;info rule 4;info rule 9;info rule 12;info rule 17;start 15;begin",
          "ERROR Rule 12 .*rule 4.*;ERROR Rule 17 .*rule 1.*;OK;move"},
    Case {"info max_depth deep;info max_node x;start 15;begin", "ERROR .*max_depth.*;ERROR .*max_node.*;OK;move"},
    Case {"unknown", "UNKNOWN", true},
    Case {"info rule 4294967295;start 15;begin",
          "ERROR Rule 4294967295 is not supported, playing rule 7 instead\\.;OK;move"},
    Case {"start 15;play 7,7;play 7,7", "OK;7,7;ERROR Occupied point 7,7"},
    // A move or stone that is not two (three) numbers is refused and places
    // nothing: 0,0 and 7,0 stay empty.
    Case {"start 15;TURN 7 7;TURN abc;TURN 0x7,7;TURN;PLAY 7 7;play;turn 0,0;turn 7,0",
          "OK;ERROR Ignored TURN 7 7: not a move x,y\\.;ERROR Ignored TURN abc: .*;ERROR Ignored TURN 0x7,7: .*;"
          "ERROR Ignored TURN: .*;ERROR Ignored PLAY 7 7: .*;ERROR Ignored play: .*;move;move"},
    Case {"start 15;board;7 7 1;START 20;xyz;3,3,2;done;turn 0,0;turn 7,0",
          "OK;ERROR Ignored 7 7 1: not a stone x,y,field\\.;ERROR Ignored START 20: .*;ERROR Ignored xyz: .*;"
          "move;move;move"},
    Case {"start 15;board;3,3,2;end;done", "OK"},
    // A lone CR ends a line, blanks before a command are skipped; an INFO line
    // whose key follows two blanks names no key and is ignored.
    Case {"start 15\rbegin\r about;  turn 3,3;info  max_depth x", "OK;move;name=.*;move"},
    Case {.input = "start 15", .expected = "OK", .scriptFifo = true},
    // A finished game under rule 1 where no point is left on the engine's move
    // lists, yet 51 points are empty.
    Case {"info rule 1;rectstart 8,15;board;1,4,2;2,4,1;1,3,2;1,5,1;2,5,1;7,12,2;3,3,1;2,8,2;4,2,1;1,10,2;5,1,1;2,2,1;"
          "5,6,2;2,3,1;2,1,1;7,0,2;1,1,1;3,10,2;4,4,1;3,0,2;0,0,1;2,7,2;4,8,2;3,1,1;7,5,2;4,3,1;6,6,2;5,3,1;6,3,1;2,9,1;"
          "5,12,2;3,9,1;1,13,2;6,10,2;4,6,1;3,11,2;5,4,2;5,2,1;3,2,1;2,10,2;1,2,1;7,13,2;3,4,1;5,7,2;4,11,2;3,5,1;4,5,1;"
          "0,1,1;0,10,2;0,5,1;6,2,1;0,7,2;7,1,1;0,9,1;6,4,2;1,9,1;4,9,1;3,12,2;5,10,2;5,8,1;4,7,2;2,13,1;0,6,2;6,13,2;"
          "7,14,1;7,7,2;4,14,2;1,6,1;1,7,2;done", "OK;move"}));

}  // namespace
}  // namespace zomar
