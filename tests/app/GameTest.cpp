#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "support/EngineProcess.h"
#include "support/TemporaryDirectory.h"

namespace zomar::test {
namespace {

// Searches stay small: a fixed depth and a turn time that never cuts it short.
const std::vector<std::string> FastSettings = {"info max_depth 4", "info timeout_turn 100000",
                                               "info time_left 100000000"};

bool IsMoveLine(const std::string& line) {
    const std::size_t comma = line.find(',');
    if (comma == std::string::npos || comma == 0 || comma + 1 == line.size()) return false;
    return std::all_of(line.begin(), line.end(), [](char c) { return c == ',' || (c >= '0' && c <= '9'); });
}

bool StartsWith(const std::string& line, const std::string& start) { return line.rfind(start, 0) == 0; }

std::vector<std::string> WithoutDiagnostics(const std::vector<std::string>& lines) {
    std::vector<std::string> kept;
    std::copy_if(lines.begin(), lines.end(), std::back_inserter(kept),
                 [](const std::string& line) { return !StartsWith(line, "DEBUG "); });
    return kept;
}

std::vector<std::string> Session(std::vector<std::string> commands) {
    std::vector<std::string> input = FastSettings;
    input.insert(input.end(), commands.begin(), commands.end());
    input.push_back("end");
    TemporaryDirectory workingDirectory;
    const EngineRun run = RunEngine(input, workingDirectory.Path().string());
    EXPECT_EQ(run.exitCode, 0);
    return WithoutDiagnostics(run.lines);
}

TEST(GameTest, MoveOffTheStartUpBoardEndsTheProgram) {
    TemporaryDirectory workingDirectory;
    const EngineRun run = RunEngine({"turn 25,3", "about"}, workingDirectory.Path().string());
    EXPECT_EQ(run.lines, std::vector<std::string>{"ERROR std::exception: X coord overflow."});
    EXPECT_EQ(run.exitCode, 1);
}

TEST(GameTest, BeginOnANewBoardOpensInTheCentre) {
    EXPECT_EQ(Session({"start 15", "begin"}), (std::vector<std::string>{"OK", "7,7"}));
    EXPECT_EQ(Session({"rectstart 20,10", "begin"}), (std::vector<std::string>{"OK", "10,5"}));
}

TEST(GameTest, GameCommandsAnswerInTurn) {
    const std::vector<std::string> lines =
        Session({"start 20", "turn 10,10", "turn 11,11", "takeback 11,11", "restart", "play 3,4", "play 5,5"});
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[0], "OK");
    EXPECT_TRUE(IsMoveLine(lines[1])) << lines[1];
    EXPECT_TRUE(IsMoveLine(lines[2])) << lines[2];
    EXPECT_NE(lines[2], "11,11");
    EXPECT_EQ(lines[3], "ERROR TAKEBACK not supported, use BOARD instead.");
    EXPECT_EQ(lines[4], "OK");
    EXPECT_EQ(lines[5], "3,4");
    EXPECT_EQ(lines[6], "5,5");
}

TEST(GameTest, BoardWithAllFieldsIsLoadedAndAnswered) {
    // The opponent's four on row 5 is closed at (2, 5): the engine must take (7, 5).
    const std::vector<std::string> lines = Session(
        {"start 20", "board", "2,5,1", "3,5,2", "10,10,1", "4,5,2", "1,1,3", "12,12,1", "5,5,2", "14,14,1", "6,5,2",
         "done"});
    EXPECT_EQ(lines, (std::vector<std::string>{"OK", "ERROR Continual game not supported.", "7,5"}));
}

TEST(GameTest, OwnFourIsCompletedWithThePicture) {
    const std::vector<std::string> lines =
        Session({"board", "5,7,1", "5,9,2", "6,7,1", "6,9,2", "7,7,1", "7,9,2", "8,7,1", "done"});
    ASSERT_EQ(lines.size(), 12u);
    EXPECT_EQ(lines[0], "MESSAGE    .-. ");
    EXPECT_EQ(lines[10], "MESSAGE .'.-/`-. `.  .\\| ");
    EXPECT_TRUE(lines[11] == "4,7" || lines[11] == "9,7") << lines[11];
}

TEST(GameTest, ThreatsMarkBlacksForbiddenPointsOnlyUnderRenju) {
    // Black (the engine: its letter first) to move; returns the offsets of the
    // upper-case letters.
    const auto marked = [](const std::string& rule, const std::vector<std::string>& blackStones) {
        std::vector<std::string> commands = {"info rule " + rule, "start 15"};
        for (const std::string& stone : blackStones) commands.push_back("play " + stone);
        commands.push_back("threats");
        const std::vector<std::string> lines = Session(commands);
        EXPECT_TRUE(StartsWith(lines.back(), "THREATS "));
        std::set<std::size_t> offsets;
        for (std::size_t i = 8; i < lines.back().size(); ++i) {
            if (std::isupper(static_cast<unsigned char>(lines.back()[i]))) offsets.insert(i - 8);
        }
        return offsets;
    };
    // 7,7 makes two open threes, forbidden; with 4,7 too it makes a four and a
    // three, which black may play.
    const std::vector<std::string> doubleThree = {"5,7", "6,7", "7,5", "7,6"};
    std::vector<std::string> fourThree = doubleThree;
    fourThree.push_back("4,7");
    const std::size_t h8 = 2 * (7 * 15 + 7);
    EXPECT_TRUE(marked("0", doubleThree).empty());
    EXPECT_EQ(marked("4", doubleThree), std::set<std::size_t>{h8});
    EXPECT_TRUE(marked("4", fourThree).empty());
}

// Under renju the rules follow the colours, and a BOARD list gives them by its
// stone counts in whatever order it comes. White wins with six: the gap 5,2
// completes one, which the engine takes as white and blocks as black.
TEST(GameTest, RenjuColoursFollowTheStoneCountsOfABoardList) {
    const std::vector<std::string> whiteSix = {"2,2", "3,2", "4,2", "6,2", "7,2"};
    // As black (field 1) against the six; as white (field 1) with it, black
    // holding one stone more and an overline point at 4,12 it may not play.
    const std::vector<std::string> blackStones[2] = {{"10,10", "13,10", "10,13", "13,13", "7,12"},
                                                     {"2,12", "3,12", "5,12", "6,12", "7,12", "12,6"}};
    for (const bool engineIsWhite : {false, true}) {
        std::vector<std::string> stones;
        for (std::size_t i = 0; i < blackStones[engineIsWhite].size(); ++i) {
            if (i < whiteSix.size()) stones.push_back(whiteSix[i] + (engineIsWhite ? ",1" : ",2"));
            stones.push_back(blackStones[engineIsWhite][i] + (engineIsWhite ? ",2" : ",1"));
        }
        for (const bool whiteFirst : {true, false}) {
            if (!whiteFirst) std::reverse(stones.begin(), stones.end());
            std::vector<std::string> commands = {"info rule 4", "start 15", "board"};
            commands.insert(commands.end(), stones.begin(), stones.end());
            commands.insert(commands.end(), {"done", "threats"});
            const std::vector<std::string> lines = Session(commands);
            ASSERT_GE(lines.size(), 3u);
            EXPECT_EQ(lines[lines.size() - 2], "5,2") << stones.front() << " first";
            // Upper case only on black's letter (the second one when the engine
            // plays white) of its one forbidden point, and an overline is no win.
            std::string marks;
            for (const char c : lines.back().substr(8)) marks += std::isupper(static_cast<unsigned char>(c)) ? c : '.';
            const std::size_t overline = 2 * (12 * 15 + 4) + 1;
            EXPECT_EQ(marks.find_first_not_of('.'), engineIsWhite ? overline : std::string::npos);
            EXPECT_EQ(marks.find_last_not_of('.'), marks.find_first_not_of('.'));
            if (engineIsWhite) {
                EXPECT_NE(marks[overline], 'A');
            }
        }
    }
}

// A tournament's session as the engine answered it before the analysis boards'
// commands came (only the speed line is left out). The same session with those
// settings sent at their defaults, and the keys accepted without effect, must
// write it too.
TEST(GameTest, TournamentSessionWritesTheLinesItAlwaysWrote) {
    const std::vector<std::string> session = {
        "START 15", "INFO timeout_match 300000", "INFO timeout_turn 100000", "INFO max_memory 83886080",
        "INFO game_type 1", "INFO rule 1", "INFO max_depth 6", "BEGIN", "TURN 8,8", "TURN 5,7", "TURN 5,6",
        "TURN 6,5", "TURN 6,6", "TURN 7,6", "BOARD", "7,7,1", "8,8,2", "7,8,1", "9,9,2", "DONE", "INFO rule 4",
        "RESTART", "TURN 7,7", "TURN 6,6", "PLAY 9,9", "END"};
    const std::vector<std::string> transcript = {
        "OK", "7,7", "6,7", "DEBUG deep = 6 - 10", "DEBUG value = 121", "4,6", "DEBUG deep = 6 - 12",
        "DEBUG value = 125", "5,5", "DEBUG deep = 6 - 14", "DEBUG value = 127", "4,4", "DEBUG deep = 6 - 16",
        "DEBUG value = 126", "3,7", "MESSAGE :-))", "6,4", "DEBUG deep = 6 - 10", "DEBUG value = 126", "6,7", "OK",
        "6,7", "DEBUG deep = 6 - 9", "DEBUG value = -122", "5,6", "9,9"};
    const auto linesOf = [](const std::vector<std::string>& input) {
        TemporaryDirectory workingDirectory;
        std::vector<std::string> lines;
        for (const std::string& line : RunEngine(input, workingDirectory.Path().string()).lines) {
            if (!StartsWith(line, "DEBUG AB:")) lines.push_back(line);
        }
        return lines;
    };
    EXPECT_EQ(linesOf(session), transcript);
    std::vector<std::string> withDefaults = session;
    withDefaults.insert(withDefaults.begin() + 7,
                        {"INFO show_detail 0", "INFO hash_size 0", "INFO caution_factor 4", "INFO time_increment 0",
                         "INFO vcthread 0", "INFO nbestsym 1", "INFO usedatabase 0", "INFO database_readonly 0",
                         "INFO start_depth 2", "INFO thread_split_depth 5", "INFO checkmate 1"});
    EXPECT_EQ(linesOf(withDefaults), transcript);
}

// BOARD lines for a diagram at the top left: 'x' the engine's stones, 'o' the
// opponent's, one string per row.
std::vector<std::string> BoardOf(const std::vector<std::string>& rows) {
    std::vector<std::string> lines = {"board"};
    for (std::size_t y = 0; y < rows.size(); ++y)
        for (std::size_t x = 0; x < rows[y].size(); ++x)
            if (rows[y][x] != '.')
                lines.push_back(std::to_string(x) + "," + std::to_string(y) + (rows[y][x] == 'x' ? ",1" : ",2"));
    lines.push_back("done");
    return lines;
}

std::string CaroAnswer(const std::string& rule, const std::vector<std::string>& rows) {
    std::vector<std::string> commands = {"info rule " + rule, "start 15"};
    for (const std::string& line : BoardOf(rows)) commands.push_back(line);
    return Session(commands).back();
}

// The opponent threatens five at (5,10), stopped there or, under caro, at
// (6,10) beyond it; the engine's own five point wins unless opponent stones end
// that five on both sides (the edge does not).
TEST(GameTest, CaroFivesWinUnlessBlockedAtBothEnds) {
    const std::vector<std::string> againstTheEdge = {"xxxx.o", "", "", "", "", "", "", "", "", "", "xoooo."};
    const std::vector<std::string> betweenStones = {".", "", "", "oxxxx.o", "", "", "", "", "", "", "xoooo."};
    for (const std::string rule : {"8", "9"}) {
        EXPECT_EQ(CaroAnswer(rule, againstTheEdge), "4,0") << rule;
        const std::string block = CaroAnswer(rule, betweenStones);
        EXPECT_TRUE(block == "5,10" || block == "6,10") << rule << ": " << block;
    }
    EXPECT_EQ(CaroAnswer("0", betweenStones), "5,3");
}

TEST(GameTest, BenchmarkSearchesEveryPositionFile) {
    if (EngineProcess::RunsThroughLauncher()) GTEST_SKIP() << "the paths are the host's";
    // The folder name's case must survive the protocol's lowercasing.
    TemporaryDirectory workingDirectory;
    const std::filesystem::path folder = workingDirectory.Path() / "Positions";
    std::filesystem::create_directory(folder);
    std::vector<std::string> expectedNames;
    for (const auto& entry : std::filesystem::directory_iterator(ZOMAR_TEST_DATA_DIR)) {
        if (entry.path().extension() != ".txt") continue;
        std::filesystem::copy_file(entry.path(), folder / entry.path().filename());
        expectedNames.push_back((folder / entry.path().filename()).string());
    }
    ASSERT_GE(expectedNames.size(), 3u);
    std::sort(expectedNames.begin(), expectedNames.end());

    const std::string pattern = (folder / "*.txt").string();
    const EngineRun run = RunEngine({"info max_depth 4", "testab " + pattern, "testab " + pattern + "x", "end"},
                                    workingDirectory.Path().string());
    EXPECT_EQ(run.exitCode, 0);
    std::vector<std::string> names;
    std::size_t deepLines = 0;
    for (const std::string& line : run.lines) {
        if (StartsWith(line, "DEBUG deep = ")) {
            ++deepLines;
        } else if (!StartsWith(line, "DEBUG ") && !StartsWith(line, "MESSAGE ") && !StartsWith(line, "ERROR ")) {
            names.push_back(line);
        }
    }
    EXPECT_EQ(names, expectedNames);
    EXPECT_GE(deepLines, 1u);
    const std::vector<std::string> answers = WithoutDiagnostics(run.lines);
    ASSERT_GE(answers.size(), 2u);
    EXPECT_TRUE(StartsWith(answers[answers.size() - 2], "MESSAGE total moves = ")) << answers[answers.size() - 2];
    EXPECT_EQ(answers.back(), "ERROR failed to list direcoty " + pattern + "x");
}

}  // namespace
}  // namespace zomar::test
