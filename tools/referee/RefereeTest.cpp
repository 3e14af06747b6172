#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "referee/Referee.h"

namespace zomar::referee {
namespace {

// Two scripted brains that fill the board in row order: on 15 x 15 black's
// anti-diagonal (4,0) ... (0,4) is the first five, at the 61st stone.
constexpr int RowOrderFiveMoves = 61;

std::vector<std::string> FakeBrain(std::vector<std::string> script = {}) {
    script.insert(script.begin(), ZOMAR_FAKE_BRAIN);
    return script;
}

MatchOptions Options(std::vector<std::string> a, std::vector<std::string> b) {
    MatchOptions options;
    options.commands = {FakeBrain(std::move(a)), FakeBrain(std::move(b))};
    options.turnMs = 100;
    options.toleranceMs = 300;
    options.startTimeoutMs = 2000;
    options.folder = ".";
    return options;
}

GameSetup Game15(int blackSeat = 0) {
    GameSetup setup;
    setup.blackSeat = blackSeat;
    return setup;
}

int Count(const std::vector<Fault>& faults, FaultKind kind) {
    return static_cast<int>(std::count_if(faults.begin(), faults.end(), [&](const Fault& f) { return f.kind == kind; }));
}

TEST(Referee, PlaysToFiveAndIgnoresDiagnostics) {
    Referee referee(Options({"--chatter"}, {}));
    const GameReport report = referee.PlayGame(Game15());
    EXPECT_EQ(report.winner, Stone::Black);
    EXPECT_EQ(report.reason, "five");
    EXPECT_EQ(report.moves, RowOrderFiveMoves);
    EXPECT_TRUE(report.faults.empty());
    EXPECT_LT(report.slowestMs, 100);
    // Colours swapped in the same processes: B now wins as black.
    const GameReport swapped = referee.PlayGame(Game15(1));
    EXPECT_EQ(swapped.winner, Stone::Black);
    EXPECT_TRUE(swapped.faults.empty());
    EXPECT_TRUE(referee.Finish().empty());
    EXPECT_GT(referee.PeakMemory(0), 0u);
}

TEST(Referee, SendsTheManagersCommandsAndOpenings) {
    std::ostringstream transcript;
    Referee referee(Options({}, {}), &transcript);
    GameSetup setup = Game15();
    setup.rule = 1;
    setup.opening = Opening {"t", {{0, 0}, {1, 1}, {2, 2}}};
    referee.PlayGame(setup);
    referee.PlayGame(Game15());
    referee.Finish();
    const std::string lines = transcript.str();
    for (const char* expected :
         {"A <- START 15\nA -> OK\nA <- INFO timeout_turn 100\nA <- INFO timeout_match 0\n",
          "A <- INFO max_memory 67108864\nA <- INFO rule 1\nA <- INFO game_type 1\nA <- INFO folder .\n",
          // White moves first after the opening; each side's first request is the whole board.
          "B <- INFO time_left 2147483647\nB <- BOARD\nB <- 7,7,2\nB <- 8,8,1\nB <- 9,9,2\nB <- DONE\nB -> 0,0\n",
          "A <- BOARD\nA <- 7,7,1\nA <- 8,8,2\nA <- 9,9,1\nA <- 0,0,2\nA <- DONE\nA -> 1,0\nB <- INFO time_left",
          "B <- TURN 1,0\n", "A <- RESTART\nA -> OK\n", "A <- BEGIN\n", "A <- END\n", "B <- END\n"}) {
        EXPECT_NE(lines.find(expected), std::string::npos) << expected;
    }
}

TEST(Referee, CrashLosesAndTheBrainIsRestarted) {
    Referee referee(Options({"--crash-at", "3"}, {}));
    const GameReport report = referee.PlayGame(Game15());
    EXPECT_EQ(report.winner, Stone::White);
    EXPECT_EQ(report.reason, "crash of A");
    EXPECT_EQ(report.moves, 4);
    ASSERT_EQ(report.faults.size(), 1u);
    EXPECT_EQ(report.faults[0].kind, FaultKind::Crash);
    EXPECT_EQ(report.faults[0].detail, "exited with code 3");
    // A fresh process plays the next game (and crashes there too).
    const GameReport next = referee.PlayGame(Game15(1));
    EXPECT_EQ(next.reason, "crash of A");
    EXPECT_EQ(next.moves, 5);
}

TEST(Referee, OverrunLosesOnTime) {
    Referee referee(Options({}, {"--sleep-at", "2:1500"}));
    const GameReport report = referee.PlayGame(Game15());
    EXPECT_EQ(report.winner, Stone::Black);
    EXPECT_EQ(report.reason, "time overrun of B");
    EXPECT_EQ(Count(report.faults, FaultKind::TimeOverrun), 1);
    EXPECT_GT(report.slowestMs, 300);
    EXPECT_EQ(report.slowestSeat, 1);
    // An answer within the tolerance is late but legal.
    Referee lenient(Options({"--sleep-at", "1:250"}, {}));
    EXPECT_EQ(lenient.PlayGame(Game15()).reason, "five");
}

TEST(Referee, IllegalMovesLose) {
    struct Case {
        std::vector<std::string> white;
        const char* reason;
    };
    for (const Case& c : {Case {{"--moves", "0,0"}, "illegal move (occupied) of B"},
                          Case {{"--moves", "15,0"}, "illegal move (off the board) of B"},
                          Case {{"--garbage-at", "2"}, "illegal move (malformed) of B"}}) {
        Referee referee(Options({}, c.white));
        const GameReport report = referee.PlayGame(Game15());
        EXPECT_EQ(report.winner, Stone::Black);
        EXPECT_EQ(report.reason, c.reason);
        EXPECT_EQ(Count(report.faults, FaultKind::IllegalMove), 1);
    }
}

TEST(Referee, ErrorLinesAreFaultsButPlayGoesOn) {
    Referee referee(Options({"--error-at", "2"}, {}));
    const GameReport report = referee.PlayGame(Game15());
    EXPECT_EQ(report.reason, "five");
    ASSERT_EQ(report.faults.size(), 1u);
    EXPECT_EQ(report.faults[0].kind, FaultKind::ErrorLine);
    EXPECT_EQ(report.faults[0].detail, "ERROR something went wrong");
}

TEST(Referee, BrainThatRefusesToStartLoses) {
    Referee referee(Options({}, {"--refuse-start"}));
    const GameReport report = referee.PlayGame(Game15());
    EXPECT_EQ(report.winner, Stone::Black);
    EXPECT_EQ(report.reason, "no answer to start of B");
    EXPECT_EQ(Count(report.faults, FaultKind::ErrorLine), 1);
    EXPECT_EQ(Count(report.faults, FaultKind::TimeOverrun), 1);
}

TEST(Referee, FullBoardIsADrawAndPeakMemoryIsChecked) {
    // No line of five fits a 4 x 4 board.
    MatchOptions options = Options({}, {});
    options.maxMemory = 1;
    Referee referee(options);
    GameSetup setup;
    setup.width = setup.height = 4;
    const GameReport report = referee.PlayGame(setup);
    EXPECT_EQ(report.winner, Stone::Empty);
    EXPECT_EQ(report.reason, "full board");
    EXPECT_EQ(report.moves, 16);
    const std::vector<Fault> closing = referee.Finish();
    EXPECT_EQ(Count(closing, FaultKind::Memory), 2);
    EXPECT_EQ(Count(closing, FaultKind::Crash), 0);
}

}  // namespace
}  // namespace zomar::referee
