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

// The data word: value in the high half, then depth, then the best move in
// 14 bits below the bound's 2; every point of the largest board, and the
// board area that stands for no move, fit the 14 bits.
constexpr int MoveBits = 14;
static_assert(MaxBoardSide * MaxBoardSide < (1u << MoveBits), "a move must fit its bits in a table entry");

std::uint64_t PackEntry(std::int32_t depth, std::int32_t value, Coord move, std::uint8_t bound) {
    return (std::uint64_t{static_cast<std::uint32_t>(value)} << 32) |
           (std::uint64_t{static_cast<std::uint16_t>(depth)} << 16) | (std::uint64_t{move} << 2) | bound;
}

struct UnpackedEntry {
    std::int32_t value;
    std::int16_t depth;
    Coord move;
    std::uint8_t bound;
};

UnpackedEntry UnpackEntry(std::uint64_t data) {
    return {static_cast<std::int32_t>(static_cast<std::uint32_t>(data >> 32)),
            static_cast<std::int16_t>(static_cast<std::uint16_t>(data >> 16)),
            static_cast<Coord>((data >> 2) & ((1u << MoveBits) - 1)), static_cast<std::uint8_t>(data & 3)};
}

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
    const TableEntry& slot = SlotOf(hashKey);
    const std::uint64_t data = platform::LoadRelaxed(slot.data);
    const std::uint64_t check = platform::LoadRelaxed(slot.check);
    const UnpackedEntry entry = UnpackEntry(data);
    if ((check ^ data) != hashKey || entry.bound == BoundEmpty) return false;
    move = entry.move;
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
    TableEntry& slot = SlotOf(hashKey);
    const std::uint64_t data = PackEntry(depth, value, move, bound);
    platform::StoreRelaxed(slot.data, data);
    platform::StoreRelaxed(slot.check, hashKey ^ data);
}

std::size_t TranspositionTable::EntryCount() const { return mCount; }

}  // namespace zomar
