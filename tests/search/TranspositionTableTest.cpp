#include "search/TranspositionTable.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "analysis/Score.h"
#include "board/Geometry.h"

namespace zomar {
namespace {

constexpr std::uint64_t Key = 0x123456789ABCDEF0ull;

class TranspositionTableTest : public ::testing::Test {
protected:
    void SetUp() override { SetBoardSize(15, 15); }

    // Probes with the full window and returns it as the probe left it.
    struct Probe {
        bool found;
        std::int32_t alpha;
        std::int32_t beta;
        Coord move;
    };
    Probe ProbeFullWindow(const TranspositionTable& table, std::uint64_t key, std::int32_t depth) {
        Probe probe{false, SCORE_LOSS, SCORE_WIN, 0};
        probe.found = table.ProbeTable(key, depth, probe.alpha, probe.beta, probe.move);
        return probe;
    }
};

TEST_F(TranspositionTableTest, UnknownPositionsLeaveTheWindowAndGiveNoMove) {
    TranspositionTable table(64);
    // Empty entries hold no bound, whatever key is asked for.
    for (std::uint64_t key : {Key, std::uint64_t{123456789}, std::uint64_t{0}}) {
        const Probe probe = ProbeFullWindow(table, key, 0);
        EXPECT_FALSE(probe.found);
        EXPECT_EQ(probe.alpha, SCORE_LOSS);
        EXPECT_EQ(probe.beta, SCORE_WIN);
        EXPECT_EQ(probe.move, boardArea);
    }
}

TEST_F(TranspositionTableTest, SlotIsTheKeyModuloTheEntryCountAndStoresReplace) {
    TranspositionTable table(7);
    table.StoreTable(Key, 4, 10, 33, BoundExact);
    EXPECT_TRUE(ProbeFullWindow(table, Key, 4).found);

    // Same slot, other position: the probe must compare the whole key.
    const std::uint64_t otherHigh = Key + (std::uint64_t{7} << 32);
    const std::uint64_t otherLow = Key + 7;
    EXPECT_FALSE(ProbeFullWindow(table, otherHigh, 0).found);
    EXPECT_FALSE(ProbeFullWindow(table, otherLow, 0).found);

    table.StoreTable(otherLow, 1, -5, 44, BoundUpper);
    EXPECT_FALSE(ProbeFullWindow(table, Key, 0).found);
    const Probe replaced = ProbeFullWindow(table, otherLow, 0);
    EXPECT_TRUE(replaced.found);
    EXPECT_EQ(replaced.move, 44);

    // A neighbouring slot is untouched.
    table.StoreTable(Key + 1, 1, 0, 55, BoundExact);
    EXPECT_EQ(ProbeFullWindow(table, otherLow, 0).move, 44);
}

TEST_F(TranspositionTableTest, BoundsNarrowTheWindowOnlyFromDeepEnoughEntries) {
    TranspositionTable table(16);
    table.StoreTable(Key, 5, SCORE_WIN, 12, BoundLower);

    Probe probe = ProbeFullWindow(table, Key, 5);
    EXPECT_TRUE(probe.found);
    EXPECT_EQ(probe.alpha, SCORE_WIN);
    EXPECT_EQ(probe.beta, SCORE_WIN);
    EXPECT_EQ(probe.move, 12);

    // A shallower entry gives only its move.
    probe = ProbeFullWindow(table, Key, 6);
    EXPECT_TRUE(probe.found);
    EXPECT_EQ(probe.alpha, SCORE_LOSS);
    EXPECT_EQ(probe.beta, SCORE_WIN);
    EXPECT_EQ(probe.move, 12);

    table.StoreTable(Key, 3, -40, 13, BoundUpper);
    std::int32_t alpha = -40;
    std::int32_t beta = 100;
    Coord move = 0;
    EXPECT_TRUE(table.ProbeTable(Key, 3, alpha, beta, move));
    EXPECT_EQ(alpha, -40);
    EXPECT_EQ(beta, -40);
    // An upper bound above alpha proves nothing.
    alpha = -41;
    beta = 100;
    table.ProbeTable(Key, 3, alpha, beta, move);
    EXPECT_EQ(alpha, -41);
    EXPECT_EQ(beta, 100);

    table.StoreTable(Key, 3, 70, 14, BoundLower);
    alpha = -10;
    beta = 70;
    table.ProbeTable(Key, 2, alpha, beta, move);
    EXPECT_EQ(alpha, 70);
    EXPECT_EQ(beta, 70);
    alpha = -10;
    beta = 71;
    table.ProbeTable(Key, 2, alpha, beta, move);
    EXPECT_EQ(alpha, -10);
    EXPECT_EQ(beta, 71);
}

TEST_F(TranspositionTableTest, ExactValuesNarrowOnlyWhenProven) {
    TranspositionTable table(16);
    // An exact heuristic value inside the window narrows nothing.
    table.StoreTable(Key, 9, 25, 20, BoundExact);
    std::int32_t alpha = 0;
    std::int32_t beta = 50;
    Coord move = 0;
    EXPECT_TRUE(table.ProbeTable(Key, 3, alpha, beta, move));
    EXPECT_EQ(alpha, 0);
    EXPECT_EQ(beta, 50);
    EXPECT_EQ(move, 20);

    // A proven exact value ends the probe whatever depth found it.
    for (std::int32_t proven : {SCORE_WIN, SCORE_LOSS}) {
        table.StoreTable(Key, 1, proven, 21, BoundExact);
        const Probe probe = ProbeFullWindow(table, Key, 30);
        EXPECT_EQ(probe.alpha, proven);
        EXPECT_EQ(probe.beta, proven);
    }
    // A shallow proven bound that is not exact does not.
    table.StoreTable(Key, 1, SCORE_LOSS, 22, BoundUpper);
    const Probe probe = ProbeFullWindow(table, Key, 30);
    EXPECT_EQ(probe.alpha, SCORE_LOSS);
    EXPECT_EQ(probe.beta, SCORE_WIN);
}

TEST_F(TranspositionTableTest, DepthIsKeptAsSixteenBitsAndEmptyBudgetsStillGetASlot) {
    TranspositionTable table(0);
    EXPECT_EQ(table.EntryCount(), 1u);
    table.StoreTable(Key, 0x10005, SCORE_WIN, 1, BoundLower);  // stored as depth 5
    EXPECT_EQ(ProbeFullWindow(table, Key, 5).alpha, SCORE_WIN);
    EXPECT_EQ(ProbeFullWindow(table, Key, 6).alpha, SCORE_LOSS);
}

// One thread keeps rewriting a slot with two positions while another reads
// it: a read either misses or gives back one position's own move and value,
// never a mix of the two.
TEST_F(TranspositionTableTest, ConcurrentStoresNeverReadBackAMixedEntry) {
    TranspositionTable table(1);
    const std::uint64_t keys[2] = {Key, ~Key};
    const Coord moves[2] = {3, 200};
    const std::int32_t values[2] = {SCORE_WIN, SCORE_LOSS};
    std::atomic<bool> done{false};
    std::thread writer([&] {
        for (int i = 0; i < 200000; ++i) table.StoreTable(keys[i % 2], 5, values[i % 2], moves[i % 2], BoundExact);
        done = true;
    });
    int mixed = 0;
    for (int i = 0; !done; ++i) {
        const Probe probe = ProbeFullWindow(table, keys[i % 2], 1);
        if (probe.found && (probe.move != moves[i % 2] || probe.alpha != values[i % 2])) ++mixed;
    }
    writer.join();
    EXPECT_EQ(mixed, 0);
}

}  // namespace
}  // namespace zomar
