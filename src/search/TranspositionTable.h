#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "board/Coord.h"
#include "platform/Platform.h"

namespace zomar {

// Bound kinds of a table entry (bit 1 upper, bit 2 lower, both exact).
constexpr std::uint8_t BoundEmpty = 0;
constexpr std::uint8_t BoundUpper = 1;
constexpr std::uint8_t BoundLower = 2;
constexpr std::uint8_t BoundExact = 3;

// One slot of the table; the memory budget reckons 32 bytes per entry.
struct TableEntry {
    std::uint32_t keyLow = 123456789;
    std::uint32_t keyHigh = 0;
    std::int16_t depth = 0;
    std::uint8_t bound = BoundEmpty;
    std::int32_t value = 0;
    std::int32_t proof = 1;
    std::int32_t disproof = 1;
    std::uint32_t link = 0;
    Coord bestMove = 0;
};
static_assert(sizeof(TableEntry) == 32, "a table entry must stay 32 bytes");

// The search's memory of positions: one slot per hash key modulo the entry
// count, replaced on every store, kept across searches and games.
class TranspositionTable {
public:
    explicit TranspositionTable(std::size_t entries);  // entries >= 1

    // Narrows the window from a stored entry; returns whether the position was
    // found. move gets the stored best move, or the board area when not found.
    bool ProbeTable(std::uint64_t hashKey, std::int32_t depth, std::int32_t& alpha,
                    std::int32_t& beta, Coord& move) const;
    void StoreTable(std::uint64_t hashKey, std::int32_t depth, std::int32_t value, Coord move,
                    std::uint8_t bound);
    std::size_t EntryCount() const;
    // Starts loading the slot of hashKey into the cache, so that a probe made
    // a little later does not wait for memory.
    void PrefetchSlot(std::uint64_t hashKey) const { platform::Prefetch(&SlotOf(hashKey)); }

private:
    const TableEntry& SlotOf(std::uint64_t hashKey) const;
    TableEntry& SlotOf(std::uint64_t hashKey);

    std::vector<TableEntry> mEntries;
};

}  // namespace zomar
