#pragma once

#include <cstdint>

#include "board/ListBoard.h"

namespace zomar {

// Modes of EvaluateThreats.
constexpr int EvalFull = 0;
constexpr int EvalAttacker = 1;
constexpr int EvalDefender = -1;

// SCORE_WIN, SCORE_LOSS or SCORE_UNKNOWN for the side to move; fills the
// candidate list with the moves that matter.
std::int32_t EvaluateThreats(ListBoard& board, int mode);

}  // namespace zomar
