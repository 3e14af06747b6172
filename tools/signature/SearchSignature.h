#pragma once

// The search signature's run, shared by its test and its benchmark so both
// count the same searches: fixed-depth searches over the shipped positions,
// each an opening and a middle-game prefix of a game file, on a table of a
// fixed size so the count does not depend on the memory limit.

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "board/Geometry.h"
#include "board/ListBoard.h"
#include "search/TranspositionTable.h"
#include "search/TreeSearch.h"

namespace zomar::test {

constexpr std::size_t SignatureTableEntries = 1 << 18;
constexpr std::uint32_t SignaturePrefixes[] = {10, 20};
constexpr std::int32_t SignatureNoClockMs = 1000000000;

// The position files (*.txt) in a folder, sorted by name.
inline std::vector<std::string> SignatureFiles(const std::string& folder) {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() == ".txt") files.push_back(entry.path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

// Plays the first `stones` moves of a game, or all of them when it is shorter.
inline void ReplayPrefix(ListBoard& board, const std::vector<Coord>& moves, std::uint32_t stones) {
    for (std::uint32_t i = 0; i < std::min<std::size_t>(stones, moves.size()); ++i) {
        board.MakeSearchMove(moves[i]);
    }
}

struct SignatureOutcome {
    std::uint32_t stones = 0;  // stones placed by the search
    SearchResult result{};
};

// One search to a fixed depth, on a fresh table, without a clock.
inline SignatureOutcome SignatureSearch(ListBoard& board, std::uint32_t depth) {
    TranspositionTable table(SignatureTableEntries);
    SearchCounters counters;
    std::ostringstream diagnostics;
    SearchLimits limits;
    limits.maxDepth = depth;
    TreeSearch search(table, counters, LinesTo(diagnostics), limits);
    const std::uint32_t before = madeMoveCount;
    const SearchResult result = search.IterativeDeepening(board, SignatureNoClockMs, SignatureNoClockMs);
    return {madeMoveCount - before, result};
}

}  // namespace zomar::test
