#include "analysis/PatternTables.h"

#include <algorithm>
#include <array>
#include <bit>
#include <new>
#include <stdexcept>

#include "analysis/AnalysisSetup.h"
#include "board/Coord.h"
#include "board/Geometry.h"

namespace zomar {

std::uint32_t sequenceSize = 0;
std::int32_t gameRule = 0;
int renjuBlack = 0;
std::uint32_t groupCodeCount = GroupCodeCount;

std::unique_ptr<std::uint8_t[]> winDistance;
std::unique_ptr<std::uint8_t[]> sureWinDistance;
std::unique_ptr<std::uint8_t[]> defendedWinDistance;
std::unique_ptr<std::uint8_t[]> defendedSureWinDistance;
std::unique_ptr<std::uint16_t[]> winGain;
std::unique_ptr<std::uint16_t[]> sureGain;
std::unique_ptr<std::uint16_t[]> defenceOrder;
// White's under renju only.
std::unique_ptr<std::uint8_t[]> freestyleWinDistance;
std::unique_ptr<std::uint16_t[]> freestyleDefenceOrder;

std::unique_ptr<std::uint8_t[]> pointCategory;

std::uint32_t negativeHalfRuns[HalfWordSize];
std::uint32_t positiveHalfRuns[HalfWordSize];
std::uint8_t runPairCategory[3][RunPairSlots];

namespace {

constexpr std::uint8_t Never = 6;               // distance of a run that can never hold five
constexpr int MaxDefenceGain = Never;

bool tablesBuiltBefore = false;

template <typename T>
std::unique_ptr<T[]> AllocateTable(std::size_t size) {
    T* table = new (std::nothrow) T[size];
    if (table == nullptr) throw std::runtime_error("Allocation failed.");
    return std::unique_ptr<T[]>(table);
}

bool OnlyExactFiveWins() { return (gameRule & ~(2 | CaroRuleBit)) == 1; }
// Renju: black (colour 1, the first stone) wins with exactly five only, white
// with five or more. The shared distance, gain and defence tables are black's.
bool RenjuTables() { return (gameRule & 4) != 0; }
bool CaroTables() { return (gameRule & CaroRuleBit) != 0 && !RenjuTables(); }

// The end bit an opponent stone on a cell gives the parts on either side of it,
// both read from that cell outwards: caro tells a run ended by an opponent
// stone from one ended otherwise.
std::uint32_t blockedEnd = 0;  // CaroNegativeEnd under caro

using CodeCategories = std::array<ThreatCategory, CaroGroupCodeCount>;

constexpr std::uint32_t RunBits = GroupCodeCount - 1;

// Cells of a group code, i.e. the position of its sentinel bit.
int RunLength(std::uint32_t code) {
    const std::uint32_t run = code & RunBits;
    return run == 0 ? 0 : std::bit_width(run) - 1;
}

std::uint32_t CellBits(std::uint32_t code) {
    const std::uint32_t run = code & RunBits;
    return run & ~(std::bit_floor(run));
}

// The part of a run above cell k, an opponent stone on k below it.
std::uint32_t UpperPart(std::uint32_t code, int k) {
    return ((code & RunBits) >> (k + 1)) | (code & CaroPositiveEnd) | blockedEnd;
}
// The part below: `lower` holds its cells nearest first, so the run's negative
// end becomes the part's positive one.
std::uint32_t LowerPart(std::uint32_t code, std::uint32_t lower) {
    return lower | ((code & CaroNegativeEnd) << 1) | blockedEnd;
}

bool HasOwnRun(std::uint32_t code, int length) {
    const std::uint32_t cells = CellBits(code);
    std::uint32_t run = cells;
    for (int k = 1; k < length; ++k) run &= cells >> k;
    return run != 0;
}

bool IsFive(std::uint32_t code) { return HasOwnRun(code, HalfLength); }
bool IsOverline(std::uint32_t code) { return HasOwnRun(code, HalfLength + 1); }
// Caro: exactly five filling a run that opponent stones end on both sides.
bool IsBlockedFive(std::uint32_t code) {
    return RunLength(code) == HalfLength && CellBits(code) == (1u << HalfLength) - 1 && (code & CaroEnds) == CaroEnds;
}

// Five already, or five after one more own stone (fives as winDistance has them).
bool IsFourOrFive(std::uint32_t code) {
    if (winDistance[code] == 0) return true;
    const int cells = RunLength(code);
    for (int k = 0; k < cells; ++k) {
        const std::uint32_t bit = 1u << k;
        if ((code & bit) == 0 && winDistance[code | bit] == 0) return true;
    }
    return false;
}

// An opponent stone on any empty cell still leaves a four or five on one side.
// The lower part holds the passed cells nearest first; the highest cell of the
// run is never tried as a block, except under caro, where a block there can
// leave the other five blocked at both ends.
bool IsStraightFour(std::uint32_t code) {
    if (winDistance[code] == 0) return true;
    const int cells = RunLength(code);
    const int tried = CaroTables() ? cells : cells - 1;
    std::uint32_t lower = 1;
    bool blockFound = false;
    for (int k = 0; k < tried; ++k) {
        const std::uint32_t bit = (code >> k) & 1;
        if (bit == 0) {
            if (!IsFourOrFive(LowerPart(code, lower)) && !IsFourOrFive(UpperPart(code, k))) return false;
            blockFound = true;
        }
        lower = (lower << 1) | bit;
    }
    return blockFound;
}

// Spreads known distances downwards: removing one own stone costs one more.
void SetXn(std::uint8_t* table, std::array<bool, CaroGroupCodeCount>& known) {
    for (int level = 0; level < Never; ++level) {
        for (std::uint32_t code = 2; code < groupCodeCount; ++code) {
            if (!known[code] || table[code] != level) continue;
            for (std::uint32_t stones = CellBits(code); stones != 0; stones &= stones - 1) {
                const std::uint32_t fewer = code & ~(stones & (~stones + 1));
                if (known[fewer]) continue;
                table[fewer] = static_cast<std::uint8_t>(level + 1);
                known[fewer] = true;
            }
        }
    }
}

void BuildDistances(bool exactFive) {
    std::array<bool, CaroGroupCodeCount> known{};
    for (std::uint32_t code = 0; code < groupCodeCount; ++code) {
        known[code] = IsFive(code);
        winDistance[code] = sureWinDistance[code] = known[code] ? 0 : Never;
    }
    for (std::uint32_t code = 0; code < groupCodeCount; ++code) {
        if (!(exactFive && IsOverline(code)) && !IsBlockedFive(code)) continue;
        winDistance[code] = sureWinDistance[code] = Never;
        known[code] = true;
    }
    for (std::uint32_t code = 0; code < groupCodeCount; ++code) {
        if (known[code] || !IsStraightFour(code)) continue;
        winDistance[code] = 1;
        sureWinDistance[code] = 0;
        known[code] = true;
    }
    std::array<bool, CaroGroupCodeCount> sureKnown = known;
    SetXn(winDistance.get(), known);
    SetXn(sureWinDistance.get(), sureKnown);
}

// A block never helps the attacker. Under the exact-five rule a part can still
// look closer to a sure win than the whole run (a straight four whose only
// winning cell is the never-examined far end); such a rise counts as 0 rather
// than wrapping to NoSlot.
std::uint16_t Rise(std::uint8_t blocked, std::uint8_t unblocked) {
    return blocked > unblocked ? static_cast<std::uint16_t>(blocked - unblocked) : 0;
}

// What an opponent stone on each empty cell costs, and the best such block.
void BuildGains() {
    for (std::uint32_t code = 0; code < groupCodeCount; ++code) {
        std::uint16_t* sure = &sureGain[code * GainStride];
        std::uint16_t* win = &winGain[code * GainStride];
        const int cells = RunLength(code);
        std::uint8_t bestSure = 0;
        std::uint8_t bestWin = 0;
        std::uint32_t lower = 1;
        for (int k = 0; k < cells; ++k) {
            const std::uint32_t bit = (code >> k) & 1;
            sure[k] = win[k] = 0;
            if (bit == 0) {
                const std::uint32_t below = LowerPart(code, lower);
                const std::uint32_t upper = UpperPart(code, k);
                const std::uint8_t s = std::min(sureWinDistance[below], sureWinDistance[upper]);
                const std::uint8_t w = std::min(winDistance[below], winDistance[upper]);
                sure[k] = Rise(s, sureWinDistance[code]);
                win[k] = Rise(w, winDistance[code]);
                bestSure = std::max(bestSure, s);
                bestWin = std::max(bestWin, w);
            }
            lower = (lower << 1) | bit;
        }
        std::fill(sure + cells, sure + GainStride, NoSlot);
        std::fill(win + cells, win + GainStride, NoSlot);
        defendedSureWinDistance[code] = bestSure;
        defendedWinDistance[code] = bestWin;
    }
}

// The free cells on one side of a point as one colour sees them: up to
// halfLength cells, ending before the first opponent stone or off-board cell.
struct SideRun {
    std::uint32_t bits;  // own stones, in group code order
    int length;          // free cells before the first blocker
    bool blocked;        // the first blocker is an opponent stone
};

SideRun ReadSide(int colour, std::uint32_t word, int halfLength, bool negative) {
    const auto opponent = static_cast<std::uint32_t>(OffBoard - colour);
    SideRun side{0, 0, false};
    for (int k = 1; k <= halfLength; ++k) {
        const int shift = negative ? 2 * halfLength - 2 * k : 2 * halfLength - 2 + 2 * k;
        const std::uint32_t cell = (word >> shift) & 3;
        side.blocked = cell == opponent;
        if (cell == OffBoard || cell == opponent) break;
        if (cell != EmptyCell) side.bits |= 1u << (negative ? halfLength - k : k - 1);
        side.length = k;
    }
    if (negative) side.bits >>= halfLength - side.length;
    return side;
}

// Runs of length i hold 2^i stone patterns: 63 runs in all for five cells.
constexpr int SideRunCount = (1 << (HalfLength + 1)) - 1;
constexpr int SideRunIndex(SideRun run) { return (1 << run.length) - 1 + static_cast<int>(run.bits); }

// The run that each index stands for.
constexpr auto RunOfIndex = [] {
    std::array<SideRun, SideRunCount> runs{};
    for (int length = 0; length <= HalfLength; ++length)
        for (std::uint32_t bits = 0; bits < (1u << length); ++bits)
            runs[SideRunIndex({bits, length, false})] = {bits, length, false};
    return runs;
}();

// A half word's entry for one colour: its side run's index, shifted for the
// negative side, and its end bit under caro.
std::uint32_t SideSlot(SideRun run, bool negative) {
    const std::uint32_t index = static_cast<std::uint32_t>(SideRunIndex(run)) * (negative ? SideRunSlots : 1);
    const bool blocked = CaroTables() && run.blocked;
    return index | (blocked ? (negative ? CaroNegativeEnd : CaroPositiveEnd) : 0);
}

std::uint32_t JoinRuns(SideRun negative, bool centreOwn, SideRun positive) {
    const int i = negative.length;
    return negative.bits | (static_cast<std::uint32_t>(centreOwn) << i) | (positive.bits << (i + 1)) |
           (1u << (i + positive.length + 1));
}

// The cache-sized form of the line tables: every pair of side runs, and the
// run of each half word per colour.
void BuildRunPairCategories(const CodeCategories* (&codeCategories)[3]) {
    static_assert(SideRunCount < static_cast<int>(SideRunSlots));
    // Only caro reads the slots with end bits.
    const std::uint32_t slots = CaroTables() ? RunPairSlots : RunPairCount;
    for (auto& row : runPairCategory) std::fill(row, row + slots, Impossible);
    for (int colour = Colour1; colour <= Colour2; ++colour)
        for (std::uint32_t ends = 0; ends < slots; ends += RunPairCount)
            for (std::uint32_t negative = 0; negative < SideRunCount; ++negative)
                for (std::uint32_t positive = 0; positive < SideRunCount; ++positive)
                    runPairCategory[colour][ends + negative * SideRunSlots + positive] =
                        (*codeCategories[colour])[JoinRuns(RunOfIndex[negative], true, RunOfIndex[positive]) | ends];
    for (std::uint32_t half = 0; half < HalfWordSize; ++half) {
        const SideRun negative1 = ReadSide(Colour1, half, HalfLength, true);
        const SideRun negative2 = ReadSide(Colour2, half, HalfLength, true);
        const std::uint32_t split = IsSplitShape(half) ? 1 : 0;
        negativeHalfRuns[half] = SideSlot(negative1, true) | (SideSlot(negative2, true) << 16) | split * NegativeSplitFlag;
        const std::uint32_t word = half << (2 * HalfLength);
        const SideRun positive1 = ReadSide(Colour1, word, HalfLength, false);
        const SideRun positive2 = ReadSide(Colour2, word, HalfLength, false);
        positiveHalfRuns[half] = SideSlot(positive1, false) | (SideSlot(positive2, false) << 16) | split * PositiveSplitFlag;
    }
}

// Every group code's line category from the distance tables as they stand.
CodeCategories ClassifyCodes() {
    if (groupClassifier == nullptr)
        throw std::runtime_error(
            "Group table is not set, BoardAI::Alloc() must be called before any ListBoard class is initialized.");
    CodeCategories codeCategory{};
    for (std::uint32_t code = 0; code < groupCodeCount; ++code)
        codeCategory[code] = groupClassifier(winDistance[code], sureWinDistance[code], defendedWinDistance[code],
                                             defendedSureWinDistance[code]);
    return codeCategory;
}

// `colour2Categories`, when given, rates colour 2's lines instead of the
// current distance tables.
void BuildLineCategories(const CodeCategories* colour2Categories) {
    const CodeCategories codeCategory = ClassifyCodes();
    const CodeCategories* codeCategories[3] = {nullptr, &codeCategory,
                                               colour2Categories ? colour2Categories : &codeCategory};
    BuildRunPairCategories(codeCategories);
}

// Every order of the same four line categories gives the same point category.
void BuildPointCategories() {
    std::fill(pointCategory.get(), pointCategory.get() + PointTableSize, NoPointCategory);
    for (ThreatCategory a = 0; a < CategoryCount; ++a)
        for (ThreatCategory b = a; b < CategoryCount; ++b)
            for (ThreatCategory c = b; c < CategoryCount; ++c)
                for (ThreatCategory d = c; d < CategoryCount; ++d) {
                    const ThreatCategory point = pointCombiner(a, b, c, d);
                    std::array<ThreatCategory, 4> fields{a, b, c, d};
                    do {
                        std::uint32_t packed = 0;
                        for (int f = 0; f < 4; ++f) packed |= static_cast<std::uint32_t>(fields[f]) << (CategoryBits * f);
                        pointCategory[packed] = point;
                    } while (std::next_permutation(fields.begin(), fields.end()));
                }
}

// For runs at most two stones from a sure win: the cells worth blocking, the
// costliest first, ties in cell order.
void BuildDefenceOrder(std::uint16_t* orders) {
    for (std::uint32_t code = 0; code < groupCodeCount; ++code) {
        std::uint16_t* order = &orders[code * DefenceStride];
        std::fill(order, order + DefenceStride, NoSlot);
        if (sureWinDistance[code] > 2) continue;
        const std::uint16_t* gains = &sureGain[code * GainStride];
        int count = 0;
        for (int gain = MaxDefenceGain; gain > 0; --gain)
            for (int k = 0; k < GainStride && gains[k] != NoSlot; ++k)
                if (gains[k] == gain) order[count++] = static_cast<std::uint16_t>(k);
    }
}

}  // namespace

const std::uint8_t* WinDistanceOf(int colour) {
    return colour == Colour2 && freestyleWinDistance ? freestyleWinDistance.get() : winDistance.get();
}

const std::uint16_t* DefenceOrderOf(int colour) {
    return colour == Colour2 && freestyleDefenceOrder ? freestyleDefenceOrder.get() : defenceOrder.get();
}

GroupCode MakeGroupCode(int colour, std::uint32_t sequence, bool centreOwn, int halfLength) {
    if (halfLength != HalfLength) {
        const SideRun negative = ReadSide(colour, sequence, halfLength, true);
        const SideRun positive = ReadSide(colour, sequence, halfLength, false);
        const std::uint32_t ends = (SideSlot(negative, true) | SideSlot(positive, false)) & CaroEnds;
        return {JoinRuns(negative, centreOwn, positive) | ends, negative.length, positive.length};
    }
    // A full-length word: both runs come from the half-word tables.
    const int shift = colour == Colour1 ? 0 : 16;
    const std::uint32_t negativeHalf = negativeHalfRuns[sequence & (HalfWordSize - 1)] >> shift;
    const std::uint32_t positiveHalf = positiveHalfRuns[(sequence >> (2 * HalfLength)) & (HalfWordSize - 1)] >> shift;
    const SideRun negative = RunOfIndex[(negativeHalf & SideRunPairMask) / SideRunSlots];
    const SideRun positive = RunOfIndex[positiveHalf & (SideRunSlots - 1)];
    const std::uint32_t ends = (negativeHalf | positiveHalf) & CaroEnds;
    return {JoinRuns(negative, centreOwn, positive) | ends, negative.length, positive.length};
}

void BoardAI::Alloc() {
    groupClassifier = ClassifyGroup;
    pointCombiner = CombineOrderedCategories;
    renjuBlack = 0;
    BuildZobristKeys();
    if (!tablesBuiltBefore) {
        gameRule = 0;
        tablesBuiltBefore = true;
    }
    groupCodeCount = CaroTables() ? CaroGroupCodeCount : GroupCodeCount;
    blockedEnd = CaroTables() ? CaroNegativeEnd : 0;
    pointCategory = AllocateTable<std::uint8_t>(PointTableSize);
    winDistance = AllocateTable<std::uint8_t>(groupCodeCount);
    sureWinDistance = AllocateTable<std::uint8_t>(groupCodeCount);
    defendedWinDistance = AllocateTable<std::uint8_t>(groupCodeCount);
    defendedSureWinDistance = AllocateTable<std::uint8_t>(groupCodeCount);
    sureGain = AllocateTable<std::uint16_t>(groupCodeCount * GainStride);
    winGain = AllocateTable<std::uint16_t>(groupCodeCount * GainStride);
    defenceOrder = AllocateTable<std::uint16_t>(groupCodeCount * DefenceStride);

    // Renju rates white's lines on freestyle tables, built first and replaced;
    // white keeps its win distances and defence orders.
    std::unique_ptr<CodeCategories> whiteCategories;
    freestyleWinDistance.reset();
    freestyleDefenceOrder.reset();
    if (RenjuTables()) {
        BuildDistances(false);
        BuildGains();
        whiteCategories = std::make_unique<CodeCategories>(ClassifyCodes());
        freestyleWinDistance = AllocateTable<std::uint8_t>(GroupCodeCount);
        std::copy(winDistance.get(), winDistance.get() + GroupCodeCount, freestyleWinDistance.get());
        freestyleDefenceOrder = AllocateTable<std::uint16_t>(GroupCodeCount * DefenceStride);
        BuildDefenceOrder(freestyleDefenceOrder.get());
    }
    BuildDistances(OnlyExactFiveWins() || RenjuTables());
    BuildGains();
    BuildLineCategories(whiteCategories.get());
    BuildPointCategories();
    BuildLineUpdateList();
    BuildCategoryNames();
    BuildDefenceOrder(defenceOrder.get());
    sequenceSize = 4 * boardArea;
}

void FreePatternTables() {
    pointCategory.reset();
    winDistance.reset();
    sureWinDistance.reset();
    defendedWinDistance.reset();
    defendedSureWinDistance.reset();
    sureGain.reset();
    winGain.reset();
    defenceOrder.reset();
    freestyleWinDistance.reset();
    freestyleDefenceOrder.reset();
    lineUpdateList.reset();
    lineUpdateStart.reset();
    sequenceSize = 0;
}

}  // namespace zomar
