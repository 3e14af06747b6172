// Stones placed per second of wall time by the whole process, with one search
// thread and with helpers beside it, on a middle-game position.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "analysis/ProcessTables.h"
#include "board/GameRecord.h"
#include "board/ListBoard.h"
#include "search/HelperThreads.h"
#include "search/PositionFile.h"
#include "search/TreeSearch.h"
#include "signature/SearchSignature.h"

namespace zomar {
namespace {

constexpr std::int32_t SearchMs = 1000;
constexpr std::uint32_t PositionStones = 12;
constexpr std::size_t TableEntries = std::size_t{1} << 20;

void BM_ThreadedSearch(benchmark::State& state) {
    BuildProcessTables(20, 20, 0);
    const auto threads = static_cast<std::uint32_t>(state.range(0));
    const std::vector<Coord> moves = ReadPositionFile(test::SignatureFiles(ZOMAR_TEST_DATA_DIR).front());
    ListBoard position(BoardKind::Search);
    test::ReplayPrefix(position, moves, PositionStones);

    std::uint64_t stones = 0;
    for (auto _ : state) {
        state.PauseTiming();
        TranspositionTable table(TableEntries);
        const std::unique_ptr<ListBoard> board = ListBoard::CopySearchBoard(position);
        state.ResumeTiming();
        const std::uint32_t before = madeMoveCount;
        std::optional<HelperThreads> helpers;
        if (threads > 1) helpers.emplace(threads - 1, HelperSearch(position, table, SearchLimits{}, SearchMs));
        SearchCounters counters;
        TreeSearch(table, counters, {}).IterativeDeepening(*board, SearchMs, SearchMs);
        stones += madeMoveCount - before + (helpers ? helpers->Stop() : 0);
    }
    state.counters["stones_per_s"] = benchmark::Counter(static_cast<double>(stones), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ThreadedSearch)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace
}  // namespace zomar
