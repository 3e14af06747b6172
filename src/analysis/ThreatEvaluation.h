#pragma once

#include <cstdint>

#include "board/ListBoard.h"

namespace zomar {

// Modes of EvaluateThreats.
constexpr int EvalFull = 0;
constexpr int EvalAttacker = 1;
constexpr int EvalDefender = -1;

// evalFlags bits.
constexpr std::uint32_t NoAnswerToStraightFour = 1;
constexpr std::uint32_t OpponentDoubleThrees = 2;

// SCORE_WIN, SCORE_LOSS or SCORE_UNKNOWN for the side to move; fills the
// candidate list with the moves that matter. Modes other than 0, 1 and -1 raise.
std::int32_t EvaluateThreats(ListBoard& board, int mode);

// The answer to the opponent's five point(s): the block, and what it gives.
std::int32_t BlockFive(ListBoard& board, int mode);
// Adds the side to move's four-making points that can answer a threat; returns
// the number handled (cached in counterFourCount for the rest of the evaluation).
std::int32_t CounterFours(ListBoard& board, bool onlyWeighted);

// The per-ply threat flag: set while the side to move at this ply has no answer
// to the opponent's straight four. It lives in the mark byte whose index is the
// ply's stone count.
bool PlyThreatFlagSet(const ListBoard& board, std::uint32_t ply);

}  // namespace zomar
