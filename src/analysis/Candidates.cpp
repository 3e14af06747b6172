#include "analysis/Candidates.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <functional>

#include "analysis/CategoryWalk.h"
#include "analysis/ForbiddenPoint.h"
#include "analysis/PatternTables.h"
#include "board/Geometry.h"

namespace zomar {

namespace {

// Mark bits that belong to the candidate list; the upper three are left alone.
constexpr std::uint8_t CandidateBits = 0x1F;

// The four line categories of p for colour, sorted into the classes the weak
// point test counts.
struct LineClassCounts {
    int strong = 0;     // Three or better
    int middle = 0;     // ThreeDef .. Two
    int closedTwo = 0;  // TwoDef
    int other = 0;
    int dead = 0;       // Impossible
};

// The class of one line category as a one in its own byte, so that four of
// them add up to all five counts at once.
constexpr std::uint64_t ClassBit(std::uint32_t c) {
    const int byte = c <= Three ? 0 : c <= Two ? 1 : c == TwoDef ? 2 : c == Other ? 3 : 4;
    return std::uint64_t{1} << (8 * byte);
}

constexpr auto ClassBits = [] {
    std::array<std::uint64_t, CategoryMask + 1> bits{};
    for (std::uint32_t c = 0; c <= CategoryMask; ++c) bits[c] = ClassBit(c);
    return bits;
}();

LineClassCounts CountLineClasses(const ListBoard& board, Coord p, int colour) {
    const std::uint32_t packed = board.PackedOf(colour, p);
    std::uint64_t sum = 0;
    for (int d = 0; d < DirectionCount; ++d) sum += ClassBits[(packed >> (CategoryBits * d)) & CategoryMask];
    auto count = [sum](int byte) { return static_cast<int>((sum >> (8 * byte)) & 0xFF); };
    return {count(0), count(1), count(2), count(3), count(4)};
}

// Categories whose points are gathered even when only one line is still open.
bool KeepsDeadPoints(ThreatCategory c) {
    return c == FourThree || c == FourDevelopFour || c == FourDevelopThree || c == TwoThree || c == ThreeDevelop;
}

bool IsWeakForBoth(const ListBoard& board, Coord p, int own, int opponent) {
    return IsWeakPoint(board, p, own, 1) && IsWeakPoint(board, p, opponent, 0);
}

// The gathering key of CategoryMoves: a stronger own category weighs three steps
// of the opponent's; the low hash bits order what is left in a fixed way.
std::uint32_t GatherKey(const ListBoard& board, Coord p, ThreatCategory own, int opponent) {
    const std::uint32_t high = 1000 - 3u * own - board.PointCategoryOf(opponent, p);
    return (high << 16) | static_cast<std::uint32_t>(zobristKey[p] & 0xFFFF);
}

bool TouchesStone(const ListBoard& board, Coord p) {
    for (const std::uint16_t* n = Neighbours(p); *n != boardArea; ++n) {
        if (board.stone[*n] != EmptyCell) return true;
    }
    return false;
}

// A point near the first of two stones that keeps clear of the second one's lines.
bool SuitsSecondOpening(const ListBoard& board, Coord p, Coord second) {
    return board.stone[p] == EmptyCell && std::abs(LineDistance(p, second)) >= 5 &&
           board.PointCategoryOf(OwnColour(board), p) < Impossible;
}

}  // namespace

bool AddCandidate(ListBoard& board, Coord p) { return AddMarkedCandidate(board, p, MarkListed); }

bool AddMarkedCandidate(ListBoard& board, Coord p, std::uint8_t mark) {
    if (IsListed(board, p)) return false;
    board.candidateMark[p] = mark;
    board.candidateList[board.candidateCount++] = p;
    return true;
}

void RemoveCandidate(ListBoard& board, std::uint32_t entry) {
    board.candidateMark[board.candidateList[entry]] &= static_cast<std::uint8_t>(~MarkListed);
    --board.candidateCount;
    if (entry < board.candidateCount) board.candidateList[entry] = board.candidateList[board.candidateCount];
}

void ClearCandidates(ListBoard& board) {
    while (board.candidateCount > 0) {
        --board.candidateCount;
        board.candidateMark[board.candidateList[board.candidateCount]] &= static_cast<std::uint8_t>(~CandidateBits);
    }
}

bool IsDeadPoint(const ListBoard& board, Coord p, int colour) {
    return CountLineClasses(board, p, colour).dead >= 3;
}

bool IsWeakPoint(const ListBoard& board, Coord p, int colour, int limit) {
    const LineClassCounts k = CountLineClasses(board, p, colour);
    if (k.strong > limit || k.dead < 1) return false;
    if (k.middle == 0 && k.closedTwo <= 1) return true;
    return limit == 0 && k.middle == 1 && k.closedTwo == 0 && k.other < 3;
}

void CategoryMoves(ListBoard& board, const std::uint8_t* categories, int n) {
    // Each entry packs key, gathering order and point, so that one descending
    // sort orders by key and keeps equal keys in gathering order. A point sits
    // in one list per colour, so distinct categories never gather more than a
    // board's points; the bound below only guards repeated categories.
    std::uint64_t* const gathered = board.ranking.packed.get();
    std::uint32_t count = 0;
    const int own = OwnColour(board);
    const int opponent = OpponentColour(board);
    const std::int64_t limit = board.evalPointCount;
    for (int k = 0; k < n; ++k) {
        const ThreatCategory a = categories[k];
        for (std::uint32_t b = FirstInList(board, own, a); !IsListEnd(b) && count < board.Area();
             b = NextInList(board, own, b)) {
            const Coord p = static_cast<Coord>(b);
            if (!KeepsDeadPoints(a) && IsDeadPoint(board, p, own)) continue;
            if (IsWeakForBoth(board, p, own, opponent)) continue;
            gathered[count] = (static_cast<std::uint64_t>(GatherKey(board, p, a, opponent)) << 32) |
                              (static_cast<std::uint64_t>(0xFFFF - count) << 16) | p;
            ++count;
        }
        if (count >= limit) break;
    }
    std::sort(gathered, gathered + count, std::greater<>());
    const std::uint32_t taken = limit <= 0 ? 0 : static_cast<std::uint32_t>(std::min<std::int64_t>(count, limit));
    for (std::uint32_t i = 0; i < taken; ++i) AddCandidate(board, static_cast<Coord>(gathered[i] & 0xFFFF));
}

void FillOpponentThreats(ListBoard& board) {
    static constexpr ThreatCategory threatLists[] = {FourThree, FourDevelopFour, FourDevelopThree, TwoThree,
                                                     ThreeDevelop};
    const int opponent = OpponentColour(board);
    const bool renjuBlackThreats = opponent == renjuBlack;
    int counted = 0;
    for (const ThreatCategory c : threatLists) {
        for (std::uint32_t p = FirstInList(board, opponent, c); !IsListEnd(p); p = NextInList(board, opponent, p)) {
            if (BorderStateOf(board, static_cast<Coord>(p)) == BorderOutside) continue;
            if (renjuBlackThreats && IsForbiddenPoint(board, static_cast<Coord>(p), opponent)) continue;
            AddCandidate(board, static_cast<Coord>(p));
            if (++counted == 3) return;
        }
    }
}

void FillNearStones(ListBoard& board, std::uint32_t limit) {
    const int own = OwnColour(board);
    for (ThreatCategory c = Win; c <= Other; ++c) {
        for (std::uint32_t p = FirstInList(board, own, c); !IsListEnd(p); p = NextInList(board, own, p)) {
            if (board.candidateCount >= limit) return;
            if (TouchesStone(board, static_cast<Coord>(p))) AddCandidate(board, static_cast<Coord>(p));
        }
    }
}

bool OpeningMove(ListBoard& board) {
    const std::int64_t centreX = boardWidth / 2;
    const std::int64_t centreY = boardHeight / 2;
    switch (board.moveCount) {
    case 0:
        AddCandidate(board, CoordFromXY(boardWidth / 2, boardHeight / 2));
        return true;
    case 1: {
        const Coord first = board.moveList[0];
        const std::int64_t x = first % boardWidth;
        const std::int64_t y = first / boardWidth;
        const std::int64_t dx = centreX - x;
        const std::int64_t dy = centreY - y;
        // A first stone in the centre is answered on its left.
        if (std::abs(dx) >= std::abs(dy)) {
            AddCandidate(board, CoordFromXY(static_cast<std::uint32_t>(dx > 0 ? x + 1 : x - 1), static_cast<std::uint32_t>(y)));
        } else {
            AddCandidate(board, CoordFromXY(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(dy > 0 ? y + 1 : y - 1)));
        }
        board.listFinal = 1;
        return true;
    }
    case 2: {
        const Coord first = board.moveList[0];
        const Coord second = board.moveList[1];
        std::uint32_t choice = boardArea;
        for (const std::uint16_t* n = Neighbours(first); *n != boardArea; ++n) {
            if (SuitsSecondOpening(board, *n, second)) choice = *n;
        }
        // Without a suitable neighbour the rule stands aside and the position
        // is treated as a quiet one.
        if (choice == boardArea) return false;
        AddCandidate(board, static_cast<Coord>(choice));
        return true;
    }
    default:
        return false;
    }
}

}  // namespace zomar
