#pragma once

#include <cstdint>
#include <memory>

#include "analysis/ThreatCategory.h"

namespace zomar {

constexpr int HalfLength = 5;
constexpr int GroupCodeCount = 4096;
constexpr std::uint32_t SequenceMask = 0xFFFFF;  // 20 significant bits
constexpr std::uint32_t LineTableSize = SequenceMask + 1;
constexpr std::uint32_t PointTableSize = 1u << (4 * CategoryBits);
constexpr int GainStride = 2 * HalfLength + 1;         // 11 slots per group code
constexpr int DefenceStride = (HalfLength + 1) * 2;    // 12 slots per group code
constexpr std::uint16_t NoSlot = 0xFFFF;

// 4 * boardArea once the tables are built, 0 before.
extern std::uint32_t sequenceSize;
// Copy of the "rule" setting; bit 1 makes only exactly five win, bit 4 is renju,
// bit 8 caro (a five whose both neighbours are opponent stones does not win).
extern std::int32_t gameRule;
constexpr std::int32_t RenjuRuleBit = 4;
constexpr std::int32_t CaroRuleBit = 8;
// Under renju (bit 4), the colour playing black on the boards being analysed;
// 0 otherwise. A table build clears it; each search sets it for its boards.
extern int renjuBlack;

// Under caro a group code also says which ends of its run are opponent stones
// (an end at the board's edge or beyond the read cells is not): the tables then
// hold CaroGroupCodeCount codes, otherwise GroupCodeCount.
constexpr std::uint32_t CaroNegativeEnd = GroupCodeCount;
constexpr std::uint32_t CaroPositiveEnd = GroupCodeCount << 1;
constexpr std::uint32_t CaroEnds = CaroNegativeEnd | CaroPositiveEnd;
constexpr std::uint32_t CaroGroupCodeCount = GroupCodeCount << 2;
extern std::uint32_t groupCodeCount;

// Per group code tables. Distances count the own stones still needed (6 =
// never); gains say how much an opponent stone on a cell raises them.
extern std::unique_ptr<std::uint8_t[]> winDistance;
extern std::unique_ptr<std::uint8_t[]> sureWinDistance;
extern std::unique_ptr<std::uint8_t[]> defendedWinDistance;
extern std::unique_ptr<std::uint8_t[]> defendedSureWinDistance;
extern std::unique_ptr<std::uint16_t[]> winGain;       // GainStride per code, NoSlot above the run
extern std::unique_ptr<std::uint16_t[]> sureGain;      // GainStride per code, NoSlot above the run
extern std::unique_ptr<std::uint16_t[]> defenceOrder;  // DefenceStride per code, NoSlot after the last

// The win distances and defence orders that rate a colour's runs (1 or 2):
// under renju colour 2 (white) wins with overlines too and has its own; any
// other rule shares the tables above.
const std::uint8_t* WinDistanceOf(int colour);
const std::uint16_t* DefenceOrderOf(int colour);

// Four line categories packed 5 bits each to the point category, whatever their
// order; words with a field above 17 map to NoPointCategory.
extern std::unique_ptr<std::uint8_t[]> pointCategory;
constexpr std::uint8_t NoPointCategory = 0xFF;

inline ThreatCategory PointCategory(std::uint32_t packed) { return pointCategory[packed]; }

// The category each colour gets in a line by playing its point, from tables
// small enough to stay in the first-level cache (the board's update reads them
// for every changed line). Each half of a word names, per colour, its free run (one of
// SideRunSlots); both halves' runs index a run-pair table per colour. A half's
// entry carries the colour-1 index in the low 16 bits and the colour-2 index in
// the high 16, the negative half's already shifted, so one addition joins them.
// Above each pair index, under caro only, a bit per half says its run ends at an
// opponent stone (the group code's end bits). The two top bits of the colour-1
// field flag a half that reads empty, own, empty, own, empty outwards (either
// colour), the shape a stone six steps away can complete.
constexpr std::uint32_t HalfWordSize = 1u << (2 * HalfLength);
constexpr std::uint32_t SideRunSlots = 1u << (HalfLength + 1);
constexpr std::uint32_t RunPairCount = SideRunSlots * SideRunSlots;
constexpr std::uint32_t SideRunPairMask = RunPairCount - 1;
constexpr std::uint32_t RunPairSlots = RunPairCount << 2;  // with the caro end bits
constexpr std::uint32_t RunPairMask = RunPairSlots - 1;
constexpr std::uint32_t NegativeSplitFlag = RunPairSlots;
constexpr std::uint32_t PositiveSplitFlag = RunPairSlots << 1;
extern std::uint32_t negativeHalfRuns[HalfWordSize];
extern std::uint32_t positiveHalfRuns[HalfWordSize];
extern std::uint8_t runPairCategory[3][RunPairSlots];

// Empty, own, empty, own, empty on the five cells of one half word, read
// outwards from the point, for colour 1 and colour 2.
constexpr std::uint32_t SplitShape[3] = {0, 0x44, 0x88};
constexpr bool IsSplitShape(std::uint32_t half) { return half == SplitShape[1] || half == SplitShape[2]; }

struct LineCategoryPair {
    ThreatCategory colour1;
    ThreatCategory colour2;
    bool splitSide;  // one half has the split shape
};
// Whether either half of a 20-bit word has the split shape.
inline bool HasSplitHalf(std::uint32_t sequence) {
    return ((negativeHalfRuns[sequence & (HalfWordSize - 1)] |
             positiveHalfRuns[(sequence >> (2 * HalfLength)) & (HalfWordSize - 1)]) &
            (NegativeSplitFlag | PositiveSplitFlag)) != 0;
}
// Both colours' categories for the 20 significant bits of a word.
inline LineCategoryPair LineCategories(std::uint32_t sequence) {
    const std::uint32_t runs =
        negativeHalfRuns[sequence & (HalfWordSize - 1)] + positiveHalfRuns[(sequence >> (2 * HalfLength)) & (HalfWordSize - 1)];
    return {runPairCategory[1][runs & RunPairMask], runPairCategory[2][runs >> 16],
            (runs & (NegativeSplitFlag | PositiveSplitFlag)) != 0};
}
// The category colour 1 or 2 gets in a line by playing its point.
inline ThreatCategory LineCategory(int colour, std::uint32_t sequence) {
    const LineCategoryPair pair = LineCategories(sequence);
    return colour == 1 ? pair.colour1 : pair.colour2;
}

// A free run of cells through a point for one colour (see MakeGroupCode), with
// its caro end bits under caro.
struct GroupCode {
    std::uint32_t code;
    int negativeCount;  // i: run cells on the negative side
    int positiveCount;  // j: run cells on the positive side
};
// halfLength 4 reads a 16-bit word of cells -4..-1, +1..+4.
GroupCode MakeGroupCode(int colour, std::uint32_t sequence, bool centreOwn, int halfLength = HalfLength);

namespace BoardAI {
// Builds every pattern table and lineUpdateList for the current size and gameRule.
void Alloc();
}  // namespace BoardAI
void FreePatternTables();

}  // namespace zomar
