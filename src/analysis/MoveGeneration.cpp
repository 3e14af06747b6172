#include "analysis/MoveGeneration.h"

#include <algorithm>
#include <cstdlib>
#include <functional>

#include "analysis/Candidates.h"
#include "analysis/CategoryWalk.h"
#include "analysis/RenjuRestriction.h"
#include "analysis/Score.h"
#include "analysis/ThreatEvaluation.h"
#include "board/Geometry.h"

namespace zomar {

const std::int32_t ownWeight[CategoryCount] = {1000000, 30000, 20000, 10000, 1000, 470, 380, 250, 500,
                                               330,     200,   110,   130,   80,   50,  20,  5,   -1};
const std::int32_t opponentWeight[CategoryCount] = {-600, -500, -470, -450, -400, -300, -200, -110, -50,
                                                    -33,  -20,  -20,  -13,  -8,   -5,   -3,   -1,   1};

namespace {

// Categories that take part in the score.
constexpr int ScoredCategories = TwoDef + 1;
// Below this many candidates a quiet list is extended from the border.
constexpr std::uint32_t ShortList = 7;
constexpr std::uint32_t ExtensionCount = 3;
constexpr std::int32_t NoAnswerPenalty = 100000;
constexpr std::int32_t QuietPlyBonus = 10000;

bool NextToCandidate(const ListBoard& board, Coord p) {
    for (std::uint32_t i = 0; i < board.candidateCount; ++i) {
        if (std::abs(LineDistance(p, board.candidateList[i])) <= 1) return true;
    }
    return false;
}

// The first point of the side to move's strongest non-empty category below
// Impossible.
void AddStrongestOwnPoint(ListBoard& board) {
    const int own = OwnColour(board);
    for (ThreatCategory c = Win; c <= Other; ++c) {
        if (board.categoryCount[own][c] > 0) {
            AddCandidate(board, static_cast<Coord>(FirstInList(board, own, c)));
            return;
        }
    }
}

bool AddLowestEmptyPoint(ListBoard& board) {
    for (std::uint32_t p = 0; p < boardArea; ++p) {
        if (board.stone[p] == EmptyCell) {
            AddCandidate(board, static_cast<Coord>(p));
            return true;
        }
    }
    return false;
}

}  // namespace

std::int32_t GenerateSearchMoves(ListBoard& board, int mode) {
    const std::int32_t r = EvaluateThreats(board, mode);
    if (board.listFinal || r != SCORE_UNKNOWN) return r;
    const std::uint32_t checked = board.candidateCount;
    ExtendMoves(board);
    if (board.candidateCount == 0) AddStrongestOwnPoint(board);
    // No point left where five can still be made: the game is lost for the
    // side to move, whatever it plays.
    const std::int32_t status =
        mode == EvalFull && board.candidateCount == 0 && AddLowestEmptyPoint(board) ? SCORE_LOSS : SCORE_UNKNOWN;
    // The extension and the fallbacks know nothing of forbidden points.
    return renjuBlack != 0 ? RestrictToAllowedPoints(board, mode, status, checked) : status;
}

void ExtendMoves(ListBoard& board) {
    if (board.candidateCount >= ShortList || !board.borderList) return;
    // Key, border order and point packed so that one descending sort orders by
    // key and keeps equal keys in border order.
    std::uint64_t* const chosen = board.ranking.packed.get();
    std::uint32_t count = 0;
    const int opp = OpponentColour(board);
    for (std::uint32_t i = 0; i < board.borderCount; ++i) {
        const Coord p = board.borderList[i];
        if (IsListed(board, p) || NextToCandidate(board, p)) continue;
        const std::uint64_t key = 100u - board.PointCategoryOf(opp, p);
        chosen[count] = (key << 32) | (static_cast<std::uint64_t>(0xFFFF - count) << 16) | p;
        ++count;
    }
    std::sort(chosen, chosen + count, std::greater<>());
    for (std::uint32_t i = 0; i < std::min(count, ExtensionCount); ++i) {
        AddMarkedCandidate(board, static_cast<Coord>(chosen[i] & 0xFFFF), MarkExtension);
    }
}

std::int32_t Score(const ListBoard& board) {
    const int own = OwnColour(board);
    const int opp = OpponentColour(board);
    // Summed wide and wrapped to 32 bits, so that no count can overflow.
    std::int64_t sum = 0;
    for (int c = 0; c < ScoredCategories; ++c) {
        sum += static_cast<std::int64_t>(board.categoryCount[own][c]) * ownWeight[c] +
               static_cast<std::int64_t>(board.categoryCount[opp][c]) * opponentWeight[c] * 3;
    }
    if (renjuBlack != 0) {
        // Black's forbidden points are no threats of black's.
        std::int16_t forbidden[CategoryCount] = {};
        CountForbiddenThreats(board, forbidden);
        for (int c = 0; c < ScoredCategories; ++c) {
            sum -= static_cast<std::int64_t>(forbidden[c]) * (own == renjuBlack ? ownWeight[c] : opponentWeight[c] * 3);
        }
    }
    return static_cast<std::int32_t>(sum);
}

std::int32_t StaticScore(ListBoard& board) {
    const std::int32_t r = EvaluateThreats(board, EvalFull);
    if (r == SCORE_LOSS || r == SCORE_WIN) return r;
    std::int64_t s = Score(board);
    if (board.evalFlags & NoAnswerToStraightFour) s -= NoAnswerPenalty;
    if (board.moveCount > 0 && !PlyThreatFlagSet(board, board.moveCount - 1)) s += QuietPlyBonus;
    return static_cast<std::int32_t>(s / 100);
}

}  // namespace zomar
