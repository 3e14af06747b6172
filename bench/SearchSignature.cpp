// The search signature: fixed-depth searches over the shipped positions, with
// the total of stones placed (a fingerprint of the search's behaviour that no
// optimisation may change) and the stones placed per second of CPU time.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "signature/SearchSignature.h"
#include "analysis/AnalysisSetup.h"
#include "analysis/PatternTables.h"
#include "board/Geometry.h"
#include "board/ListBoard.h"
#include "search/PositionFile.h"

namespace zomar {
namespace {

// Stones placed by one fixed-depth search of the first `stones` moves of a game.
std::uint32_t SearchPosition(const std::vector<Coord>& moves, std::uint32_t stones, std::uint32_t depth) {
    ListBoard board(BoardKind::Search);
    test::ReplayPrefix(board, moves, stones);
    return test::SignatureSearch(board, depth).stones;
}

void BM_SearchSignature(benchmark::State& state) {
    ReleaseAnalysisTables();
    SetBoardSize(20, 20);
    gameRule = 0;
    InitAnalysisTables();
    const auto depth = static_cast<std::uint32_t>(state.range(0));
    std::vector<std::vector<Coord>> positions;
    for (const std::string& file : test::SignatureFiles(ZOMAR_TEST_DATA_DIR)) {
        positions.push_back(ReadPositionFile(file));
    }

    std::uint64_t total = 0;
    for (auto _ : state) {
        total = 0;
        for (const auto& moves : positions) {
            for (std::uint32_t stones : test::SignaturePrefixes) total += SearchPosition(moves, stones, depth);
        }
    }
    state.counters["stones"] = static_cast<double>(total);
    state.counters["stones_per_s"] =
        benchmark::Counter(static_cast<double>(total), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_SearchSignature)->Arg(4)->Arg(6)->Arg(8)->Arg(10)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace zomar
