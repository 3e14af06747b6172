#include "search/TranspositionTable.h"

#include <algorithm>
#include <cstdint>
#include <new>

#include "analysis/Score.h"
#include "board/Geometry.h"
#include "platform/Platform.h"

namespace zomar {

namespace {

bool HasUpperBit(std::uint8_t bound) { return (bound & BoundUpper) != 0; }
bool HasLowerBit(std::uint8_t bound) { return (bound & BoundLower) != 0; }
bool IsProven(std::int32_t value) { return value == SCORE_WIN || value == SCORE_LOSS; }

}  // namespace

// A table of no entries would have no slot to take a key modulo; it gets one.
// The memory comes zeroed page by page as the search first touches it, so a
// table of any size is ready at once and occupies only what is used.
TranspositionTable::TranspositionTable(std::size_t entries)
    : mCount(std::clamp<std::size_t>(entries, 1, SIZE_MAX / sizeof(TableEntry))) {
    for (;;) {
        mEntries = static_cast<TableEntry*>(platform::AllocateZeroedMemory(mCount * sizeof(TableEntry)));
        if (mEntries != nullptr) return;
        if (mCount == 1) throw std::bad_alloc();
        mCount /= 2;
    }
}

TranspositionTable::~TranspositionTable() { platform::ReleaseZeroedMemory(mEntries, mCount * sizeof(TableEntry)); }

const TableEntry& TranspositionTable::SlotOf(std::uint64_t hashKey) const { return mEntries[hashKey % mCount]; }

TableEntry& TranspositionTable::SlotOf(std::uint64_t hashKey) { return mEntries[hashKey % mCount]; }

bool TranspositionTable::ProbeTable(std::uint64_t hashKey, std::int32_t depth, std::int32_t& alpha,
                                    std::int32_t& beta, Coord& move) const {
    move = static_cast<Coord>(boardArea);
    const TableEntry& entry = SlotOf(hashKey);
    if (entry.keyLow != static_cast<std::uint32_t>(hashKey) ||
        entry.keyHigh != static_cast<std::uint32_t>(hashKey >> 32) || entry.bound == BoundEmpty) {
        return false;
    }
    move = entry.bestMove;
    if (entry.depth >= depth) {
        if (HasUpperBit(entry.bound) && entry.value <= alpha) beta = alpha;
        if (HasLowerBit(entry.bound) && entry.value >= beta) alpha = beta;
    }
    // A proven result holds whatever depth found it.
    if (entry.bound == BoundExact && IsProven(entry.value)) alpha = beta = entry.value;
    return true;
}

void TranspositionTable::StoreTable(std::uint64_t hashKey, std::int32_t depth, std::int32_t value,
                                    Coord move, std::uint8_t bound) {
    TableEntry& entry = SlotOf(hashKey);
    entry.keyLow = static_cast<std::uint32_t>(hashKey);
    entry.keyHigh = static_cast<std::uint32_t>(hashKey >> 32);
    entry.depth = static_cast<std::int16_t>(depth);
    entry.bound = bound;
    entry.value = value;
    entry.proof = 1;
    entry.disproof = 1;
    entry.link = 0;
    entry.bestMove = move;
}

std::size_t TranspositionTable::EntryCount() const { return mCount; }

}  // namespace zomar
