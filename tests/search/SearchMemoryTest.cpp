#include <gtest/gtest.h>

#include <sys/resource.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "search/TranspositionTable.h"
#include "support/EngineProcess.h"

namespace zomar {
namespace {

constexpr std::uint64_t MiB = 1024 * 1024;

// A sanitizer's shadow memory or another launcher make limits and figures moot.
bool MemoryIsMeasurable() {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    return false;
#endif
    return !test::EngineProcess::RunsThroughLauncher();
}

// Under a 256 MiB address-space limit a 128 GiB table is refused until it fits.
void ExitZeroWhenTheTableHalves() {
    const rlimit limit{256 * MiB, 256 * MiB};
    setrlimit(RLIMIT_AS, &limit);
    const TranspositionTable table(std::size_t{1} << 32);
    const std::size_t got = table.EntryCount();
    std::exit(got < (std::size_t{1} << 32) && got * sizeof(TableEntry) > 16 * MiB ? 0 : 1);
}

TEST(SearchMemoryTest, RefusedTableMemoryHalvesTheTable) {
    if (!MemoryIsMeasurable()) GTEST_SKIP() << "memory limits do not apply here";
    EXPECT_EXIT(ExitZeroWhenTheTableHalves(), testing::ExitedWithCode(0), "");
}

// Three answers, two searched, with `threads` search threads; no ERROR line.
void PlayGame(test::ChildProcess& engine, const std::string& maxMemory, int size, int threads = 1) {
    for (const std::string& line : {"info max_memory " + maxMemory, "info thread_num " + std::to_string(threads),
                                    std::string("info timeout_turn 300"), "start " + std::to_string(size),
                                    std::string("begin"), std::string("turn 1,1"), std::string("turn 2,2")}) {
        engine.Send(line);
    }
    int moves = 0;
    while (moves < 3) {
        const std::optional<std::string> line = engine.ReadLine();
        if (!line) break;
        EXPECT_NE(line->rfind("ERROR", 0), 0u) << *line;
        moves += !line->empty() && line->find_first_not_of("0123456789,") == std::string::npos;
    }
    EXPECT_EQ(moves, 3);
}

// One game by an engine started by `shell`. Returns the peak resident memory
// in bytes.
std::uint64_t PlayShortGame(const std::string& shell, const std::string& maxMemory, int size, int threads = 1) {
    test::ChildProcess engine({"/bin/sh", "-c", shell + " exec \"$0\"", test::EngineProcess::EnginePath()}, "");
    PlayGame(engine, maxMemory, size, threads);
    engine.Send("end");
    EXPECT_EQ(engine.ReadAllLines(), std::vector<std::string>{});
    EXPECT_EQ(engine.WaitForExit(), 0);
    return engine.PeakMemoryBytes();
}

// A figure of /proc/PID/status in bytes ("VmRSS", "VmHWM", "VmSize").
std::uint64_t StatusBytes(pid_t pid, const std::string& key) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind(key + ":", 0) == 0) return std::stoull(line.substr(key.size() + 1)) * 1024;
    }
    ADD_FAILURE() << key;
    return 0;
}

TEST(SearchMemoryTest, LimitBeyondTheProcessLimitStillPlays) {
    if (!MemoryIsMeasurable()) GTEST_SKIP() << "memory limits do not apply here";
    PlayShortGame("ulimit -v 1000000 &&", "2000000000", 20);
}

TEST(SearchMemoryTest, LargeBoardStaysWithinASmallLimit) {
    if (!MemoryIsMeasurable()) GTEST_SKIP() << "memory limits do not apply here";
    for (int size : {60, 127}) EXPECT_LE(PlayShortGame("", "10000000", size), 10000000u) << size;
}

// A thread (or its stack) the address space cannot hold costs only that
// thread, under a limit set by the manager and under the default one.
TEST(SearchMemoryTest, TwoThreadsUnderAnAddressSpaceLimitStillPlay) {
    if (!MemoryIsMeasurable()) GTEST_SKIP() << "memory limits do not apply here";
    PlayShortGame("ulimit -v 204800 &&", "4294967295", 20, 2);
    PlayShortGame("ulimit -v 65536 &&", "0", 20, 2);
}

// The limit holds for every game of the process: a larger board, a lower and
// a raised limit each size the table again.
TEST(SearchMemoryTest, EachGameKeepsItsOwnLimit) {
    if (!MemoryIsMeasurable()) GTEST_SKIP() << "memory limits do not apply here";
    test::EngineProcess engine;
    PlayGame(engine, "10000000", 15);
    PlayGame(engine, "10000000", 127);
    EXPECT_LE(StatusBytes(engine.Pid(), "VmHWM"), 10000000u);
    PlayGame(engine, "200000000", 20);
    EXPECT_GT(StatusBytes(engine.Pid(), "VmSize"), 100000000u);
    PlayGame(engine, "10000000", 20);
    EXPECT_LE(StatusBytes(engine.Pid(), "VmRSS"), 10000000u);
    engine.Send("end");
    EXPECT_EQ(engine.WaitForExit(), 0);
}

}  // namespace
}  // namespace zomar
