#pragma once

#include <cstddef>
#include <cstdint>

#include "board/Coord.h"

namespace zomar {

// What a completed iteration found at the root.
struct IterationReport {
    std::uint32_t depth = 0;
    // Plies below the root the deepest line reached.
    std::uint32_t selectiveDepth = 0;
    // Stones this search placed so far.
    std::uint32_t nodes = 0;
    std::int32_t value = 0;
    // The principal line from the root, its first move the iteration's.
    const Coord* line = nullptr;
    std::size_t lineLength = 0;
};

// Receives a search's progress at the root, for an observer that shows it
// while the search runs. The search calls it only when one is given.
class SearchReporter {
public:
    virtual ~SearchReporter() = default;
    virtual void IterationStarted(std::uint32_t depth) = 0;
    virtual void RootMoveStarted(Coord move) = 0;
    // lost: the move is proven to lose.
    virtual void RootMoveFinished(Coord move, bool lost) = 0;
    virtual void BestMoveChanged(Coord move) = 0;
    virtual void IterationFinished(const IterationReport& report) = 0;
};

}  // namespace zomar
