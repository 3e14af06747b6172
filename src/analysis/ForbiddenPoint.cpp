#include "analysis/ForbiddenPoint.h"

#include <bit>
#include <cstdint>

#include "board/Geometry.h"

namespace zomar {

namespace {

// A line through a point as 11-bit masks, bit k + 5 for the cell k steps away
// (-5..5); the point itself is own.
struct LineMasks {
    std::uint32_t own;
    std::uint32_t empty;
};

constexpr int Centre = 5;
constexpr std::uint32_t CentreBit = 1u << Centre;
constexpr std::uint32_t WithinFour = 0x3FF & ~1u;  // cells -4..4 without -5 and 5: bits 1..9

// Bit of the cell at offset k (k != 0) in a line word.
constexpr int CellBit(int k) { return k > 0 ? 2 * k + 8 : 2 * k + 10; }

// Stones put on the board for the check, innermost first: black's, and white's
// own one when a white move is being weighed.
struct Placed {
    Coord point;
    const Placed* next;
    bool black = true;
};

LineMasks ReadLine(const BoardAnalysis& board, Coord p, int d, int black, const Placed* placed) {
    const std::uint32_t word = board.sequence[static_cast<std::size_t>(p) * DirectionCount + d];
    LineMasks line {CentreBit, 0};
    for (int k = -HalfLength; k <= HalfLength; ++k) {
        if (k == 0) continue;
        const std::uint32_t cell = (word >> CellBit(k)) & 3;
        if (cell == static_cast<std::uint32_t>(black)) line.own |= 1u << (k + Centre);
        if (cell == EmptyCell) line.empty |= 1u << (k + Centre);
    }
    for (const Placed* s = placed; s != nullptr; s = s->next) {
        if (LineDirection(p, s->point) != d) continue;
        const int k = LineDistance(p, s->point);
        if (k < -HalfLength || k > HalfLength) continue;
        if (s->black) line.own |= 1u << (k + Centre);
        line.empty &= ~(1u << (k + Centre));
    }
    return line;
}

// Length of the own run through the centre.
int RunThroughCentre(std::uint32_t own) {
    const int up = std::countr_one(own >> Centre);
    const int down = std::countl_one(own << (32 - Centre));
    return up + down;
}

// Cells that give exactly five together with the centre (or five or more, for
// white), as a mask.
std::uint32_t FivePoints(LineMasks line, bool overlineWins = false) {
    std::uint32_t points = 0;
    for (std::uint32_t candidates = line.empty & WithinFour; candidates != 0; candidates &= candidates - 1) {
        const std::uint32_t bit = candidates & (~candidates + 1);
        const std::uint32_t own = line.own | bit;
        // The run through the centre must take in the new stone.
        const int up = std::countr_one(own >> Centre);
        const int down = std::countl_one(own << (32 - Centre));
        const int k = std::countr_zero(bit) - Centre;
        const bool five = overlineWins ? up + down >= 5 : up + down == 5;
        if (five && k < up && -k <= down) points |= bit;
    }
    return points;
}

// Whether mask has at least n bits set: cheaper than a population count where
// the processor has no instruction for it, and the check runs on every point
// of black's lists.
constexpr bool HasBits(std::uint32_t mask, int n) {
    for (int k = 1; k < n && mask != 0; ++k) mask &= mask - 1;
    return mask != 0;
}

// Two five points five cells apart hold one straight four.
bool IsStraightPair(std::uint32_t points) {
    return std::popcount(points) == 2 && std::countl_zero(points) + std::countr_zero(points) == 32 - 6;
}

bool IsForbidden(const BoardAnalysis& board, Coord p, int black, const Placed* placed);

// A three needs two more own stones within four cells, a four three, two fours
// on one line four, an overline five within five. Counted on the line words as
// they stand, one bit per own cell. Two threats in two lines also show in the
// point's category.
constexpr std::uint32_t EvenCells = 0x55555;
constexpr std::uint32_t EvenCellsWithinFour = 0x15554;

}  // namespace

bool MayBeForbiddenPoint(const BoardAnalysis& board, Coord p, int black) {
    int busyLines = 0;
    bool crowded = false;
    for (int d = 0; d < DirectionCount; ++d) {
        const std::uint32_t word = board.sequence[static_cast<std::size_t>(p) * DirectionCount + d];
        const std::uint32_t low = word & EvenCells;
        const std::uint32_t high = (word >> 1) & EvenCells;
        const std::uint32_t own = black == Colour1 ? low & ~high : high & ~low;
        const std::uint32_t near = own & EvenCellsWithinFour;
        busyLines += HasBits(near, 2);
        crowded = crowded || HasBits(near, 4) || HasBits(own, 5);
    }
    return crowded || (busyLines >= 2 && board.PointCategoryOf(black, p) <= TwoThree);
}

namespace {

// Whether one more stone turns the line into a straight four from a point black
// may play.
bool IsThree(const BoardAnalysis& board, Coord p, int d, int black, const Placed* placed, LineMasks line) {
    const Placed self {p, placed};
    for (std::uint32_t candidates = line.empty & WithinFour; candidates != 0; candidates &= candidates - 1) {
        const std::uint32_t bit = candidates & (~candidates + 1);
        if (!IsStraightPair(FivePoints({line.own | bit, line.empty & ~bit}))) continue;
        const int k = std::countr_zero(bit) - Centre;
        const auto q = static_cast<Coord>(static_cast<std::int32_t>(p) + k * directionStep[d]);
        if (!IsForbidden(board, q, black, &self)) return true;
    }
    return false;
}

bool IsForbidden(const BoardAnalysis& board, Coord p, int black, const Placed* placed) {
    LineMasks lines[DirectionCount];
    for (int d = 0; d < DirectionCount; ++d) {
        lines[d] = ReadLine(board, p, d, black, placed);
        if (RunThroughCentre(lines[d].own) == 5) return false;
    }
    // A three needs two more own stones within four cells, a four three, two
    // fours on one line four, an overline five within five.
    int busyLines = 0;
    bool crowded = false;
    for (const LineMasks& line : lines) {
        // The centre's own bit is not counted.
        const std::uint32_t near = line.own & WithinFour & ~CentreBit;
        busyLines += HasBits(near, 2);
        crowded = crowded || HasBits(near, 4) || HasBits(line.own & ~CentreBit, 5);
    }
    if (busyLines < 2 && !crowded) return false;

    int fours = 0;
    int threes = 0;
    for (int d = 0; d < DirectionCount; ++d) {
        if (RunThroughCentre(lines[d].own) > 5) return true;
        const std::uint32_t points = FivePoints(lines[d]);
        const int lineFours = IsStraightPair(points) ? 1 : std::popcount(points);
        fours += lineFours;
        if (fours >= 2) return true;
        if (lineFours == 0 && HasBits(lines[d].own & WithinFour, 3) && threes < 2 &&
            IsThree(board, p, d, black, placed, lines[d])) {
            ++threes;
        }
    }
    return threes >= 2;
}

}  // namespace

bool IsForbiddenPoint(const BoardAnalysis& board, Coord p, int black) {
    return MayBeForbiddenPoint(board, p, black) && IsForbidden(board, p, black, nullptr);
}

// A white stone only takes room from black, so the stone count still rules
// points out.
bool IsForbiddenAfterWhite(const BoardAnalysis& board, Coord p, int black, Coord white) {
    const Placed whiteStone {white, nullptr, false};
    return MayBeForbiddenPoint(board, p, black) && IsForbidden(board, p, black, &whiteStone);
}

int UnblockableFivePoints(const BoardAnalysis& board, Coord p, int black, Coord* fivePoints) {
    const int white = Colour1 + Colour2 - black;
    int count = 0;
    for (int d = 0; d < DirectionCount; ++d) {
        // Only a line rated a four gets a five point from p.
        const ThreatCategory line = board.LineCategoryOf(white, p, d);
        if (line < StraightFour || line > Four) continue;
        const std::uint32_t points = FivePoints(ReadLine(board, p, d, white, nullptr), true);
        for (std::uint32_t rest = points; rest != 0; rest &= rest - 1) {
            const int k = std::countr_zero(rest) - Centre;
            const auto q = static_cast<Coord>(static_cast<std::int32_t>(p) + k * directionStep[d]);
            if (!IsForbiddenAfterWhite(board, q, black, p)) return 0;
            if (fivePoints) fivePoints[count] = q;
            ++count;
        }
    }
    return count;
}

}  // namespace zomar
