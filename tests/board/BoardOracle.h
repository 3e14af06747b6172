#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "board/Coord.h"
#include "board/ListBoard.h"

namespace zomar::oracle {

// One stone of a position, in play order.
struct Stone {
    Coord point;
    StoneCode colour;
};

// What a board must hold for a position, recomputed from the stones alone with
// plain coordinate arithmetic: the line words and categories of every empty
// point, the category lists as sets, the hash, and the border with its owners
// as a replay of the stones in play order (placements only).
struct ExpectedBoard {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t area = 0;
    std::vector<StoneCode> stone;
    std::vector<std::uint32_t> sequence;           // 4 per point; empty points only
    std::vector<std::uint32_t> packed[3];          // per colour; empty points only
    std::vector<std::vector<Coord>> members[3];    // per colour and category, ascending
    std::uint64_t hashKey = 0;
    std::vector<std::int32_t> borderState;
    std::vector<std::uint16_t> coverOwner;
    std::vector<std::uint16_t> borderOwner;
    // Raw line categories that the distance-six correction lowered.
    int corrections = 0;
};

ExpectedBoard Recompute(const std::vector<Stone>& stones);

// The line word of the point (x, y) along d on the given stones.
std::uint32_t SequenceAt(const std::vector<StoneCode>& stone, int x, int y, int d);

// The board against the expectation: record, hash, every empty point's words
// and categories, the lists (as sets, links checked both ways) and counts, and
// on a search board the border arrays and list.
::testing::AssertionResult Matches(const ListBoard& board, const ExpectedBoard& expected);
// The same without the border arrays, for a search board moved by MakeMove alone.
::testing::AssertionResult MatchesCore(const ListBoard& board, const ExpectedBoard& expected);
// The replayed border against its definition from the stones alone: expanded
// are the stones and the gaps between two stones at most three steps apart on
// a row or column; the border is every other empty point next to those.
::testing::AssertionResult BorderFollowsStones(const ExpectedBoard& expected);

// The frozen analysis of an occupied point: the values it had when its stone
// was placed.
struct FrozenPoint {
    std::uint32_t sequence[DirectionCount];
    std::uint32_t packed[3];
};
FrozenPoint FrozenAt(const ExpectedBoard& before, Coord p);
::testing::AssertionResult KeepsFrozen(const ListBoard& board, Coord p, const FrozenPoint& frozen);

// Everything a board holds, with the category lists and the border list as
// sets: what placing and lifting a stone must restore exactly.
struct Snapshot {
    std::vector<StoneCode> stone;
    std::uint8_t sideToMove = 0;
    std::vector<Coord> moves;
    std::uint64_t hashKey = 0;
    std::vector<std::uint32_t> sequence;
    std::vector<std::uint32_t> packed[3];
    std::vector<std::int16_t> counts[3];
    std::vector<std::vector<Coord>> members[3];
    std::vector<std::int32_t> borderState;
    std::vector<std::uint16_t> coverOwner;
    std::vector<std::uint16_t> borderOwner;
    std::vector<Coord> border;
    bool operator==(const Snapshot&) const = default;
};
Snapshot TakeSnapshot(const ListBoard& board);

// The points of one category list, walking next from the head.
std::vector<Coord> ListInOrder(const ListBoard& board, int colour, ThreatCategory category);

}  // namespace zomar::oracle
