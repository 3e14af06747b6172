// The engine listens while it thinks: STOP and END reach a search, other lines
// wait for its answer, and pondering gives way to any line.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "support/EngineProcess.h"
#include "support/TemporaryDirectory.h"

namespace zomar::test {
namespace {

using ::testing::IsEmpty;
using ::testing::Optional;
using ::testing::StartsWith;
using Clock = std::chrono::steady_clock;

// A quiet 20 x 20 position whose search would take the whole long turn.
// clang-format off
const std::vector<std::string> LongThink = {"info timeout_turn 600000", "info time_left 100000000", "start 20",
                                            "board", "10,10,2", "10,11,1", "12,12,2", "8,9,1", "done"};
// clang-format on
const std::set<std::string> Stones = {"10,10", "10,11", "12,12", "8,9"};
// Far more than an answer to STOP takes, far less than the think it ends.
constexpr int PromptMs = 5000;

long long MsSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

bool IsMove(const std::string& line) {
    return !line.empty() && line.find_first_not_of("0123456789,") == std::string::npos;
}

// Starts the long think and waits until the engine is in it.
void StartLongThink(EngineProcess& engine) {
    for (const std::string& line : LongThink) engine.Send(line);
    ASSERT_EQ(engine.ReadLine(), "OK");
    ASSERT_EQ(engine.ReadLine(300), std::nullopt) << "the engine should still be thinking";
}

// The lines up to and with the move, the move checked to be a legal point.
std::vector<std::string> ReadMove(EngineProcess& engine) {
    std::vector<std::string> lines;
    while (const std::optional<std::string> line = engine.ReadLine(PromptMs)) {
        if (line->rfind("DEBUG ", 0) == 0 || line->rfind("MESSAGE ", 0) == 0) continue;
        lines.push_back(*line);
        if (IsMove(*line)) break;
    }
    unsigned x = 99;
    unsigned y = 99;
    const std::string move = lines.empty() ? "" : lines.back();
    EXPECT_EQ(std::sscanf(move.c_str(), "%u,%u", &x, &y), 2) << move;
    EXPECT_TRUE(x < 20 && y < 20 && !Stones.count(move)) << move;
    return lines;
}

class Listening : public ::testing::Test {
protected:
    TemporaryDirectory directory;
};

TEST_F(Listening, StopAnswersAtOnceAndLinesDuringAThinkFollowTheMoveInOrder) {
    EngineProcess engine(directory.Path().string());
    StartLongThink(engine);
    engine.Send("about");
    engine.Send("frobnicate");
    engine.Send(" StOp");
    EXPECT_EQ(ReadMove(engine).size(), 1u) << "the move first, within PromptMs";
    EXPECT_THAT(engine.ReadLine(), Optional(StartsWith("name=\"Zomar\"")));
    EXPECT_EQ(engine.ReadLine(), "UNKNOWN");

    // YXSTOP likewise, also through a search for several candidates; STOP
    // with nothing to stop is not answered.
    engine.Send("yxboard 10,10,2 10,11,1 12,12,2 8,9,1 done");
    engine.Send("yxnbest 3");
    ASSERT_EQ(engine.ReadLine(300), std::nullopt);
    engine.Send("yxstop");
    EXPECT_EQ(ReadMove(engine).size(), 1u);
    engine.Send("stop");
    engine.Send("about");
    EXPECT_THAT(engine.ReadLine(), Optional(StartsWith("name=\"Zomar\"")));
    engine.Send("end");
    EXPECT_EQ(engine.WaitForExit(), 0);
}

TEST_F(Listening, EndDuringAThinkEndsTheProcessWithoutAnotherLine) {
    EngineProcess engine(directory.Path().string());
    StartLongThink(engine);
    engine.Send("END");
    EXPECT_EQ(engine.WaitForExit(PromptMs), 0);
    EXPECT_THAT(engine.ReadAllLines(), IsEmpty());
}

// Lines written before a think began wait their turn: a whole session written
// at once is answered whole, and the end of input during the think still gets
// the move.
TEST_F(Listening, ASessionWrittenAtOnceIsAnsweredWhole) {
    // A depth limit, not the clock, ends this think: a search may stop
    // deepening well before its time runs out.
    std::vector<std::string> session = {"info timeout_turn 600000", "info max_depth 10"};
    session.insert(session.end(), LongThink.begin() + 2, LongThink.end());
    session.insert(session.end(), {"stop", "about"});
    const EngineRun run = RunEngine(session, directory.Path().string());
    std::vector<std::string> answers;
    bool reachedLimit = false;
    for (const std::string& line : run.lines) {
        reachedLimit = reachedLimit || line.rfind("DEBUG deep = 10 ", 0) == 0;
        if (line.rfind("DEBUG ", 0) != 0 && line.rfind("MESSAGE ", 0) != 0) answers.push_back(line);
    }
    ASSERT_EQ(answers.size(), 3u);
    EXPECT_EQ(answers[0], "OK");
    EXPECT_TRUE(IsMove(answers[1])) << answers[1];
    EXPECT_THAT(answers[2], StartsWith("name=\"Zomar\""));
    EXPECT_TRUE(reachedLimit) << "the STOP written ahead did not cut the think short";
    EXPECT_EQ(run.exitCode, 0);
}

// While the engine ponders, a line is answered as by an idle engine and the
// next move keeps its turn time.
TEST_F(Listening, PonderingGivesWayToEveryLine) {
    EngineProcess engine(directory.Path().string());
    const int turnMs = 400;
    engine.Send("info pondering 1");
    engine.Send("info timeout_turn " + std::to_string(turnMs));
    for (std::size_t i = 2; i < LongThink.size(); ++i) engine.Send(LongThink[i]);
    ASSERT_EQ(engine.ReadLine(), "OK");
    ReadMove(engine);
    ASSERT_EQ(engine.ReadLine(300), std::nullopt);
    engine.Send("about");
    EXPECT_THAT(engine.ReadLine(PromptMs), Optional(StartsWith("name=\"Zomar\"")));
    const Clock::time_point asked = Clock::now();
    engine.Send("turn 0,0");
    EXPECT_EQ(ReadMove(engine).size(), 1u);
    EXPECT_LT(MsSince(asked), turnMs + 250) << "a 250 ms allowance for a loaded machine";
    engine.Send("end");
    EXPECT_EQ(engine.WaitForExit(), 0);
}

// The last iteration block's node count, and the reply its line expects.
struct Think {
    long long nodes = -1;
    char reply[16] = "";
};

Think ReadThink(EngineProcess& engine) {
    Think think;
    for (const std::string& line : ReadMove(engine)) {
        std::sscanf(line.c_str(), "INFO TOTALNODES %lld", &think.nodes);
        std::sscanf(line.c_str(), "INFO BESTLINE %*s %15s", think.reply);
    }
    return think;
}

// Pondering searches the position after the reply the engine expects: when the
// opponent plays it, the think finds most of its tree in the table and places
// less than half the stones it places without pondering (pondering the position
// before the reply saves about a third here).
TEST_F(Listening, APonderedReplyIsAnsweredFromTheTable) {
    auto nodesAfterReply = [&](const std::string& pondering, int waitMs) {
        EngineProcess engine(directory.Path().string());
        for (const char* line : {"info show_detail 2", "info max_depth 6", pondering.c_str()}) engine.Send(line);
        for (const std::string& line : LongThink) engine.Send(line);
        EXPECT_EQ(engine.ReadLine(), "OK");
        const std::string reply = ReadThink(engine).reply;
        std::this_thread::sleep_for(std::chrono::milliseconds(waitMs));
        engine.Send("turn " + reply);
        return ReadThink(engine).nodes;
    };
    const long long cold = nodesAfterReply("info pondering 0", 0);
    ASSERT_GT(cold, 0);
    // The ponder needs a few milliseconds of processor; a loaded machine may
    // not give them within the first wait, so each try waits longer.
    long long pondered = cold;
    for (int waitMs = 200; waitMs <= 5000 && 2 * pondered >= cold; waitMs *= 5) {
        pondered = nodesAfterReply("info pondering 1", waitMs);
    }
    EXPECT_LT(2 * pondered, cold);
}

}  // namespace
}  // namespace zomar::test
