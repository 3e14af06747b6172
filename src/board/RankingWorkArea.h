#pragma once

#include <cstdint>
#include <memory>

#include "board/Coord.h"

namespace zomar {

// Where the move generators rank points before the chosen ones join the
// candidate list. Each board owns one, sized to its area, so that boards can
// be evaluated side by side; the generators allocate nothing themselves.
struct RankingWorkArea {
    explicit RankingWorkArea(std::uint32_t area)
        : packed(new std::uint64_t[area]), points(new Coord[area]), weights(new std::int32_t[area]) {}

    // Key, gathering order and point, packed for one descending sort.
    std::unique_ptr<std::uint64_t[]> packed;
    // Four points and how much each works together with the others.
    std::unique_ptr<Coord[]> points;
    std::unique_ptr<std::int32_t[]> weights;
};

}  // namespace zomar
