#pragma once

#include <cstdint>

#include "analysis/Score.h"
#include "board/Coord.h"

namespace zomar {

struct SearchResult {
    std::int32_t value = 0;
    std::int32_t proofNumber = 1;     // 0 proven win, -1 proven loss, 1 open
    std::int32_t disproofNumber = 1;  // -1 proven win, 0 proven loss, 1 open
    Coord move = 0;
};

inline std::int32_t StatusOf(const SearchResult& result) {
    if (result.proofNumber == 0) return SCORE_WIN;
    if (result.disproofNumber == 0) return SCORE_LOSS;
    return SCORE_UNKNOWN;
}

}  // namespace zomar
