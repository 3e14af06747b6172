#include <gtest/gtest.h>

#include <sys/resource.h>

#include <cstdlib>
#include <string>

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

// Three answers, two searched, from an engine started by `shell`; no ERROR
// line. Returns the peak resident memory in bytes.
std::uint64_t PlayShortGame(const std::string& shell, const std::string& maxMemory, int size) {
    test::ChildProcess engine({"/bin/sh", "-c", shell + " exec \"$0\"", test::EngineProcess::EnginePath()}, "");
    for (const std::string& line : {"info max_memory " + maxMemory, std::string("info timeout_turn 300"),
                                    "start " + std::to_string(size), std::string("begin"),
                                    std::string("turn 1,1"), std::string("turn 2,2"), std::string("end")}) {
        engine.Send(line);
    }
    int moves = 0;
    for (const std::string& line : engine.ReadAllLines()) {
        EXPECT_NE(line.rfind("ERROR", 0), 0u) << line;
        moves += !line.empty() && line.find_first_not_of("0123456789,") == std::string::npos;
    }
    EXPECT_EQ(moves, 3);
    EXPECT_EQ(engine.WaitForExit(), 0);
    return engine.PeakMemoryBytes();
}

TEST(SearchMemoryTest, LimitBeyondTheProcessLimitStillPlays) {
    if (!MemoryIsMeasurable()) GTEST_SKIP() << "memory limits do not apply here";
    PlayShortGame("ulimit -v 1000000 &&", "2000000000", 20);
}

TEST(SearchMemoryTest, LargeBoardStaysWithinASmallLimit) {
    if (!MemoryIsMeasurable()) GTEST_SKIP() << "memory limits do not apply here";
    for (int size : {60, 127}) EXPECT_LE(PlayShortGame("", "10000000", size), 10000000u) << size;
}

}  // namespace
}  // namespace zomar
