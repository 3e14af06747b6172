#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "support/EngineProcess.h"
#include "support/TemporaryDirectory.h"

namespace zomar::test {
namespace {

// Whether the engine searched its answer to an open position: only a search
// reports the depth it reached.
bool Searches(EngineProcess& engine) {
    for (const char* command : {"board", "7,7,2", "8,8,1", "8,7,2", "done"}) engine.Send(command);
    bool searched = false;
    while (const std::optional<std::string> line = engine.ReadLine()) {
        if (line->rfind("DEBUG deep = ", 0) == 0) searched = true;
        if (line->find_first_not_of("0123456789,") == std::string::npos) break;
    }
    return searched;
}

// The match deadline is the manager's: a timeout_match after time_left keeps
// time_left's deadline, and with neither sent there is none at all, even
// long after the 30 s that the stored default would give.
TEST(MatchClock, OnlyTheManagersLimitsMakeAMatchDeadline) {
    TemporaryDirectory directory;
    EngineProcess turnOnly(directory.Path().string());
    for (const char* command : {"info timeout_turn 1000", "info max_depth 3", "start 15"}) turnOnly.Send(command);
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(turnOnly.ReadLine(), "OK");

    EngineProcess timeLeftFirst(directory.Path().string());
    for (const char* command : {"info timeout_turn 1000", "info max_depth 3", "info time_left 100000",
                                "info timeout_match 0", "start 15"}) {
        timeLeftFirst.Send(command);
    }
    EXPECT_EQ(timeLeftFirst.ReadLine(), "OK");
    EXPECT_TRUE(Searches(timeLeftFirst));

    std::this_thread::sleep_until(started + std::chrono::milliseconds(30500));
    EXPECT_TRUE(Searches(turnOnly));
}

}  // namespace
}  // namespace zomar::test
