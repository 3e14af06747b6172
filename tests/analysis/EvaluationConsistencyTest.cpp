// Seeded random games: on every position the evaluation must leave the board as
// it found it, produce sound candidate lists, and every win it declares by a
// five or a straight four must hold when the move is played out. Fives are
// found here by counting stones along the lines, not through the tables.

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "analysis/Candidates.h"
#include "analysis/CategoryWalk.h"
#include "analysis/DefenceGenerator.h"
#include "analysis/MoveGeneration.h"
#include "analysis/Score.h"
#include "analysis/ThreatEvaluation.h"
#include "board/Geometry.h"
#include "support/PositionBuilder.h"

namespace zomar {
namespace {

using test::Diagram;
using test::EmptyBoard;

constexpr int stepX[DirectionCount] = {1, 0, 1, -1};
constexpr int stepY[DirectionCount] = {0, 1, 1, 1};

bool HoldsColour(const ListBoard& board, int x, int y, int colour) {
    return x >= 0 && y >= 0 && x < static_cast<int>(boardWidth) && y < static_cast<int>(boardHeight) &&
           board.stone[x + y * boardWidth] == colour;
}

// Colour's stones in a row through p along d, p counted as colour's.
int RunThrough(const ListBoard& board, Coord p, int colour, int d) {
    const int x = p % boardWidth;
    const int y = p / boardWidth;
    int run = 1;
    for (int k = 1; HoldsColour(board, x + k * stepX[d], y + k * stepY[d], colour); ++k) ++run;
    for (int k = 1; HoldsColour(board, x - k * stepX[d], y - k * stepY[d], colour); ++k) ++run;
    return run;
}

// Five or more in a row (rule 0).
bool MakesFive(const ListBoard& board, Coord p, int colour) {
    for (int d = 0; d < DirectionCount; ++d) {
        if (RunThrough(board, p, colour, d) >= 5) return true;
    }
    return false;
}

int FivePoints(const ListBoard& board, int colour) {
    int count = 0;
    for (Coord p = 0; p < boardArea; ++p) {
        if (board.stone[p] == EmptyCell && MakesFive(board, p, colour)) ++count;
    }
    return count;
}

// Everything of a board that the evaluation must not change.
struct BoardImage {
    std::vector<std::uint8_t> bytes;
    std::uint64_t hash = 0;
    std::uint8_t sideToMove = 0;
    std::uint32_t moveCount = 0;

    explicit BoardImage(const ListBoard& board)
        : hash(board.hashKey), sideToMove(board.sideToMove), moveCount(board.moveCount) {
        const std::size_t n = boardArea;
        Append(board.stone.get(), n);
        Append(board.sequence.get(), 4 * n);
        Append(board.packedCategories.get(), n);
        Append(board.categoryLinks.get(), n + CategoryCount);
        for (const int c : {1, 2}) Append(board.categoryCount[c], CategoryCount);
        if (board.Kind() == BoardKind::Search) {
            Append(board.borderState.get(), n);
            Append(board.borderList.get(), board.borderCount);
        }
    }

    template <typename T>
    void Append(const T* data, std::size_t count) {
        const auto* raw = reinterpret_cast<const std::uint8_t*>(data);
        bytes.insert(bytes.end(), raw, raw + count * sizeof(T));
    }

