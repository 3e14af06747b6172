#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "referee/Referee.h"

namespace zomar::referee {
namespace {

std::vector<std::string> FakeBrain(const std::string& swap2Answers) {
    return {ZOMAR_FAKE_BRAIN, "--swap2", swap2Answers};
}

struct Played {
    GameReport report;
    std::string transcript;
};

// A proposes (it would be black without swap2) and answers the third step.
Played PlaySwap2(const std::string& a, const std::string& b) {
    MatchOptions options;
    options.commands = {FakeBrain(a), FakeBrain(b)};
    options.turnMs = 100;
    options.toleranceMs = 300;
    options.startTimeoutMs = 2000;
    options.folder = std::string(".");
    std::ostringstream transcript;
    Referee referee(options, &transcript);
    GameSetup setup;
    setup.swap2 = true;
    Played played{referee.PlayGame(setup), ""};
    referee.Finish();
    played.transcript = transcript.str();
    return played;
}

// Every way through the opening: who ends up black, what each side is told.
TEST(Swap2Opening, RunsEachAnswerAsManagersDo) {
    struct Case {
        const char* a;
        const char* b;
        int blackSeat;
        const char* choices;
        std::vector<const char*> expected;
    };
    const char* const proposal = "A <- INFO time_left 2147483647\nA <- SWAP2BOARD\nA <- DONE\nA -> 7,7 8,7 9,9\n";
    const char* const choice = "B <- SWAP2BOARD\nB <- 7,7\nB <- 8,7\nB <- 9,9\nB <- DONE\n";
    const Case cases[] = {
        {"7,7 8,7 9,9",
         "SWAP",
         1,
         "A three, B swap",
         {proposal, choice,
          "B -> SWAP\nA <- INFO time_left 2147483647\nA <- BOARD\nA <- 7,7,2\nA <- 8,7,1\nA <- 9,9,2\nA <- DONE\n"}},
        {"7,7 8,7 9,9",
         "8,8",
         0,
         "A three, B white",
         {choice,
          "B -> 8,8\nA <- INFO time_left 2147483647\nA <- BOARD\nA <- 7,7,1\nA <- 8,7,2\nA <- 9,9,1\nA <- 8,8,2\nA <- "
          "DONE\n"}},
        {"7,7 8,7 9,9|SWAP",
         "8,8 8,6",
         0,
         "A three, B two, A swap",
         {"B -> 8,8 8,6\nA <- INFO time_left 2147483647\nA <- SWAP2BOARD\nA <- 7,7\nA <- 8,7\nA <- 9,9\nA <- 8,8\nA <- "
          "8,6\nA <- DONE\nA -> SWAP\n",
          "B <- BOARD\nB <- 7,7,2\nB <- 8,7,1\nB <- 9,9,2\nB <- 8,8,1\nB <- 8,6,2\nB <- DONE\n"}},
        {"7,7 8,7 9,9|6,8",
         "8,8 8,6",
         1,
         "A three, B two, A white",
         {"A -> 6,8\nB <- INFO time_left 2147483647\nB <- BOARD\nB <- 7,7,1\nB <- 8,7,2\nB <- 9,9,1\nB <- 8,8,2\nB <- "
          "8,6,1\nB <- 6,8,2\nB <- DONE\n"}},
    };
    for (const Case& c : cases) {
        const Played played = PlaySwap2(c.a, c.b);
        SCOPED_TRACE(c.choices);
        EXPECT_TRUE(played.report.faults.empty());
        EXPECT_EQ(played.report.setup.blackSeat, c.blackSeat);
        EXPECT_EQ(played.report.swap2, c.choices);
        EXPECT_EQ(played.report.reason, "five");
        for (const char* expected : c.expected)
            EXPECT_NE(played.transcript.find(expected), std::string::npos) << expected;
    }
}

TEST(Swap2Opening, AnswerOfTheWrongShapeOrOnAStoneLoses) {
    struct Case {
        const char* a;
        const char* b;
        const char* reason;
    };
    for (const Case& c : {Case{"7,7 8,7", "SWAP", "illegal swap2 answer of A"},
                          Case{"7,7 8,7 7,7", "SWAP", "illegal swap2 answer of A"},
                          Case{"7,7 8,7 9,9", "SWAP 8,8", "illegal swap2 answer of B"},
                          Case{"7,7 8,7 9,9", "8,8 8,6 8,5", "illegal swap2 answer of B"},
                          Case{"7,7 8,7 9,9", "15,0", "illegal swap2 answer of B"},
                          Case{"7,7 8,7 9,9|8,8 8,6", "8,8 8,6", "illegal swap2 answer of A"}}) {
        const Played played = PlaySwap2(c.a, c.b);
        EXPECT_EQ(played.report.reason, c.reason) << c.a << " / " << c.b;
        ASSERT_EQ(played.report.faults.size(), 1u);
        EXPECT_EQ(played.report.faults[0].kind, FaultKind::IllegalMove);
    }
}

}  // namespace
}  // namespace zomar::referee
