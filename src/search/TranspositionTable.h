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

// One slot of the table, shared by the search threads without locks. The data
// word packs value, depth, bound and best move; the check word is the key xor
// the data, so a slot that another thread was rewriting, or that holds another
// position, fails the check on read. Both words are read and written as
// relaxed atomics. The all-zero slot is empty, so fresh zeroed memory
// is an empty table. An entry keeps 32 bytes, so that a memory limit still
// gives the same number of entries, and never straddles a cache line.
struct alignas(32) TableEntry {
    std::uint64_t check;
    std::uint64_t data;
};
static_assert(sizeof(TableEntry) == 32, "a table entry must stay 32 bytes");

// The search's memory of positions: one slot per hash key modulo the entry
// count, replaced on every store, kept across searches and games. Probes and
// stores may come from several threads at once.
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
