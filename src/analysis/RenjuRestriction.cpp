#include "analysis/RenjuRestriction.h"

#include <algorithm>

#include "analysis/Candidates.h"
#include "analysis/CategoryWalk.h"
#include "analysis/ForbiddenPoint.h"
#include "analysis/PatternTables.h"
#include "analysis/Score.h"
#include "analysis/ThreatEvaluation.h"

namespace zomar {

namespace {

// Mark bits that belong to the candidate list.
constexpr std::uint8_t CandidateBits = 0x1F;
// Counter-fours listed only besides real defences carry this mark bit.
constexpr std::uint8_t UnweightedBit = MarkUnweightedCounterFour & ~MarkListed;
// Replacement moves for a full evaluation left without one.
constexpr std::uint32_t ReplacementCount = 8;

bool NextToStone(const ListBoard& board, Coord p) {
    for (const std::uint16_t* n = Neighbours(p); *n < boardArea; ++n) {
        if (board.stone[*n] != EmptyCell) return true;
    }
    return false;
}

void AddAllowedPoints(ListBoard& board) {
    for (ThreatCategory c = Win; c <= Other; ++c) {
        for (std::uint32_t p = FirstInList(board, renjuBlack, c); !IsListEnd(p); p = NextInList(board, renjuBlack, p)) {
            if (board.candidateCount >= ReplacementCount) return;
            const auto point = static_cast<Coord>(p);
            if (NextToStone(board, point) && !IsForbiddenPoint(board, point, renjuBlack)) {
                AddCandidate(board, point);
            }
        }
    }
    for (std::uint32_t p = 0; p < boardArea && board.candidateCount == 0; ++p) {
        const auto point = static_cast<Coord>(p);
        if (board.stone[p] == EmptyCell && !IsForbiddenPoint(board, point, renjuBlack)) {
            AddCandidate(board, point);
        }
    }
}

// The five points of a white four are white four points themselves: without
// one that may be forbidden for black no four of white's is unblockable.
bool AnyWhiteFourPointMayBeForbidden(const ListBoard& board) {
    const int white = Colour1 + Colour2 - renjuBlack;
    for (ThreatCategory c = Win; c <= Four; ++c) {
        for (std::uint32_t p = FirstInList(board, white, c); !IsListEnd(p); p = NextInList(board, white, p)) {
            if (MayBeForbiddenPoint(board, static_cast<Coord>(p), renjuBlack)) return true;
        }
    }
    return false;
}

}  // namespace

void CountForbiddenThreats(const ListBoard& board, std::int16_t (&counts)[CategoryCount]) {
    for (ThreatCategory c = TwoStraightFour; c <= TwoThree; ++c) {
        for (std::uint32_t p = FirstInList(board, renjuBlack, c); !IsListEnd(p); p = NextInList(board, renjuBlack, p)) {
            counts[c] += IsForbiddenPoint(board, static_cast<Coord>(p), renjuBlack);
        }
    }
}

int UnblockableFours(const ListBoard& board, Coord* points, int room) {
    if (!AnyWhiteFourPointMayBeForbidden(board)) return 0;
    const int white = Colour1 + Colour2 - renjuBlack;
    int count = 0;
    for (ThreatCategory c = FourThree; c <= Four; ++c) {
        for (std::uint32_t p = FirstInList(board, white, c); !IsListEnd(p); p = NextInList(board, white, p)) {
            if (!IsUnblockableFour(board, static_cast<Coord>(p), renjuBlack)) continue;
            points[count++] = static_cast<Coord>(p);
            if (count == room) return count;
        }
    }
    return count;
}

Coord UnblockableFour(const ListBoard& board) {
    Coord four = static_cast<Coord>(boardArea);
    UnblockableFours(board, &four, 1);
    return four;
}

std::uint32_t SkipForbiddenPoints(const ListBoard& board, std::uint32_t p) {
    while (!IsListEnd(p) && IsForbiddenPoint(board, static_cast<Coord>(p), renjuBlack)) {
        p = NextInList(board, renjuBlack, p);
    }
    return p;
}

void CountAllowedThreats(const ListBoard& board, std::int16_t (&counts)[CategoryCount]) {
    std::copy(board.categoryCount[renjuBlack], board.categoryCount[renjuBlack] + CategoryCount, counts);
    for (const ThreatCategory c : {TwoStraightFour, StraightFourFour, StraightFour, FourThree, TwoThree}) {
        for (std::uint32_t p = FirstInList(board, renjuBlack, c); !IsListEnd(p); p = NextInList(board, renjuBlack, p)) {
            counts[c] = static_cast<std::int16_t>(counts[c] - IsForbiddenPoint(board, static_cast<Coord>(p), renjuBlack));
        }
    }
}

bool IsRenjuRule() { return (gameRule & RenjuRuleBit) != 0; }

int RenjuBlackOf(const GameRecord& board) {
    if (!IsRenjuRule()) return 0;
    int stones[3] = {};
    for (std::uint32_t p = 0; p < boardArea; ++p) ++stones[board.stone[p]];
    return stones[Colour1] != stones[Colour2] ? (stones[Colour1] > stones[Colour2] ? Colour1 : Colour2)
                                              : board.ToMoveColour();
}

void FollowRenjuBlack(const GameRecord& board) { renjuBlack = RenjuBlackOf(board); }

std::int32_t RestrictToAllowedPoints(ListBoard& board, int mode, std::int32_t status, std::uint32_t checked) {
    if (board.ToMoveColour() != renjuBlack || board.candidateCount == 0) return status;
    const Coord first = board.candidateList[0];
    std::uint32_t kept = checked;
    for (std::uint32_t i = checked; i < board.candidateCount; ++i) {
        const Coord p = board.candidateList[i];
        if (IsForbiddenPoint(board, p, renjuBlack)) {
            board.candidateMark[p] &= static_cast<std::uint8_t>(~CandidateBits);
        } else {
            board.candidateList[kept++] = p;
        }
    }
    if (kept == board.candidateCount) return status;
    board.candidateCount = kept;

    const int white = 3 - renjuBlack;
    const bool fivePointForbidden = board.categoryCount[white][Win] > 0 && (kept == 0 || board.candidateList[0] != first);
    if (fivePointForbidden || (kept == 0 && board.listFinal && status != SCORE_WIN)) {
        status = SCORE_LOSS;
    } else if (status == SCORE_WIN && (kept == 0 || board.candidateList[0] != first)) {
        status = SCORE_UNKNOWN;
    }
    if (kept == 0) {
        if (mode != EvalFull) return SCORE_LOSS;
        board.listFinal = 0;
        AddAllowedPoints(board);
    }
    // With every real defence forbidden, the counter-fours are the moves.
    bool weighted = false;
    for (std::uint32_t i = 0; i < board.candidateCount; ++i) {
        weighted = weighted || (board.candidateMark[board.candidateList[i]] & UnweightedBit) == 0;
    }
    for (std::uint32_t i = 0; i < board.candidateCount && !weighted; ++i) {
        board.candidateMark[board.candidateList[i]] &= static_cast<std::uint8_t>(~UnweightedBit);
    }
    return status;
}

}  // namespace zomar
