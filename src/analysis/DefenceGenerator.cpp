#include "analysis/DefenceGenerator.h"

#include <stdexcept>

#include "analysis/Candidates.h"
#include "analysis/CategoryWalk.h"
#include "board/Geometry.h"

namespace zomar {

namespace {

int AttackerColour(const ListBoard& board) { return OpponentColour(board); }

// Hands a produced point to the array (advancing it) or to the candidate list.
void Produce(ListBoard& board, Coord*& output, Coord p) {
    if (output) {
        *output++ = p;
    } else {
        AddCandidate(board, p);
    }
}

// The attacker's defence order of a run: under renju white's runs count
// overlines as fives.
const std::uint16_t* RunDefenceOrder(int attacker, std::uint32_t code) {
    return &DefenceOrderOf(attacker)[code * DefenceStride];
}

int DefenceOrderLength(int attacker, std::uint32_t code) {
    const std::uint16_t* order = RunDefenceOrder(attacker, code);
    int length = 0;
    while (length < DefenceStride && order[length] != NoSlot) ++length;
    return length;
}

void CheckDirection(int direction) {
    if (direction < 0 || direction >= DirectionCount) throw std::runtime_error("Invalid Direction");
}

void CheckGroupCode(const GroupCode& g) {
    if (g.code >= groupCodeCount) throw std::runtime_error("Sequence too big");
}

// A line through a combined threat point that carries part of the threat.
bool IsThreatLine(ThreatCategory c) {
    return c == FourThree || c == FourDevelopFour || c == FourDevelopThree || c == Four || c == ThreeDevelop ||
           c == Three;
}

int LowestStraightFourLine(const ListBoard& board, Coord x, int attacker) {
    for (int d = 0; d < DirectionCount; ++d) {
        if (board.LineCategoryOf(attacker, x, d) == StraightFour) return d;
    }
    return -1;
}

// X, then the answers in each line that carries the threat: for two lines the
// more urgent one first, both judged as if the attacker had taken X.
int CombinedThreatDefences(ListBoard& board, Coord x, Coord* output, int attacker) {
    Produce(board, output, x);
    int first = -1;
    int last = -1;
    int lines = 0;
    for (int d = 0; d < DirectionCount; ++d) {
        if (!IsThreatLine(board.LineCategoryOf(attacker, x, d))) continue;
        if (first < 0) first = d;
        last = d;
        ++lines;
    }
    if (lines == 1) return 1 + LineDefences(board, x, output, false, first);
    if (lines != 2) return 1;
    const GroupCode ga = LineCode(board, x, first);
    const GroupCode gb = LineCode(board, x, last);
    CheckGroupCode(ga);
    CheckGroupCode(gb);
    const std::uint8_t* distance = WinDistanceOf(attacker);
    const bool firstLineLeads = distance[ga.code] < distance[gb.code] ||
                                DefenceOrderLength(attacker, ga.code) < DefenceOrderLength(attacker, gb.code);
    const int lead = firstLineLeads ? first : last;
    const int follow = firstLineLeads ? last : first;
    const int leadCount = LineDefences(board, x, output, true, lead);
    const int followCount = LineDefences(board, x, output ? output + leadCount : nullptr, true, follow);
    return 1 + leadCount + followCount;
}

}  // namespace

int GenerateDefences(ListBoard& board, Coord x, Coord* output) {
    const int attacker = AttackerColour(board);
    const ThreatCategory c = board.PointCategoryOf(attacker, x);
    switch (c) {
    case TwoStraightFour:
        Produce(board, output, x);
        return 1;
    case StraightFourFour:
    case StraightFour: {
        const int d = LowestStraightFourLine(board, x, attacker);
        // Without a straight-four line the threat is two fours in two lines.
        if (d >= 0) return LineDefences(board, x, output, false, d);
        return CombinedThreatDefences(board, x, output, attacker);
    }
    case FourThree:
    case TwoThree:
        return CombinedThreatDefences(board, x, output, attacker);
    default:
        throw std::runtime_error("Unexpected structure in defend generator.");
    }
}

int LineDefences(ListBoard& board, Coord x, Coord* output, bool centreOwn, int direction) {
    CheckDirection(direction);
    const int attacker = AttackerColour(board);
    const std::uint32_t s = board.sequence[static_cast<std::size_t>(x) * DirectionCount + direction];
    const std::int32_t step = directionStep[direction];
    const std::uint16_t* orders = DefenceOrderOf(attacker);
    GroupCode g = MakeGroupCode(attacker, s, centreOwn);
    // A run too long for the table's orders is judged again on the inner four
    // cells of each side.
    if (orders[g.code * DefenceStride] == NoSlot) {
        g = MakeGroupCode(attacker, (s >> 2) & 0xFFFF, centreOwn, HalfLength - 1);
    }
    const std::uint16_t* order = &orders[g.code * DefenceStride];
    int produced = 0;
    for (int k = 0; k < DefenceStride && order[k] != NoSlot; ++k) {
        const auto offset = static_cast<std::int32_t>(order[k]) - g.negativeCount;
        Produce(board, output, static_cast<Coord>(x + step * offset));
        ++produced;
    }
    return produced;
}

GroupCode LineCode(const ListBoard& board, Coord x, int direction) {
    CheckDirection(direction);
    return MakeGroupCode(AttackerColour(board), board.sequence[static_cast<std::size_t>(x) * DirectionCount + direction],
                         false);
}

}  // namespace zomar
