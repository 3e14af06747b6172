#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "support/EngineProcess.h"
#include "support/TemporaryDirectory.h"

namespace zomar::test {
namespace {

constexpr int TurnMs = 1000;
// The engine keeps 80 ms of the turn in reserve; on a loaded test machine the
// answer's delivery can take longer than that, which no engine can help.
constexpr int DeliveryAllowanceMs = 250;

struct Answer {
    std::vector<std::string> lines;  // up to and with the move
    long long elapsedMs = 0;
};

// Sends the commands and reads until the move line, timing the answer.
Answer Ask(EngineProcess& engine, const std::vector<std::string>& commands) {
    const auto asked = std::chrono::steady_clock::now();
    for (const std::string& command : commands) engine.Send(command);
    Answer answer;
    while (const std::optional<std::string> line = engine.ReadLine(10 * TurnMs)) {
        answer.lines.push_back(*line);
        if (line->find_first_not_of("0123456789,") == std::string::npos) break;
    }
    answer.elapsedMs =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - asked).count();
    return answer;
}

bool Has(const Answer& answer, const std::string& start) {
    for (const std::string& line : answer.lines) {
        if (line.rfind(start, 0) == 0) return true;
    }
    return false;
}

// Two search threads: a quiet position takes the turn's time and answers in
// it, a forced win (a four, then a double four) is found, and the process
// ends at END with no thread left behind.
TEST(SearchThreads, TwoThreadsAnswerInTimeFindAForcedWinAndEndWithTheProcess) {
    TemporaryDirectory directory;
    EngineProcess engine(directory.Path().string());
    for (const char* command : {"start 15", "info thread_num 2", "info time_left 100000000"}) {
        engine.Send(command);
    }
    engine.Send("info timeout_turn " + std::to_string(TurnMs));
    EXPECT_EQ(engine.ReadLine(), "OK");
    const Answer quiet = Ask(engine, {"board", "7,7,2", "8,8,1", "8,7,2", "done"});
    EXPECT_TRUE(Has(quiet, "DEBUG threads 2:")) << quiet.lines.back();
    EXPECT_LT(quiet.elapsedMs, TurnMs + DeliveryAllowanceMs);

    const Answer win = Ask(engine, {"board", "9,2,1", "8,3,1", "7,4,1", "3,7,1", "4,7,1", "5,7,1", "6,8,1", "6,9,1",
                                    "10,1,2", "2,7,2", "6,10,2", "done"});
    EXPECT_TRUE(Has(win, "MESSAGE AB :-)"));
    ASSERT_FALSE(win.lines.empty());
    EXPECT_TRUE(win.lines.back() == "6,7" || win.lines.back() == "6,5") << win.lines.back();
    EXPECT_LT(win.elapsedMs, TurnMs + DeliveryAllowanceMs);

    engine.Send("end");
    EXPECT_EQ(engine.WaitForExit(TurnMs), 0);
}

std::size_t ThreadCount(const EngineProcess& engine) {
    const std::filesystem::path tasks = "/proc/" + std::to_string(engine.Pid()) + "/task";
    std::error_code error;
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(tasks, error), {}));
}

// thread_num runs exactly that many search threads, no more than the cores;
// the helpers end with each search, as soon as the first thread answers.
TEST(SearchThreads, ThreadNumRunsThatManyUpToTheCoresAndHelpersEndWithTheSearch) {
    if (EngineProcess::RunsThroughLauncher()) GTEST_SKIP() << "the process is the launcher's";
    TemporaryDirectory directory;
    EngineProcess engine(directory.Path().string());
    for (const char* command : {"start 15", "info time_left 100000000", "info timeout_turn 1000"}) engine.Send(command);
    EXPECT_EQ(engine.ReadLine(), "OK");
    const std::size_t idle = ThreadCount(engine);
    const std::size_t cores = std::max(1u, std::thread::hardware_concurrency());
    for (const std::size_t asked : {std::size_t{2}, std::size_t{64}}) {
        engine.Send("info thread_num " + std::to_string(asked));
        for (const char* command : {"board", "7,7,2", "8,8,1", "8,7,2", "done"}) engine.Send(command);
        std::size_t most = idle;
        for (int wait = 0; wait < 500 && !engine.OutputEnded(); ++wait) {
            most = std::max(most, ThreadCount(engine));
            const std::optional<std::string> line = engine.ReadLine(20);
            if (line && line->find_first_not_of("0123456789,") == std::string::npos) break;
        }
        EXPECT_EQ(most - idle, std::min(asked, cores) - 1) << asked;
        EXPECT_EQ(ThreadCount(engine), idle);
    }

    // Match time for no more than the first iteration (the turn's limit is
    // 3.5 s): the helpers end with it.
    const Answer quick = Ask(engine, {"info thread_num 2", "info timeout_turn 6000", "info time_left 3600", "board",
                                      "7,7,2", "8,8,1", "8,7,2", "done"});
    EXPECT_TRUE(Has(quick, "DEBUG threads 2:"));
    EXPECT_LT(quick.elapsedMs, 1500);
    engine.Send("end");
    EXPECT_EQ(engine.WaitForExit(), 0);
}

}  // namespace
}  // namespace zomar::test
