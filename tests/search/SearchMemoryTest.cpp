#include <gtest/gtest.h>

#include <sys/resource.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "search/TranspositionTable.h"
#include "support/EngineProcess.h"

namespace zomar {
namespace {

// Address-space limits and resident-memory figures mean nothing under a
// sanitizer's shadow memory or another launcher.
bool MemoryIsMeasurable() {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    return false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(memory_sanitizer) || __has_feature(thread_sanitizer)
    return false;
#endif
#endif
    return std::getenv("ZOMAR_ENGINE_LAUNCHER") == nullptr;
}

constexpr std::uint64_t MiB = 1024 * 1024;

// Under a 256 MiB address-space limit a 128 GiB table is refused until it fits.
void ExitZeroWhenTheTableHalves() {
    const rlimit limit{256 * MiB, 256 * MiB};
    setrlimit(RLIMIT_AS, &limit);
    const std::size_t asked = std::size_t{1} << 32;
    const TranspositionTable table(asked);
    const std::size_t got = table.EntryCount();
    std::exit(got < asked && got * sizeof(TableEntry) > 16 * MiB ? 0 : 1);
}

TEST(SearchMemoryTest, RefusedTableMemoryHalvesTheTable) {
    if (!MemoryIsMeasurable()) GTEST_SKIP() << "memory limits do not apply here";
    EXPECT_EXIT(ExitZeroWhenTheTableHalves(), testing::ExitedWithCode(0), "");
}

// A game of a few searched moves; returns the engine's lines and its peak
// resident memory. `shell` runs ahead of the engine (for example a ulimit).
struct Game {
    std::vector<std::string> lines;
    std::uint64_t peakBytes = 0;
};
Game PlayShortGame(const std::string& shell, const std::string& maxMemory, int size) {
    test::ChildProcess engine({"/bin/sh", "-c", shell + " exec \"$0\"", test::EngineProcess::EnginePath()}, "");
    for (const std::string& line : {"info max_memory " + maxMemory, std::string("info timeout_turn 300"),
                                    "start " + std::to_string(size), std::string("begin"),
                                    std::string("turn 1,1"), std::string("turn 2,2"), std::string("end")}) {
        engine.Send(line);
    }
    Game game;
    game.lines = engine.ReadAllLines();
    EXPECT_EQ(engine.WaitForExit(), 0);
    game.peakBytes = engine.PeakMemoryBytes();
    return game;
}

int MoveLines(const std::vector<std::string>& lines) {
    int moves = 0;
    for (const std::string& line : lines) {
        EXPECT_NE(line.rfind("ERROR", 0), 0u) << line;
        if (line.find(',') != std::string::npos && line.rfind("DEBUG", 0) != 0 && line.rfind("MESSAGE", 0) != 0) {
            ++moves;
        }
    }
    return moves;
}

TEST(SearchMemoryTest, LimitBeyondTheProcessLimitStillPlays) {
    if (!MemoryIsMeasurable()) GTEST_SKIP() << "memory limits do not apply here";
    const Game game = PlayShortGame("ulimit -v 1000000 &&", "2000000000", 20);
    EXPECT_EQ(MoveLines(game.lines), 3);
}

TEST(SearchMemoryTest, LargeBoardStaysWithinASmallLimit) {
    if (!MemoryIsMeasurable()) GTEST_SKIP() << "memory limits do not apply here";
    const Game game = PlayShortGame("", "10000000", 60);
    EXPECT_EQ(MoveLines(game.lines), 3);
    EXPECT_LE(game.peakBytes, 10000000u);
}

}  // namespace
}  // namespace zomar
