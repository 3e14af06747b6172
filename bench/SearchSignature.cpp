// The search signature: fixed-depth searches over the shipped positions, with
// the total of stones placed (a fingerprint of the search's behaviour that no
// optimisation may change) and the stones placed per second of CPU time.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/AnalysisSetup.h"
#include "analysis/PatternTables.h"
#include "board/Geometry.h"
#include "board/ListBoard.h"
#include "search/PositionFile.h"
#include "search/TranspositionTable.h"
#include "search/TreeSearch.h"

namespace zomar {
namespace {

// The same table for every search, so the total does not depend on the memory limit.
constexpr std::size_t SignatureTableEntries = 1 << 18;
// Each file gives an opening and a middle-game position.
constexpr std::uint32_t SignaturePrefixes[] = {10, 20};
constexpr std::int32_t NoClockMs = 1000000000;

std::vector<std::string> PositionFiles() {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(ZOMAR_TEST_DATA_DIR)) {
        if (entry.path().extension() == ".txt") files.push_back(entry.path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

// Stones placed by one fixed-depth search of the first `stones` moves of a file.
std::uint32_t SearchPosition(const std::vector<Coord>& moves, std::uint32_t stones, std::uint32_t depth) {
    ListBoard board(BoardKind::Search);
    for (std::uint32_t i = 0; i < std::min<std::size_t>(stones, moves.size()); ++i) board.MakeSearchMove(moves[i]);
    TranspositionTable table(SignatureTableEntries);
    SearchCounters counters;
    std::ostringstream diagnostics;
    SearchLimits limits;
    limits.maxDepth = depth;
    TreeSearch search(table, counters, diagnostics, limits);
    const std::uint32_t before = madeMoveCount;
    search.IterativeDeepening(board, NoClockMs, NoClockMs);
    return madeMoveCount - before;
}

void BM_SearchSignature(benchmark::State& state) {
    ReleaseAnalysisTables();
    SetBoardSize(20, 20);
    gameRule = 0;
    InitAnalysisTables();
    const auto depth = static_cast<std::uint32_t>(state.range(0));
    std::vector<std::vector<Coord>> positions;
    for (const std::string& file : PositionFiles()) positions.push_back(ReadPositionFile(file));

    std::uint64_t total = 0;
    for (auto _ : state) {
        total = 0;
        for (const auto& moves : positions) {
            for (std::uint32_t stones : SignaturePrefixes) total += SearchPosition(moves, stones, depth);
        }
    }
    state.counters["stones"] = static_cast<double>(total);
    state.counters["stones_per_s"] =
        benchmark::Counter(static_cast<double>(total), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_SearchSignature)->Arg(4)->Arg(6)->Arg(8)->Arg(10)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace zomar
