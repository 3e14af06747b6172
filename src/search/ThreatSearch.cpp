#include <algorithm>

#include "analysis/MoveGeneration.h"
#include "analysis/PatternTables.h"
#include "analysis/Score.h"
#include "analysis/ThreatEvaluation.h"
#include "board/Geometry.h"
#include "search/TreeSearch.h"

namespace zomar {

namespace {

// Levels fall by this much per attack, so level 0 with floor -9 allows five.
constexpr std::int32_t LevelStep = 2;

// The attacks of one level: the focus points kept from the level above, then
// this level's new candidates, ended by the board area. New candidates that
// do not fit are left out; they are still tried, only not handed down.
struct AttackList {
    Coord points[MaxThreatAttacks];
    std::uint32_t length = 0;  // points before the terminator
    std::uint32_t kept = 0;    // of them from the focus list
    std::int32_t prevIndex = -1;

    bool HasRoom() const { return length + 1 < MaxThreatAttacks; }
    bool ContainsBefore(std::uint32_t end, Coord c) const {
        return std::find(points, points + end, c) != points + end;
    }
};

void BuildAttackList(const ListBoard& board, const Coord* moves, std::uint32_t n, const Coord* focus,
                     AttackList& attacks) {
    const Coord end = static_cast<Coord>(boardArea);
    bool hasPrev = false;
    Coord prev = end;
    if (focus != nullptr && board.moveCount > 1) {
        // The side to move's own last stone: the previous attack.
        prev = board.moveList[board.moveCount - 2];
        hasPrev = true;
        for (const Coord* p = focus; *p != end && attacks.HasRoom(); ++p) {
            if (board.stone[*p] == EmptyCell || *p == prev) attacks.points[attacks.length++] = *p;
        }
        attacks.kept = attacks.length;
    }
    for (std::uint32_t i = 0; i < n && attacks.HasRoom(); ++i) {
        if (!attacks.ContainsBefore(attacks.kept, moves[i])) attacks.points[attacks.length++] = moves[i];
    }
    attacks.points[attacks.length] = end;
    if (hasPrev) {
        const Coord* found = std::find(attacks.points, attacks.points + attacks.length, prev);
        if (found != attacks.points + attacks.length) {
            attacks.prevIndex = static_cast<std::int32_t>(found - attacks.points);
        }
    }
}

}  // namespace

std::int32_t TreeSearch::ThreatSearch(ListBoard& board, std::int32_t level, std::int32_t floor,
                                      Coord& bestMove, std::int32_t bound, const Coord* focus, MsTimer& timer) {
    mCounters.maxPlyReached = std::max(mCounters.maxPlyReached, board.moveCount);
    if (level <= floor) return StaticScore(board);
    std::int32_t best = SCORE_LOSS;
    const std::int32_t status = EvaluateThreats(board, EvalAttacker);
    if (board.candidateCount == 0) return StaticScore(board);
    bestMove = board.candidateList[0];
    if (status != SCORE_UNKNOWN) return status;

    const std::uint32_t n = std::min(board.candidateCount, MaxThreatAttacks);
    Coord moves[MaxThreatAttacks];
    std::copy(board.candidateList.get(), board.candidateList.get() + n, moves);
    AttackList attacks;
    BuildAttackList(board, moves, n, focus, attacks);

    for (std::uint32_t i = 0; i < n; ++i) {
        if (HardLimitReached(timer)) break;
        const Coord move = moves[i];
        // Attacks listed before the previous one were tried by the level above.
        if (attacks.prevIndex > 0 &&
            attacks.ContainsBefore(static_cast<std::uint32_t>(attacks.prevIndex), move)) {
            continue;
        }
        board.MakeMove(move);
        const Coord* childFocus =
            attacks.length > 0 && (i < attacks.kept || focus == nullptr) ? attacks.points : nullptr;
        mCounters.maxPlyReached = std::max(mCounters.maxPlyReached, board.moveCount);
        const std::int32_t defence = EvaluateThreats(board, EvalDefender);
        std::int32_t value;
        if (defence != SCORE_UNKNOWN) {
            value = -defence;
        } else {
            // Under caro a four can also be stopped beyond its five: the
            // defender keeps the better of the two blocks.
            const std::uint32_t replyCount = (gameRule & CaroRuleBit) != 0 ? std::min(board.candidateCount, 2u) : 1;
            const Coord replies[2] = {board.candidateList[0], board.candidateList[replyCount - 1]};
            value = SCORE_WIN;
            for (std::uint32_t r = 0; r < replyCount; ++r) {
                board.MakeMove(replies[r]);
                Coord scratch = static_cast<Coord>(boardArea);
                value = std::min(value, ThreatSearch(board, level - LevelStep, floor, scratch, bound, childFocus, timer));
                board.MakeMove(replies[r]);
            }
        }
        board.MakeMove(move);
        if (value > best) {
            best = value;
            bestMove = move;
        }
        if (value > bound || value == SCORE_WIN) return best;
    }
    return std::max(best, StaticScore(board));
}

}  // namespace zomar
