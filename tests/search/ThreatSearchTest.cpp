#include <gtest/gtest.h>
#include <iostream>
#include <sstream>
#include "analysis/Score.h"
#include "analysis/ThreatEvaluation.h"
#include "analysis/MoveGeneration.h"
#include "board/Geometry.h"
#include "search/TreeSearch.h"
#include "support/PositionBuilder.h"

namespace zomar {
namespace {
using namespace test;

std::vector<std::string> Stamp(std::uint32_t w, std::uint32_t h, const std::vector<std::string>& pattern,
                               const std::vector<std::pair<int,int>>& at) {
    std::vector<std::string> rows(h, std::string(w, '.'));
    for (auto [ox, oy] : at) {
        for (std::size_t y = 0; y < pattern.size(); ++y) {
            std::string r; for (char c : pattern[y]) if (c != ' ') r += c;
            for (std::size_t x = 0; x < r.size(); ++x) if (r[x] != '.') rows[oy + y][ox + x] = r[x];
        }
    }
    return rows;
}

void Dump(ListBoard& b) {
    int own = b.ToMoveColour();
    std::cout << Diagram(b);
    for (int c = 0; c < 12; ++c) {
        if (b.categoryCount[own][c]) {
            std::cout << "own cat " << c << ":";
            for (std::uint32_t p = b.categoryPrev[own][boardArea + c]; p < boardArea; p = b.categoryPrev[own][p])
                std::cout << " (" << p % boardWidth << "," << p / boardWidth << ")";
            std::cout << "\n";
        }
        if (b.categoryCount[3-own][c]) std::cout << "opp cat " << c << ": " << b.categoryCount[3-own][c] << "\n";
    }
}

TEST(Explore, Formation) {
    const std::vector<std::string> f = {
        ". . . . . .",
        ". . . . . .",
        "o x x x . .",
        ". . . . x .",
        ". . . . x .",
        ". . . . o .",
    };
    for (int k : {1, 6}) {
        std::vector<std::pair<int,int>> at = {{0,0},{7,0},{14,0},{0,8},{7,8},{14,8}};
        at.resize(k);
        auto rows = Stamp(20, 20, f, at);
        auto b = BuildPosition(rows, OnBoard(20, 20, 1, BoardKind::Search));
        Dump(*b);
        TranspositionTable table(1024);
        SearchCounters counters;
        std::ostringstream out;
        TreeSearch search(table, counters, out);
        Coord move = boardArea;
        std::uint32_t before = madeMoveCount;
        counters.maxPlyReached = 0;
        int v = search.ThreatSearch(*b, 0, -9, move, SCORE_WIN, nullptr);
        std::cout << "k=" << k << " v=" << v << " move=" << move % boardWidth << "," << move / boardWidth
                  << " stones=" << madeMoveCount - before << " ply=" << counters.maxPlyReached - b->moveCount << "\n";
    }
}

}  // namespace
}  // namespace zomar
