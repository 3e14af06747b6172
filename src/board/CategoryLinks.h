#pragma once

#include <cstdint>

namespace zomar {

// The category lists link the board's points through next and prev, each list
// a ring through its own head node (the nodes after the points). A point joins
// a list right after its head.
inline void InsertAfter(std::uint16_t* next, std::uint16_t* prev, std::uint32_t head, std::uint32_t h) {
    const std::uint16_t n = next[head];
    prev[h] = static_cast<std::uint16_t>(head);
    next[h] = n;
    prev[n] = static_cast<std::uint16_t>(h);
    next[head] = static_cast<std::uint16_t>(h);
}

}  // namespace zomar
