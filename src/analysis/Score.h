#pragma once

#include <cstdint>

namespace zomar {

// Values from the point of view of the side to move.
constexpr std::int32_t SCORE_WIN = 0x7FFFFFFF;
constexpr std::int32_t SCORE_LOSS = -0x7FFFFFFF;                 // 0x80000001
constexpr std::int32_t SCORE_UNKNOWN = static_cast<std::int32_t>(0x80000000u);  // a status, never a value

// A won or lost position: the value holds whatever the depth.
constexpr bool IsProven(std::int32_t value) { return value == SCORE_WIN || value == SCORE_LOSS; }

}  // namespace zomar
