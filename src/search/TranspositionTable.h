#pragma once

#include <cstddef>
#include <cstdint>

#include "board/Coord.h"
#include "platform/Platform.h"

namespace zomar {

// Bound kinds of a table entry (bit 1 upper, bit 2 lower, both exact).
constexpr std::uint8_t BoundEmpty = 0;
constexpr std::uint8_t BoundUpper = 1;
constexpr std::uint8_t BoundLower = 2;
constexpr std::uint8_t BoundExact = 3;

// One slot of the table; the memory budget reckons 32 bytes per entry. A slot
// of all zero bytes is empty (bound 0), so fresh zeroed memory is an empty table.
struct TableEntry {
    std::uint32_t keyLow;
    std::uint32_t keyHigh;
    std::int16_t depth;
    std::uint8_t bound;
    std::int32_t value;
    std::int32_t proof;
    std::int32_t disproof;
    std::uint32_t link;
    Coord bestMove;
};
static_assert(sizeof(TableEntry) == 32, "a table entry must stay 32 bytes");

// The search's memory of positions: one slot per hash key modulo the entry
// count, replaced on every store, kept across searches and games.
class TranspositionTable {
public:
    // Takes `entries` slots (at least one), or half as many again and again
    // while the system refuses the memory; raises std::bad_alloc only when not
    // even one slot can be had.
    explicit TranspositionTable(std::size_t entries);
    ~TranspositionTable();
    TranspositionTable(const TranspositionTable&) = delete;
    TranspositionTable& operator=(const TranspositionTable&) = delete;

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

    TableEntry* mEntries = nullptr;
    std::size_t mCount = 0;
};

}  // namespace zomar
