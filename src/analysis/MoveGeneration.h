#pragma once

#include <cstdint>

#include "analysis/ThreatCategory.h"
#include "board/ListBoard.h"

namespace zomar {

// Weights of the static score per category, for the side to move and for the
// opponent. Other and Impossible take no part in the score.
extern const std::int32_t ownWeight[CategoryCount];
extern const std::int32_t opponentWeight[CategoryCount];

// The evaluation's verdict and candidates, topped up in a quiet position.
std::int32_t GenerateSearchMoves(ListBoard& board, int mode);
// Adds up to three border points where the opponent threatens most, away from
// the candidates; only while the list is short.
void ExtendMoves(ListBoard& board);
// Weighted category counts of both sides, for the side to move.
std::int32_t Score(const ListBoard& board);
// SCORE_WIN, SCORE_LOSS or a heuristic value for the side to move.
std::int32_t StaticScore(ListBoard& board);

}  // namespace zomar
