#include "analysis/ThreatEvaluation.h"

#include <cstdlib>
#include <stdexcept>

#include "analysis/Candidates.h"
#include "analysis/CategoryWalk.h"
#include "analysis/DefenceGenerator.h"
#include "analysis/ForbiddenPoint.h"
#include "analysis/PatternTables.h"
#include "analysis/RenjuRestriction.h"
#include "analysis/Score.h"
#include "board/Geometry.h"

namespace zomar {

namespace {

// The opponent's category counts; under renju without black's forbidden points
// where they would call for an answer.
const std::int16_t* OpponentCounts(const ListBoard& board, std::int16_t (&allowed)[CategoryCount]) {
    const int opp = OpponentColour(board);
    if (opp != renjuBlack) return board.categoryCount[opp];
    CountAllowedThreats(board, allowed);
    return allowed;
}

// The category counts both sides' decisions are read from.
struct ThreatCounts {
    std::int16_t allowedOpp[CategoryCount];
    const std::int16_t* own;
    const std::int16_t* opp;
    int ownStraightFours;
    int oppStraightFours;
    int ownFours;
    int oppFours;

    explicit ThreatCounts(const ListBoard& board)
        : own(board.categoryCount[OwnColour(board)]),
          opp(OpponentCounts(board, allowedOpp)),
          ownStraightFours(own[TwoStraightFour] + own[StraightFourFour] + own[StraightFour]),
          oppStraightFours(opp[TwoStraightFour] + opp[StraightFourFour] + opp[StraightFour]),
          ownFours(own[FourThree] + own[FourDevelopFour] + own[FourDevelopThree] + own[Four]),
          oppFours(opp[FourThree] + opp[FourDevelopFour] + opp[FourDevelopThree] + opp[Four]) {}
};

void CheckMode(int mode) {
    if (mode == 3) throw std::runtime_error("mGoodPosition not supported");
    if (mode != EvalFull && mode != EvalAttacker && mode != EvalDefender) throw std::runtime_error("Not implemented.");
}

Coord FirstOwn(const ListBoard& board, ThreatCategory c) {
    return static_cast<Coord>(FirstInList(board, OwnColour(board), c));
}

// List walks that pass over black's forbidden points: they are no threats of
// black's, and win nothing for it.
std::uint32_t FirstAllowed(const ListBoard& board, int colour, ThreatCategory c) {
    return SkipForbiddenThreats(board, colour, FirstInList(board, colour, c));
}

std::uint32_t NextAllowed(const ListBoard& board, int colour, std::uint32_t p) {
    return SkipForbiddenThreats(board, colour, NextInList(board, colour, p));
}

std::uint32_t FirstOwnAllowed(const ListBoard& board, ThreatCategory c) {
    return FirstAllowed(board, OwnColour(board), c);
}

std::uint32_t NextOwnAllowed(const ListBoard& board, std::uint32_t p) {
    return NextAllowed(board, OwnColour(board), p);
}

std::uint32_t FirstOppThreat(const ListBoard& board, ThreatCategory c) {
    return FirstAllowed(board, OpponentColour(board), c);
}

std::uint32_t NextOppThreat(const ListBoard& board, std::uint32_t p) {
    return NextAllowed(board, OpponentColour(board), p);
}

// The strongest own straight-four point that may be played; boardArea when
// there is none.
Coord OwnStraightFour(const ListBoard& board, const ThreatCounts& k) {
    for (const ThreatCategory c : {TwoStraightFour, StraightFourFour, StraightFour}) {
        if (k.own[c] == 0) continue;
        const std::uint32_t p = FirstOwnAllowed(board, c);
        if (!IsListEnd(p)) return static_cast<Coord>(p);
    }
    return static_cast<Coord>(boardArea);
}

Coord FirstOpp(const ListBoard& board, ThreatCategory c) { return static_cast<Coord>(FirstOppThreat(board, c)); }

ThreatCategory OwnCategory(const ListBoard& board, Coord p) { return board.PointCategoryOf(OwnColour(board), p); }

void SetPlyFlag(ListBoard& board) { board.candidateMark[board.moveCount] |= PlyThreatFlag; }

void ClearPlyFlag(ListBoard& board) {
    board.candidateMark[board.moveCount] &= static_cast<std::uint8_t>(~PlyThreatFlag);
}

// Without an answer the side to move is marked as helpless at this ply.
void ApplyFlagRule(ListBoard& board, bool found) {
    if (found) {
        ClearPlyFlag(board);
    } else {
        board.evalFlags |= NoAnswerToStraightFour;
        SetPlyFlag(board);
    }
}

bool AnyOppStraightFourListed(const ListBoard& board) {
    for (std::uint32_t p = FirstOppThreat(board, StraightFour); !IsListEnd(p); p = NextOppThreat(board, p)) {
        if (IsListed(board, static_cast<Coord>(p))) return true;
    }
    return false;
}

// An own FourThree wins when no opponent four can intervene, or when the
// opponent's best defence against it is no four of theirs. The defences of all
// tried points accumulate in the list. Under caro a four may have a second
// defence beyond its five, so only the first case holds.
bool OwnFourThreeWins(ListBoard& board, const ThreatCounts& k) {
    const int opp = OpponentColour(board);
    for (std::uint32_t x = FirstOwnAllowed(board, FourThree); !IsListEnd(x); x = NextOwnAllowed(board, x)) {
        const Coord point = static_cast<Coord>(x);
        if (k.oppFours == 0) {
            AddCandidate(board, point);
            return true;
        }
        if ((gameRule & CaroRuleBit) != 0) return false;
        const std::uint8_t side = board.sideToMove;
        board.sideToMove = side ? 0 : 1;
        GenerateDefences(board, point, nullptr);
        board.sideToMove = side;
        if (board.candidateCount >= 2 && board.PointCategoryOf(opp, board.candidateList[1]) > Four &&
            !AnyOppStraightFourListed(board)) {
            ClearCandidates(board);
            AddCandidate(board, point);
            return true;
        }
    }
    return false;
}

// Adds the points among the given ones where defending also makes an own four.
bool AddDefencesThatFour(ListBoard& board, const Coord* points, int count, ThreatCategory limit) {
    bool any = false;
    for (int i = 0; i < count; ++i) {
        if (OwnCategory(board, points[i]) <= limit) {
            AddCandidate(board, points[i]);
            any = true;
        }
    }
    return any;
}

bool Contains(const Coord* points, int count, Coord p) {
    for (int i = 0; i < count; ++i) {
        if (points[i] == p) return true;
    }
    return false;
}

// Keeps among kept[0..n-1] only the points that fresh also holds; a dropped
// entry takes the last kept one. Returns the new n.
int KeepCommon(Coord* kept, int n, const Coord* fresh, int freshCount) {
    for (int i = n - 1; i >= 0; --i) {
        if (!Contains(fresh, freshCount, kept[i])) {
            kept[i] = kept[n - 1];
            --n;
        }
    }
    return n;
}

// The counter-four verdict after the opponent's straight four.
std::int32_t CounterFourVerdict(ListBoard& board, const ThreatCounts& k, bool found, const Coord* fallback) {
    if (k.ownFours > 0) {
        const std::int32_t r = CounterFours(board, !found);
        if (r > 0 && !found) return SCORE_UNKNOWN;
    }
    if (found) return SCORE_UNKNOWN;
    if (board.candidateCount == 0 && fallback) AddCandidate(board, *fallback);
    return SCORE_LOSS;
}

// White's four points black could not block once made, which black answers as
// straight-four points: the most kept, and black's answers to one of them.
constexpr int MaxUnblockableFours = 4;
struct UnblockableFourThreats {
    Coord points[MaxUnblockableFours];
    int count = 0;
};

static_assert(1 + MaxFivePoints <= MaxDefencePoints);

// Black takes the four point, or a five point while it still may.
int UnblockableFourDefences(const ListBoard& board, Coord x, Coord* output) {
    output[0] = x;
    return 1 + UnblockableFivePoints(board, x, renjuBlack, output + 1);
}

// The opponent holds one or more straight-four points (only category 3, or
// fours black could not block): the defences common to all of them, and
// defences that make an own four.
std::int32_t AnswerStraightFourPoints(ListBoard& board, const ThreatCounts& k, const UnblockableFourThreats& fours) {
    // Kept defences, then one more threat's fresh ones after them.
    Coord defences[2 * MaxDefencePoints];
    int n = 0;
    bool started = false;
    // Whether defences[0] holds a point, the fallback answer of a lost position.
    bool firstFilled = false;
    bool found = false;
    // Takes in the m fresh defences of one more threat; a threat that keeps all
    // narrows nothing once a first one has set the defences.
    const auto takeIn = [&](int m, bool keepAll) {
        firstFilled = firstFilled || (n == 0 && m > 0);
        found = AddDefencesThatFour(board, defences + n, m, Four) || found;
        if (!started) {
            n = m;
        } else if (!keepAll) {
            n = KeepCommon(defences, n, defences + n, m);
        }
        started = true;
    };
    for (std::uint32_t p = FirstOppThreat(board, StraightFour); !IsListEnd(p); p = NextOppThreat(board, p)) {
        takeIn(GenerateDefences(board, static_cast<Coord>(p), defences + n), false);
    }
    for (int i = 0; i < fours.count; ++i) takeIn(UnblockableFourDefences(board, fours.points[i], defences + n), false);
    if (k.opp[FourThree] > 0) {
        for (std::uint32_t p = FirstOppThreat(board, FourThree); !IsListEnd(p); p = NextOppThreat(board, p)) {
            const int m = GenerateDefences(board, static_cast<Coord>(p), defences + n);
            // A FourThree whose second answer is still a fair point of ours is
            // not allowed to narrow the common defences.
            takeIn(m, m > 2 && OwnCategory(board, defences[n + 1]) <= TwoTwo);
        }
    }
    if (n > 0) {
        found = true;
        for (int i = 0; i < n; ++i) AddCandidate(board, defences[i]);
        ClearPlyFlag(board);
    } else {
        ApplyFlagRule(board, found);
    }
    return CounterFourVerdict(board, k, found, firstFilled ? &defences[0] : nullptr);
}

// Step against the opponent's straight four, in its three shapes.
std::int32_t AnswerStraightFour(ListBoard& board, const ThreatCounts& k, const UnblockableFourThreats& fours) {
    if (k.opp[TwoStraightFour] > 0) {
        AddCandidate(board, FirstOpp(board, TwoStraightFour));
        if (k.ownFours == 0) return k.oppStraightFours > 2 ? SCORE_LOSS : SCORE_UNKNOWN;
        ClearPlyFlag(board);
        return CounterFourVerdict(board, k, true, nullptr);
    }
    if (k.opp[StraightFourFour] > 0) {
        const Coord s = FirstOpp(board, StraightFourFour);
        const bool found = k.oppStraightFours <= 3;
        if (found) AddCandidate(board, s);
        if (k.ownFours == 0) {
            if (k.oppStraightFours <= 2) return SCORE_UNKNOWN;
            AddCandidate(board, s);
            return SCORE_LOSS;
        }
        ApplyFlagRule(board, found);
        return CounterFourVerdict(board, k, found, &s);
    }
    return AnswerStraightFourPoints(board, k, fours);
}

// Around the defences of a single opponent FourThree: own line points that
// strengthen a defence's threes.
void AddLineSupport(ListBoard& board, Coord threat) {
    const int own = OwnColour(board);
    const std::uint32_t listed = board.candidateCount;
    for (std::uint32_t i = 0; i < listed; ++i) {
        const Coord q = board.candidateList[i];
        if (q == threat || OwnCategory(board, q) > Three) continue;
        for (int d = 0; d < DirectionCount; ++d) {
            if (board.LineCategoryOf(own, q, d) > ThreeDef) continue;
            for (const std::uint16_t* r = LineNeighbours(q, d); *r != boardArea; ++r) {
                if (board.stone[*r] == EmptyCell && board.LineCategoryOf(own, *r, d) <= Three) {
                    AddCandidate(board, *r);
                }
            }
        }
    }
}

bool AnyListedWithinFour(const ListBoard& board, Coord x) {
    for (std::uint32_t i = 0; i < board.candidateCount; ++i) {
        if (IsWithinFour(x, board.candidateList[i])) return true;
    }
    return false;
}

// The opponent threatens a FourThree (and has no straight four).
std::int32_t AnswerFourThree(ListBoard& board, const ThreatCounts& k) {
    bool found = true;
    if (k.own[FourThree] > 0) {
        AddCandidate(board, FirstOpp(board, FourThree));
    } else if (k.opp[FourThree] == 1) {
        const Coord x = FirstOpp(board, FourThree);
        GenerateDefences(board, x, nullptr);
        AddLineSupport(board, x);
    } else {
        found = false;
        Coord defences[MaxDefencePoints];
        for (std::uint32_t p = FirstOppThreat(board, FourThree); !IsListEnd(p); p = NextOppThreat(board, p)) {
            const Coord x = static_cast<Coord>(p);
            if (board.candidateCount == 0 || AnyListedWithinFour(board, x)) AddCandidate(board, x);
            const int m = GenerateDefences(board, x, defences);
            found = AddDefencesThatFour(board, defences, m, ThreeDevelop) || found;
        }
        if (!found && board.candidateCount == 1) {
            SetPlyFlag(board);
            ClearCandidates(board);
        } else {
            ClearPlyFlag(board);
        }
    }
    const std::int32_t r = CounterFours(board, !found);
    if (r == 0 && board.candidateCount == 0) {
        FillNearStones(board, 1);
        return SCORE_LOSS;
    }
    return SCORE_UNKNOWN;
}

// The opponent's double threes: the defences of a single one, or all of them
// and the gaps between two that share a line. True when the opponent has any.
bool AnswerDoubleThree(ListBoard& board, const ThreatCounts& k) {
    if (k.opp[TwoThree] == 0) return false;
    if (k.opp[TwoThree] == 1) {
        GenerateDefences(board, FirstOpp(board, TwoThree), nullptr);
        return true;
    }
    board.evalFlags |= OpponentDoubleThrees;
    for (std::uint32_t p = FirstOppThreat(board, TwoThree); !IsListEnd(p); p = NextOppThreat(board, p)) {
        AddCandidate(board, static_cast<Coord>(p));
    }
    if (k.opp[TwoThree] != 2) return true;
    const Coord first = FirstOpp(board, TwoThree);
    const Coord second = static_cast<Coord>(NextOppThreat(board, first));
    if (std::abs(LineDistance(second, first)) > 5) return true;
    const std::uint32_t a = first < second ? first : second;
    const std::uint32_t b = first < second ? second : first;
    const std::uint32_t step = (b - a) / static_cast<std::uint32_t>(LineDistance(a, b));
    for (std::uint32_t p = a + step; p < b; p += step) {
        if (board.stone[p] == EmptyCell) AddCandidate(board, static_cast<Coord>(p));
    }
    return true;
}

// Own 2xTwo points on the border, until the list holds 10.
void AddBorderDoubleTwos(ListBoard& board) {
    const int own = OwnColour(board);
    for (std::uint32_t p = FirstInList(board, own, TwoTwo); !IsListEnd(p) && board.candidateCount < 10;
         p = NextInList(board, own, p)) {
        if (BorderStateOf(board, static_cast<Coord>(p)) == BorderListed) AddCandidate(board, static_cast<Coord>(p));
    }
}

// Own strongest points, until the list holds 4.
void AddOwnStrongPoints(ListBoard& board) {
    if (board.candidateCount >= 10) return;
    const int own = OwnColour(board);
    for (ThreatCategory c = Win; c <= TwoTwo; ++c) {
        for (std::uint32_t p = FirstInList(board, own, c); !IsListEnd(p); p = NextInList(board, own, p)) {
            AddCandidate(board, static_cast<Coord>(p));
            if (board.candidateCount >= 4) return;
        }
        if (board.candidateCount >= 4) return;
    }
}

constexpr std::uint8_t AttackCategories[] = {Win, TwoStraightFour, StraightFourFour, StraightFour, FourThree,
                                             FourDevelopFour};
constexpr std::uint8_t QuietCategories[] = {Win,       TwoStraightFour, StraightFourFour, StraightFour,
                                            FourThree, TwoThree,        FourDevelopFour,  FourDevelopThree,
                                            ThreeDevelop, Four,         Three};

}  // namespace

namespace {

std::int32_t EvaluateUnrestricted(ListBoard& board, int mode) {
    ClearCandidates(board);
    board.evalFlags = 0;
    board.listFinal = 1;
    CheckMode(mode);
    const ThreatCounts k(board);

    if (k.own[Win] > 0) {
        AddCandidate(board, FirstOwn(board, Win));
        return SCORE_WIN;
    }
    if (k.opp[Win] > 0) return BlockFive(board, mode);
    // The attacker's move made no five threat: the defence holds.
    if (mode == EvalDefender) return SCORE_WIN;
    if (k.ownStraightFours > 0) {
        const Coord four = OwnStraightFour(board, k);
        if (four < boardArea) {
            AddCandidate(board, four);
            return SCORE_WIN;
        }
    }
    if (renjuBlack != 0 && OwnColour(board) != renjuBlack) {
        const Coord four = UnblockableFour(board);
        if (four < boardArea) {
            AddCandidate(board, four);
            return SCORE_WIN;
        }
    }
    if (k.own[FourThree] > 0 && OwnFourThreeWins(board, k)) return SCORE_WIN;
    if (mode == EvalAttacker) {
        CategoryMoves(board, AttackCategories, static_cast<int>(sizeof AttackCategories));
        return board.candidateCount == 0 ? SCORE_LOSS : SCORE_UNKNOWN;
    }

    board.counterFourCount = -1;
    UnblockableFourThreats fours;
    if (renjuBlack != 0 && OwnColour(board) == renjuBlack && k.oppFours > 0 &&
        k.opp[TwoStraightFour] + k.opp[StraightFourFour] == 0) {
        fours.count = UnblockableFours(board, fours.points, MaxUnblockableFours);
    }
    if (k.oppStraightFours > 0 || fours.count > 0) return AnswerStraightFour(board, k, fours);
    if (k.opp[FourThree] > 0) return AnswerFourThree(board, k);
    if (k.own[TwoThree] > 0) {
        bool allowed = false;
        for (std::uint32_t p = FirstOwnAllowed(board, TwoThree); !IsListEnd(p); p = NextOwnAllowed(board, p)) {
            AddCandidate(board, static_cast<Coord>(p));
            allowed = true;
        }
        if (allowed && k.oppFours == 0) return SCORE_WIN;
    }
    const bool oppDoubleThree = AnswerDoubleThree(board, k);
    CategoryMoves(board, QuietCategories, static_cast<int>(sizeof QuietCategories));
    if (board.evalFlags & OpponentDoubleThrees) {
        board.listFinal = 1;
        return SCORE_UNKNOWN;
    }
    AddBorderDoubleTwos(board);
    if (oppDoubleThree) {
        AddOwnStrongPoints(board);
    } else {
        FillOpponentThreats(board);
    }
    if (OpeningMove(board)) return SCORE_UNKNOWN;
    if (board.neighbourCandidates) FillNearStones(board, 4);
    board.listFinal = 0;
    return SCORE_UNKNOWN;
}

}  // namespace

std::int32_t EvaluateThreats(ListBoard& board, int mode) {
    const std::int32_t status = EvaluateUnrestricted(board, mode);
    return renjuBlack != 0 ? RestrictToAllowedPoints(board, mode, status) : status;
}

namespace {

// Caro: the empty point beyond the exactly-five that `colour` makes on w, when
// the other neighbour of that five is the opponent's stone and w wins in that
// line only; an opponent stone there ends the five on both sides. boardArea
// when there is none.
Coord FarEndBlock(const ListBoard& board, Coord w, int colour) {
    static constexpr int StepX[DirectionCount] = {1, 0, 1, -1};
    static constexpr int StepY[DirectionCount] = {0, 1, 1, 1};
    const auto width = static_cast<int>(boardWidth);
    const auto height = static_cast<int>(boardArea / boardWidth);
    const auto cellAt = [&](int x, int y) -> int {
        if (x < 0 || y < 0 || x >= width || y >= height) return OffBoard;
        return board.stone[static_cast<std::uint32_t>(y * width + x)];
    };
    Coord block = static_cast<Coord>(boardArea);
    int winningLines = 0;
    for (int d = 0; d < DirectionCount; ++d) {
        if (board.LineCategoryOf(colour, w, d) != Win) continue;
        ++winningLines;
        const int x = static_cast<int>(w % boardWidth);
        const int y = static_cast<int>(w / boardWidth);
        int ends[2][2];
        int length = 1;
        for (int side = 0; side < 2; ++side) {
            const int sx = side == 0 ? StepX[d] : -StepX[d];
            const int sy = side == 0 ? StepY[d] : -StepY[d];
            int k = 1;
            while (cellAt(x + k * sx, y + k * sy) == colour) ++k;
            length += k - 1;
            ends[side][0] = x + k * sx;
            ends[side][1] = y + k * sy;
        }
        if (length != HalfLength) continue;
        const int first = cellAt(ends[0][0], ends[0][1]);
        const int second = cellAt(ends[1][0], ends[1][1]);
        const int opponent = 3 - colour;
        const int open = first == opponent && second == EmptyCell ? 1 : second == opponent && first == EmptyCell ? 0 : -1;
        if (open >= 0) block = static_cast<Coord>(ends[open][1] * width + ends[open][0]);
    }
    return winningLines == 1 ? block : static_cast<Coord>(boardArea);
}

// Caro: the points that stop every five point of the opponent's, each five
// point itself or the point beyond its five; the side to move loses without one.
std::int32_t BlockCaroFives(ListBoard& board, int mode) {
    const int opp = OpponentColour(board);
    const Coord first = static_cast<Coord>(FirstInList(board, opp, Win));
    Coord defences[2] = {first, FarEndBlock(board, first, opp)};
    int count = IsListEnd(defences[1]) ? 1 : 2;
    for (std::uint32_t w = NextInList(board, opp, first); !IsListEnd(w) && count > 0; w = NextInList(board, opp, w)) {
        const Coord far = FarEndBlock(board, static_cast<Coord>(w), opp);
        int kept = 0;
        for (int i = 0; i < count; ++i)
            if (defences[i] == w || defences[i] == far) defences[kept++] = defences[i];
        count = kept;
    }
    if (count == 0) {
        AddCandidate(board, first);
        return SCORE_LOSS;
    }
    std::int32_t status = mode == EvalAttacker ? SCORE_LOSS : SCORE_UNKNOWN;
    for (int i = 0; i < count; ++i) {
        const ThreatCategory c = OwnCategory(board, defences[i]);
        if (c <= StraightFour) {
            ClearCandidates(board);
            AddCandidate(board, defences[i]);
            return SCORE_WIN;
        }
        if (c <= Four) status = SCORE_UNKNOWN;
        AddCandidate(board, defences[i]);
    }
    return status;
}

}  // namespace

std::int32_t BlockFive(ListBoard& board, int mode) {
    if ((gameRule & CaroRuleBit) != 0) return BlockCaroFives(board, mode);
    // Five points are never forbidden: the lists are read as they stand.
    const int opp = OpponentColour(board);
    const Coord h = static_cast<Coord>(FirstInList(board, opp, Win));
    AddCandidate(board, h);
    if (board.categoryCount[opp][Win] >= 2) return SCORE_LOSS;
    const ThreatCategory c = OwnCategory(board, h);
    if (c <= StraightFour) return SCORE_WIN;
    if (c <= Four) {
        const bool unblockable = renjuBlack != 0 && opp == renjuBlack && IsUnblockableFour(board, h, renjuBlack);
        return unblockable ? SCORE_WIN : SCORE_UNKNOWN;
    }
    if (mode == EvalAttacker) return SCORE_LOSS;
    const ThreatCounts k(board);
    if (k.ownStraightFours > 2 && k.opp[FourThree] + k.opp[FourDevelopFour] + k.opp[FourDevelopThree] == 0 &&
        k.oppStraightFours == 0 && k.opp[Four] <= 2) {
        return SCORE_WIN;
    }
    return SCORE_UNKNOWN;
}

std::int32_t CounterFours(ListBoard& board, bool onlyWeighted) {
    if (board.counterFourCount >= 0) return board.counterFourCount;
    // Every own point can be a four point at once, so the buffers hold a board.
    Coord* const points = board.ranking.points.get();
    std::int32_t* const weight = board.ranking.weights.get();
    const int own = OwnColour(board);
    const int opp = OpponentColour(board);
    std::uint32_t count = 0;
    std::uint32_t strong = 0;
    for (ThreatCategory c = FourThree; c <= Four; ++c) {
        for (std::uint32_t p = FirstInList(board, own, c); !IsListEnd(p); p = NextInList(board, own, p)) {
            const Coord point = static_cast<Coord>(p);
            if (c == Four && IsWeakPoint(board, point, own, 1) && IsWeakPoint(board, point, opp, 0)) continue;
            points[count] = point;
            weight[count] = c <= FourDevelopFour ? 2 : 0;
            ++count;
        }
        if (c == FourDevelopFour) strong = count;
    }
    // A weak four counts when it works together with a strong one, or with
    // other weak ones, along a common line.
    const auto withinFour = [](Coord a, Coord b) { return std::abs(LineDistance(a, b)) <= 4; };
    const auto lineCategoryTowards = [&](Coord from, Coord at) {
        return board.LineCategoryOf(own, at, LineDirection(from, at));
    };
    for (std::uint32_t b = strong; b < count; ++b) {
        for (std::uint32_t t = 0; t < strong; ++t) {
            if (!withinFour(points[b], points[t])) continue;
            const ThreatCategory c = lineCategoryTowards(points[b], points[t]);
            if (c >= TwoThree && c <= Two) {
                ++weight[b];
                ++weight[t];
                break;
            }
        }
        int blocked = 0;
        for (std::uint32_t u = b + 1; u < count; ++u) {
            if (!withinFour(points[b], points[u])) continue;
            const ThreatCategory c = lineCategoryTowards(points[b], points[u]);
            if (c >= TwoThree && c <= TwoDef) {
                ++weight[b];
                ++weight[u];
            } else if (c >= Other) {
                ++blocked;
            }
        }
        if (blocked > 1) weight[b] += 2;
    }
    std::int32_t handled = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        if (weight[i] >= 1) {
            AddCandidate(board, points[i]);
            ++handled;
        } else if (!onlyWeighted) {
            AddMarkedCandidate(board, points[i], MarkUnweightedCounterFour);
            ++handled;
        }
    }
    board.counterFourCount = static_cast<std::int32_t>(count);
    return handled;
}

bool PlyThreatFlagSet(const ListBoard& board, std::uint32_t ply) {
    return (board.candidateMark[ply] & PlyThreatFlag) != 0;
}

}  // namespace zomar
