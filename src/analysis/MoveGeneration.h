#pragma once

#include <cstdint>

#include "board/ListBoard.h"

namespace zomar {

std::int32_t GenerateSearchMoves(ListBoard& board, int mode);
void ExtendMoves(ListBoard& board);
std::int32_t Score(const ListBoard& board);
std::int32_t StaticScore(ListBoard& board);

}  // namespace zomar