    bool operator==(const BoardImage&) const = default;
};

void ExpectSoundCandidates(const ListBoard& board, const char* what) {
    std::vector<bool> seen(boardArea, false);
    for (std::uint32_t i = 0; i < board.candidateCount; ++i) {
        const Coord p = board.candidateList[i];
        ASSERT_LT(p, boardArea) << what << " entry " << i << "\n" << Diagram(board);
        EXPECT_EQ(board.stone[p], EmptyCell) << what << " point " << p << "\n" << Diagram(board);
        EXPECT_FALSE(seen[p]) << what << " lists " << p << " twice\n" << Diagram(board);
        EXPECT_TRUE(IsListed(board, p)) << what;
        seen[p] = true;
    }
    std::uint32_t marked = 0;
    for (Coord p = 0; p < boardArea; ++p) marked += (board.candidateMark[p] & MarkListed) ? 1 : 0;
    EXPECT_EQ(marked, board.candidateCount) << what;
}

// A straight four stands when the mover then has two places to make five.
void ExpectStraightFourAfter(const ListBoard& board, Coord move) {
    auto copy = ListBoard::CopySearchBoard(board);
    const int mover = copy->ToMoveColour();
    copy->MakeMove(move);
    EXPECT_GE(FivePoints(*copy, mover), 2) << "declared straight four at " << move << "\n" << Diagram(board);
}

void CheckVerdict(ListBoard& board, int mode, std::int32_t result) {
    const int own = board.ToMoveColour();
    const int opp = 3 - own;
    const int ownFives = FivePoints(board, own);
    const int oppFives = FivePoints(board, opp);
    if (ownFives > 0) {
        ASSERT_EQ(result, SCORE_WIN) << "mode " << mode << "\n" << Diagram(board);
        EXPECT_TRUE(MakesFive(board, board.candidateList[0], own)) << Diagram(board);
        return;
    }
    if (oppFives >= 2) {
        EXPECT_EQ(result, SCORE_LOSS) << "mode " << mode << "\n" << Diagram(board);
        return;
    }
    if (mode == EvalDefender) {
        if (oppFives == 0) {
            EXPECT_EQ(result, SCORE_WIN) << Diagram(board);
        }
        return;
    }
    if (oppFives == 1) {
        ASSERT_GE(board.candidateCount, 1u);
        EXPECT_TRUE(MakesFive(board, board.candidateList[0], opp)) << "the block comes first\n" << Diagram(board);
        if (result == SCORE_WIN && board.PointCategoryOf(own, board.candidateList[0]) <= StraightFour) {
            ExpectStraightFourAfter(board, board.candidateList[0]);
        }
        return;
    }
    const std::int16_t* counts = board.categoryCount[own];
    const int ownStraightFours = counts[TwoStraightFour] + counts[StraightFourFour] + counts[StraightFour];
    if (result == SCORE_WIN && ownStraightFours > 0) ExpectStraightFourAfter(board, board.candidateList[0]);
}

// Every defence of a strong threat point is an empty point on the threat's lines.
void CheckDefences(ListBoard& board) {
    const int attacker = 3 - board.ToMoveColour();
    for (Coord x = 0; x < boardArea; ++x) {
        if (board.stone[x] != EmptyCell) continue;
        const ThreatCategory c = board.PointCategoryOf(attacker, x);
        if (c == Win || (c > FourThree && c != TwoThree)) continue;
        Coord output[MaxDefencePoints];
        const std::uint32_t before = board.candidateCount;
        const int n = GenerateDefences(board, x, output);
        ASSERT_LE(n, MaxDefencePoints);
        EXPECT_EQ(board.candidateCount, before);
        for (int i = 0; i < n; ++i) {
            ASSERT_LT(output[i], boardArea);
            EXPECT_EQ(board.stone[output[i]], EmptyCell) << "defence of " << x << "\n" << Diagram(board);
            EXPECT_LE(std::abs(LineDistance(output[i], x)), HalfLength) << "defence of " << x;
        }
    }
}

void CheckPosition(ListBoard& board, bool checkVerdicts) {
    const BoardImage before(board);
    for (const int mode : {EvalFull, EvalAttacker, EvalDefender}) {
        const std::int32_t result = EvaluateThreats(board, mode);
        ASSERT_TRUE(result == SCORE_WIN || result == SCORE_LOSS || result == SCORE_UNKNOWN);
        ASSERT_TRUE(BoardImage(board) == before) << "EvaluateThreats(" << mode << ") changed the board\n"
                                                  << Diagram(board);
        ExpectSoundCandidates(board, "EvaluateThreats");
        if (checkVerdicts) CheckVerdict(board, mode, result);
    }
    GenerateSearchMoves(board, EvalFull);
    ExpectSoundCandidates(board, "GenerateSearchMoves");
    StaticScore(board);
    ExpectSoundCandidates(board, "StaticScore");
    ASSERT_TRUE(BoardImage(board) == before) << Diagram(board);
    CheckDefences(board);
}

// A random point next to a stone, or anywhere now and then.
Coord RandomMove(const ListBoard& board, std::mt19937& rng) {
    std::uniform_int_distribution<std::uint32_t> anyPoint(0, boardArea - 1);
    for (int attempt = 0; attempt < 200; ++attempt) {
        Coord p = static_cast<Coord>(anyPoint(rng));
        if (board.moveCount > 0 && rng() % 8 != 0) {
            const Coord near = board.moveList[rng() % board.moveCount];
            const int x = near % boardWidth + static_cast<int>(rng() % 5) - 2;
            const int y = near / boardWidth + static_cast<int>(rng() % 5) - 2;
            if (x < 0 || y < 0 || x >= static_cast<int>(boardWidth) || y >= static_cast<int>(boardHeight)) continue;
            p = static_cast<Coord>(x + y * boardWidth);
        }
        if (board.stone[p] == EmptyCell) return p;
    }
    for (Coord p = 0; p < boardArea; ++p) {
        if (board.stone[p] == EmptyCell) return p;
    }
    return static_cast<Coord>(boardArea);
}

// A third of the moves follow the evaluation, so that threats and answers arise.
Coord NextMove(ListBoard& board, std::mt19937& rng) {
    if (rng() % 3 == 0) {
        GenerateSearchMoves(board, EvalFull);
        if (board.candidateCount > 0) return board.candidateList[rng() % std::min(board.candidateCount, 3u)];
    }
    return RandomMove(board, rng);
}

struct SweepSize {
    std::uint32_t width;
    std::uint32_t height;
    int rule;
};

class EvaluationConsistency : public ::testing::TestWithParam<SweepSize> {};

TEST_P(EvaluationConsistency, RandomGamesKeepTheBoardAndTheirWins) {
    const SweepSize size = GetParam();
    std::mt19937 rng(1234 + size.width * 131 + size.height * 7 + size.rule);
    const int games = 40;
    int positions = 0;
    for (int game = 0; game < games; ++game) {
        auto board = EmptyBoard(size.width, size.height, BoardKind::Game, size.rule);
        const std::uint32_t plies = std::min<std::uint32_t>(boardArea, 70);
        for (std::uint32_t ply = 0; ply < plies; ++ply) {
            CheckPosition(*board, size.rule == 0);
            if (ply % 5 == 4) {
                auto search = ListBoard::CopySearchBoard(*board);
                CheckPosition(*search, size.rule == 0);
            }
            ++positions;
            if (HasFailure()) return;
            const Coord move = NextMove(*board, rng);
            if (move >= boardArea) break;
            const bool five = MakesFive(*board, move, board->ToMoveColour());
            board->MakeMove(move);
            if (five) break;
        }
    }
    EXPECT_GT(positions, games * 10);
}

INSTANTIATE_TEST_SUITE_P(Sizes, EvaluationConsistency,
                         ::testing::Values(SweepSize{15, 15, 0}, SweepSize{20, 20, 0}, SweepSize{9, 9, 0},
                                           SweepSize{13, 8, 0}, SweepSize{6, 6, 0}, SweepSize{15, 15, 1}),
                         [](const ::testing::TestParamInfo<SweepSize>& info) {
                             return std::to_string(info.param.width) + "x" + std::to_string(info.param.height) +
                                    "rule" + std::to_string(info.param.rule);
                         });

}  // namespace
}  // namespace zomar
