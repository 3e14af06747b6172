#pragma once

#include <cstdint>

#include "board/BoardAnalysis.h"

namespace zomar {

// One colour's category lists: they link the board's points through next and
// prev, each list a ring through its own head node (the nodes after the
// points). A point joins a list right after its head.
class ColourLinks {
public:
    ColourLinks(BoardAnalysis& board, int colour) : nodes(board.categoryLinks.get()), side(colour - 1) {}

    void InsertAfter(std::uint32_t head, std::uint32_t h) const {
        const std::uint16_t n = Next(head);
        Prev(h) = static_cast<std::uint16_t>(head);
        Next(h) = n;
        Prev(n) = static_cast<std::uint16_t>(h);
        Next(head) = static_cast<std::uint16_t>(h);
    }
    void Unlink(std::uint32_t h) const {
        Next(Prev(h)) = Next(h);
        Prev(Next(h)) = Prev(h);
    }
    // A ring of the head alone.
    void Clear(std::uint32_t head) const { Next(head) = Prev(head) = static_cast<std::uint16_t>(head); }

private:
    std::uint16_t& Next(std::uint32_t node) const { return nodes[node].colour[side].next; }
    std::uint16_t& Prev(std::uint32_t node) const { return nodes[node].colour[side].prev; }

    BoardAnalysis::LinkNode* nodes;
    int side;
};

}  // namespace zomar
